# Derives the demo's net variant from the demo's own project: DistributeType
# dtWeb, every file but those marked Net = False fetched from pub\setup on an
# HTTP server at 127.0.0.1 (tests/e2e/net.sh serves it).
#   cmake -DINPUT=<examples/demo/project.txt> -DOUTPUT=<project.txt> -P NetProject.cmake
file(READ "${INPUT}" text)
set(driver "  object Install1: TInstall\n")
string(FIND "${text}" "${driver}" at)
if(at LESS 0)
  message(FATAL_ERROR "${INPUT} has no install driver \"object Install1: TInstall\"")
endif()
set(location
    "  object WebLocation: TNetInstallLocation\n"
    "    LoginInformation.Directory = 'pub\\setup'\n"
    "    LoginInformation.Hostname = '127.0.0.1'\n"
    "    LoginInformation.Protocol = ipHTTP\n"
    "  end\n")
string(CONCAT location ${location})
string(REPLACE "${driver}" "${location}${driver}    DistributeType = dtWeb\n    NetLocation = WebLocation\n" text
               "${text}")
file(WRITE "${OUTPUT}.new" "${text}")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")

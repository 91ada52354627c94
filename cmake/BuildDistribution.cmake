# Runs the Linux build command for sw_add_distribution: BUILD.INF beside the
# setup program for the time of the build, as "setup.exe -b" expects it.
#   cmake -DBUILDSETUP=<tool> -DPROGRAM=<setup.exe> -DTOOL_DIR=<folder> -DBUILD_INF_LINE=<line>
#         -DWORKING_DIRECTORY=<folder> -P BuildDistribution.cmake
get_filename_component(folder "${PROGRAM}" DIRECTORY)
set(build_inf "${folder}/BUILD.INF")
if(EXISTS "${build_inf}")
  message(FATAL_ERROR "${build_inf} exists already; the build would replace it")
endif()
file(WRITE "${build_inf}" "${BUILD_INF_LINE}\r\n")
execute_process(COMMAND "${BUILDSETUP}" --tool-dir "${TOOL_DIR}" "${PROGRAM}" WORKING_DIRECTORY "${WORKING_DIRECTORY}"
                RESULT_VARIABLE rc)
file(REMOVE "${build_inf}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "The distribution of ${PROGRAM} was not built")
endif()

#!/usr/bin/env bash
# The uninstaller under Wine with the real registry and files: a product put
# on the machine by hand as an install leaves it (files, a shortcut, a shared
# library, a COM library server and a COM program server registered by
# themselves, registry values, the uninstall key with its lists), then
# uninstall.exe started silently as "UninstallString" says. The prefix's files
# and registry must be as before, except what the user added.
#
#   tests/wine/uninstall.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=${1:?build directory}
here=$(cd "$(dirname "$0")/../.." && pwd)
uninstaller="$build/src/app/uninstall.exe"
servers="$build/tests"
source "$here/scripts/wine-env.sh" && sw_wine_init || exit 1
for f in "$uninstaller" "$servers/sw_com_dll.dll" "$servers/sw_com_exe.exe"; do
    [ -f "$f" ] || { echo "no $f"; echo "0 passed, 1 failed"; exit 1; }
done

source "$here/tests/wine/checks.sh"
w() { sw_wine_run 300 wine "$@"; }

c="$WINEPREFIX/drive_c"
product_dir="$c/Program Files/My Product"
programs="$c/windows/Start Menu/Programs"
[ -d "$c/users" ] && programs=$(find "$c" -type d -path '*Start Menu/Programs' | head -n 1)
programs_win="C:${programs#"$c"}"
programs_win=${programs_win//\//\\}

# The prefix's files (path and size) and the exported registry, ordered and
# without Wine's own changing values.
snapshot() {
    # Folders without their size, which grows and never shrinks.
    (cd "$c" && find . -path ./windows/temp -prune -o -path './users/*/Temp' -prune -o \
        \( -type f -printf 'f %s %p\n' \) -o -printf '%y %p\n' |
        grep -v -E 'windows/(inf|logs)|\.log$' | sort)
    for hive in 'HKLM\Software' 'HKCU\Software'; do
        w reg export "$hive" 'C:\snapshot.reg' /y >/dev/null 2>&1
        # Each line with its key; Wine's own keys and the system's lists,
        # which stay empty or not, are left out.
        iconv -f UTF-16LE -t UTF-8 "$c/snapshot.reg" 2>/dev/null | tr -d '\r' |
            awk '/^\[/ { key = $0 } NF { print key " " $0 }' |
            grep -v -E '^\[[^]]*\\(Wine|MountPoints2|RecentDocs|Shell Folders|Fonts|MuiCache)' |
            grep -v -E '\\(SharedDLLs|CurrentVersion\\Uninstall)\] \[' | sort
        rm -f "$c/snapshot.reg"
    done
}

# reg_file NAME: a registry file of the product, REGEDIT4 text, from stdin.
reg_import() {
    local file="$c/import.reg"
    { echo "REGEDIT4"; echo; cat; } | sed 's/$/\r/' >"$file"
    w regedit /S 'C:\import.reg' >/dev/null 2>&1
    rm -f "$file"
}

# install_product NAME FOLDER SHARED_COUNT: puts a product on the machine the
# way the install does and lists it under its uninstall key.
install_product() {
    local name=$1 dir=$2 count=$3
    local win="C:\\Program Files\\$dir" unix="$c/Program Files/$dir"
    mkdir -p "$unix/Data" "$programs/$name"
    cp "$uninstaller" "$unix/uninstall.exe"
    echo "application" >"$unix/App.exe"
    echo "data" >"$unix/Data/data.dat"
    echo "[InternetShortcut]" >"$programs/$name/App.url"
    echo "shared" >"$c/windows/system32/swshared.dll"
    cp "$servers/sw_com_dll.dll" "$unix/comdll.dll"
    cp "$servers/sw_com_exe.exe" "$unix/comexe.exe"
    w regsvr32 /s "$win\\comdll.dll" >/dev/null 2>&1
    w "$win\\comexe.exe" /REGSERVER >/dev/null 2>&1
    local key="HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name"
    local esc_win=${win//\\/\\\\} esc_programs=${programs_win//\\/\\\\}
    reg_import <<EOF
[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs]
"C:\\\\windows\\\\system32\\\\swshared.dll"=dword:$(printf '%08x' "$count")

[HKEY_CURRENT_USER\\Software\\Setwright Test\\$name]
"Path"="$esc_win"
"Runs"=dword:00000003

[$key]
"DisplayName"="$name"
"UninstallString"="\\"$esc_win\\\\uninstall.exe\\" $name"

[$key\\Files]
"Entries"="3"
"File1"="$esc_win\\\\App.exe"
"File2"="$esc_win\\\\Data\\\\data.dat"
"File3"="$esc_programs\\\\$name\\\\App.url"

[$key\\Files1]
"Entries"="1"
"File1"="C:\\\\windows\\\\system32\\\\swshared.dll"

[$key\\ActiveX]
"Entries"="2"
"File1"="$esc_win\\\\comdll.dll;0"
"File2"="$esc_win\\\\comexe.exe;1"

[$key\\RegistryKeys]
"Entries"="1"

[$key\\RegistryKeys\\RegistryKey1]
"Key"="\\\\Software\\\\Setwright Test\\\\$name"
"Root"=dword:00000002

[$key\\RegistryKeys\\RegistryKey1\\Entries]
"Path"="$esc_win"
"Runs"="3"
EOF
}

# uninstall NAME: runs the uninstaller as "UninstallString" starts it, silent,
# and waits for its hidden helper to remove the program.
uninstall() {
    local name=$1
    local program="C:\\Program Files\\$name\\uninstall.exe"
    # The product name is the rest of the command line, blanks and all.
    # shellcheck disable=SC2086
    w "$program" /S $name
    local rc=$?
    local unix="$c/Program Files/$name/uninstall.exe" i
    for i in $(seq 1 120); do
        [ -e "$unix" ] || break
        sleep 1
    done
    timeout -k 5 120 wineserver -w
    return $rc
}

# The class keys of the library server (1) and the program server (2).
registered() {
    local class=('' '{5E7A1C2B-3F4D-4E5F-8A9B-0C1D2E3F4A5B}' '{6F8B2D3C-4A5E-4F60-9BAC-1D2E3F4A5B6C}')
    w reg query "HKCR\\CLSID\\${class[$1]}" >/dev/null 2>&1
}

before=$(snapshot)
install_product "My Product" "My Product" 1
check "the servers registered themselves" eval 'registered 1 && registered 2'
key_there() { w reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" >/dev/null 2>&1; }
check "the uninstall key is there" key_there "My Product"
check "the uninstaller ends with exit code 0" uninstall "My Product"
after=$(snapshot)
check "the prefix is as before the install" [ "$before" = "$after" ]
[ "$before" = "$after" ] || diff <(echo "$before") <(echo "$after") | head -n 40
check "the COM library server was unregistered" eval '! registered 1'
check "the COM program server was unregistered" eval '! registered 2'

# Two products share the library; a file the user added stays with its folder.
install_product "Product A" "Product A" 1
install_product "Product B" "Product B" 2
echo "mine" >"$c/Program Files/Product A/notes.txt"
check "the first uninstall ends with exit code 0" uninstall "Product A"
check "the shared library survives the first uninstall" [ -f "$c/windows/system32/swshared.dll" ]
check "the user's file and its folder stay" [ -f "$c/Program Files/Product A/notes.txt" ]
check "the uninstaller itself went" [ ! -e "$c/Program Files/Product A/uninstall.exe" ]
check "the listed files went" [ ! -e "$c/Program Files/Product A/App.exe" ]
check "the second uninstall ends with exit code 0" uninstall "Product B"
check "the shared library goes with the second" [ ! -e "$c/windows/system32/swshared.dll" ]
check "the second product's folder went" [ ! -e "$c/Program Files/Product B" ]

# A key whose lists are malformed or name files outside the product's folder.
mkdir -p "$c/Program Files/Bad Product"
cp "$uninstaller" "$c/Program Files/Bad Product/uninstall.exe"
echo "system" >"$c/windows/swsystem.ini"
reg_import <<'EOF'
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Bad Product]
"UninstallString"="\"C:\\Program Files\\Bad Product\\uninstall.exe\" Bad Product"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Bad Product\Files]
"Entries"="many"
"File1"="C:\\windows\\swsystem.ini"
"File2"="C:\\Program Files\\Bad Product\\..\\..\\windows\\swsystem.ini"
"File3"="..\\swsystem.ini"
EOF
uninstall "Bad Product"
check "a bad key gives exit code 1" [ $? -eq 1 ]
check "nothing outside the product's folder went" [ -f "$c/windows/swsystem.ini" ]
rm -f "$c/windows/swsystem.ini"

checks_summary

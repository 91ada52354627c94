#!/usr/bin/env bash
# Follows docs/first-setup.md to the letter, as a newcomer would, from a fresh temporary folder:
#   ```<lang> file=NAME``` blocks are written to NAME (from the folder the commands are in),
#   ```sh run``` blocks are run and must succeed,
#   ```sh install``` runs while the wizard is walked with keyboard and mouse, and must end well,
#   ```sh check``` must print what the ```text output``` block after it shows,
#   ```sh mistake``` must fail and print each line of the ```text message``` block after it.
# Other blocks (the one-time build of Setwright) are not run: the build folder given stands for it.
#
#   source scripts/wine-env.sh && sw_wine_init
#   tests/e2e/first-setup.sh build/win32
#
# Screenshots of the wizard's pages go to <win32 build dir>/first-setup/. Ends with "N passed, N failed".
set -uo pipefail

[ $# -eq 1 ] || { echo "usage: $0 <win32 build dir>" >&2; exit 2; }
build_dir=$(cd "$1" && pwd) || exit 2
root=$(cd "$(dirname "$0")/../.." && pwd)
doc="$root/docs/first-setup.md"
source "$root/scripts/wine-env.sh"
sw_wine_init || { echo "Wine did not start"; echo "0 passed, 1 failed"; exit 1; }
source "$root/scripts/wizard-walk.sh"

source "$root/tests/wine/checks.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/first-setup.XXXXXX")
trap 'rm -rf "$work"; sw_wine_cleanup' EXIT
blocks="$work/blocks"
shots="$build_dir/first-setup"
rm -rf "$shots"
mkdir -p "$blocks" "$shots" "$work/start"
export SETWRIGHT="$root" SETWRIGHT_BUILD="$build_dir"

# The fenced blocks of the document, in order: blocks/N holds the text, blocks/index the line "N TAG".
awk -v dir="$blocks" '
    !inside && /^```/ { inside = 1; n++; tag = substr($0, 4); file = dir "/" n; printf "" >file
                        print n, tag >(dir "/index"); next }
    inside && /^```$/ { inside = 0; close(file); next }
    inside { print >file }
' "$doc"
[ -s "$blocks/index" ] || { fail "no blocks in $doc"; checks_end; }

cwd="$work/start"
# run_block N: runs the commands of block N from the current folder, which it may change; its output is
# kept as blocks/N.out.
run_block() {
    (cd "$cwd" && set -e && source "$blocks/$1" && pwd >"$blocks/cwd") </dev/null >"$blocks/$1.out" 2>&1
    local rc=$?
    [ -s "$blocks/cwd" ] && cwd=$(cat "$blocks/cwd")
    rm -f "$blocks/cwd"
    return $rc
}
# lines FILE: its lines without carriage returns and without blank lines.
lines() {
    tr -d '\r' <"$1" | sed '/^[[:space:]]*$/d'
}
# first_line N: the block's first line, to name it in the report.
first_line() {
    head -n 1 "$blocks/$1"
}

# The wizard as the document describes it, with French chosen: a click on the second flag of the language
# grid (its cells are 140 x 48, from 160,8 of the page). Titles with accented letters are matched by ".*".
walk_wizard() {
    local id
    id=$(sw_page_wait 'Select a language' 300) || return 1
    sw_page_click "$id" 372 34
    sw_page_shot "$id" "$shots/0-language.png"
    sw_page_click "$id" $SW_NEXT_BTN
    id=$(sw_page_wait 'Bienvenue' 60) || return 1
    sw_page_shot "$id" "$shots/1-welcome.png"
    sw_page_keys "$id" Return
    id=$(sw_page_wait 'Contrat de licence du logiciel' 60) || return 1
    sw_page_shot "$id" "$shots/2-licence.png"
    sw_page_click "$id" $SW_NEXT_BTN
    id=$(sw_page_wait 'Informations importantes' 60) || return 1
    sw_page_shot "$id" "$shots/3-readme.png"
    sw_page_keys "$id" Return
    id=$(sw_page_wait 'Choix des composants .* installer' 60) || return 1
    sw_page_shot "$id" "$shots/4-groups.png"
    sw_page_click "$id" $SW_NEXT_BTN
    id=$(sw_page_wait 'Choix du dossier du menu D.*marrer' 60) || return 1
    sw_page_shot "$id" "$shots/5-folder.png"
    sw_page_keys "$id" Return
    id=$(sw_page_wait 'Installation termin.*e' 300) || return 1
    sw_page_shot "$id" "$shots/6-complete.png"
    sw_page_click "$id" $SW_FINISH_BTN
}

pending=""
while read -r n tag; do
    case $tag in
    *file=*)
        name=${tag#*file=}
        mkdir -p "$(dirname "$cwd/$name")" && cp "$blocks/$n" "$cwd/$name" || fail "writing $name"
        ;;
    "sh run")
        if run_block "$n"; then
            ok "$(first_line "$n")"
        else
            fail "$(first_line "$n") (block $n):"
            tail -n 30 "$blocks/$n.out"
            checks_end
        fi
        ;;
    "sh install")
        walk_wizard &
        walker=$!
        if run_block "$n"; then ok "the install ended well"; else fail "the install: $(cat "$blocks/$n.out")"; fi
        if wait "$walker"; then ok "the wizard showed its pages in French"; else fail "the wizard's pages"; fi
        timeout -k 5 60 wineserver -w
        ;;
    "sh check" | "sh mistake")
        pending=$n
        if run_block "$n"; then rc=0; else rc=$?; fi
        if [ "$tag" = "sh mistake" ] && [ $rc -eq 0 ]; then
            fail "the mistake of block $n was not reported"
            pending=""
        fi
        ;;
    "text output")
        [ -n "$pending" ] || continue
        if diff <(lines "$blocks/$n") <(lines "$blocks/$pending.out") >"$blocks/$n.diff"; then
            ok "$(first_line "$pending")"
        else
            fail "$(first_line "$pending") (< the document, > printed):"
            cat "$blocks/$n.diff"
        fi
        pending=""
        ;;
    "text message")
        [ -n "$pending" ] || continue
        missing=$(grep -v -x -F -f <(lines "$blocks/$pending.out") <(lines "$blocks/$n"))
        if [ -z "$missing" ]; then
            ok "the message: $(lines "$blocks/$n" | head -n 1)"
        else
            fail "not printed: $missing; printed:"
            tail -n 20 "$blocks/$pending.out"
        fi
        pending=""
        ;;
    esac
done <"$blocks/index"
checks_end

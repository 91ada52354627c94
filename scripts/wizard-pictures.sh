#!/usr/bin/env bash
# Refreshes the pictures of docs/wizard.md from the e2e tier: runs its English, languages, cancel,
# progress-cancel, reboot, net and spanned paths (setup.exe under Wine, driven by keyboard and mouse) and copies
# their screenshots to docs/images/wizard/.
#
#   bash scripts/wizard-pictures.sh          after a win32 build (bash scripts/test.sh win32, or the demo)
#   bash scripts/wizard-pictures.sh --last   copies the screenshots of the last e2e run, running nothing
set -euo pipefail

cd "$(dirname "$0")/.."
build=${SW_BUILD_PREFIX:-build/}win32
out=docs/images/wizard
[ -f "$build/tests/pagetext.exe" ] || { echo "no win32 build in $build: run bash scripts/test.sh win32 first" >&2; exit 1; }
[ "${1:-}" = --last ] || cmake --build "$build" --target demo_distribution e2e_net_distribution \
    progress_distribution spanned_distribution >/dev/null
[ "${1:-}" = --last ] || for path in full-english languages cancel progress-cancel reboot net spanned; do
    (
        source scripts/wine-env.sh
        sw_wine_init
        bash "tests/e2e/$path.sh" "$build"
    ) || { echo "the $path path failed: the pictures stay as they were" >&2; exit 1; }
done

# picture SOURCE NAME: copies one screenshot of the last run.
picture() {
    [ -f "$1" ] || { echo "no screenshot $1" >&2; exit 1; }
    cp "$1" "$out/$2.png"
}
mkdir -p "$out"
shots="$build/e2e/full-english"
picture "$shots/01-Select-a-language.png" language
picture "$shots/02-Welcome.png" welcome
picture "$shots/03-Software-license-agreement.png" license
picture "$shots/04-Readme-information.png" readme
picture "$shots/groups-samples-unchecked.png" groups
picture "$shots/06-Browse-for-Folder.png" folder-browser
picture "$shots/08-Select-folder-in-start-menu.png" program-folder
picture "$(ls "$shots"/*-Setup-complete.png)" setup-complete
# The languages path names its pages by their numbers: the titles are French and Japanese.
shots="$build/e2e/languages"
picture "$(ls "$shots"/02-*.png)" language-french
picture "$(ls "$shots"/03-*.png)" welcome-french
picture "$(ls "$shots"/06-*.png)" welcome-japanese
picture "$(ls "$shots"/11-*.png)" setup-complete-japanese
shots="$build/e2e/cancel"
picture "$(ls "$shots"/*-box.png | tail -n 1)" cancel-question
picture "$(ls "$shots"/*-Setup-incomplete.png)" setup-incomplete
picture "$(ls "$build"/e2e/reboot/*-Reboot-windows.png)" reboot
picture "$build/e2e/progress-cancel/01-Copying-installation-files.png" progress
picture "$build/e2e/net/copy-progress-transfer.png" progress-download
picture "$(ls "$build"/e2e/spanned/*-Setup-needs-the-next-disk.png | head -n 1)" change-disk
echo "pictures refreshed in $out"

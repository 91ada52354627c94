#!/usr/bin/env bash
# The main window under Wine: the demo's setup.exe maximizes its main form behind the wizard, with the backdrop's
# gradient filling it and the recessed product title across its top; formviewer shows a backdrop with a title
# turned by 90 degrees. Each screenshot is read pixel by pixel (tests/wine/check_backdrop.py): the gradient's
# colour on every row, the title's letters where the turned text must stand, its shade up and left of them.
# Screenshots go to BUILD_DIR/e2e/backdrop.
#
#   tests/wine/backdrop.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=$(cd "${1:?build directory}" && pwd) || exit 1
here=$(cd "$(dirname "$0")/../.." && pwd)
dist="$build/examples/demo/distribution/setup.exe"
viewer="$build/tools/formviewer/formviewer.exe"
if [ ! -f "$dist" ]; then
    cmake --build "$build" --target demo_distribution >/dev/null 2>&1 ||
        { echo "the demo's distribution does not build"; echo "0 passed, 1 failed"; exit 1; }
fi
# Sourced also under scripts/test.sh, whose prefix sw_wine_init keeps: its functions do not reach a new process.
{ source "$here/scripts/wine-env.sh" && sw_wine_init && source "$here/scripts/wizard-walk.sh"; } || exit 1
shots="$build/e2e/backdrop"
rm -rf "$shots"
mkdir -p "$shots"
cp "$dist" "$WINEPREFIX/drive_c/backdrop-setup.exe"

passed=0
failed=0
pass() { echo "ok: $1"; passed=$((passed + 1)); }
fail() { echo "FAILED: $1"; failed=$((failed + 1)); }
# pixels NAME MODE IMAGE: the checks of check_backdrop.py, counted one by one.
pixels() {
    local out
    out=$(python3 "$here/tests/wine/check_backdrop.py" "$2" "$3" 2>&1)
    printf '%s\n' "$out" | sed "s/^\(ok\|FAILED\): /\1: $1: /"
    passed=$((passed + $(grep -c '^ok: ' <<<"$out")))
    failed=$((failed + $(grep -c '^FAILED: ' <<<"$out")))
    grep -q -E '^(ok|FAILED): ' <<<"$out" || fail "$1: no checks ran"
}

# The demo: through the language page to the welcome page, then the whole screen.
sw_wine_run 300 wine 'C:\backdrop-setup.exe' >"$shots/setup.log" 2>&1 &
setup=$!
id=$(sw_page_wait 'Select a language' 120) && sw_page_click "$id" $SW_NEXT_BTN
if welcome=$(sw_page_wait 'Welcome' 120); then
    sleep 2
    main=$(xdotool search --onlyvisible --name '^Setwright Demo Setup$' 2>/dev/null | head -n 1)
    geometry=$(xdotool getwindowgeometry "${main:-0}" 2>/dev/null | sed -n 's/^ *Geometry: //p')
    width=${geometry%x*} height=${geometry#*x}
    if [ "${width:-0}" -ge 1024 ] && [ "${height:-0}" -ge 768 ]; then
        pass "the main window is maximized ($geometry)"
    else
        fail "the main window is ${geometry:-not shown}, not maximized on the 1024x768 screen"
    fi
    import -window root "$shots/main-window.png" 2>/dev/null
    convert "$shots/main-window.png" "$shots/main-window.ppm"
    pixels "demo" main "$shots/main-window.ppm"
    [ -n "$welcome" ] && sw_page_click "$welcome" $SW_CANCEL_BTN
else
    fail "the welcome page did not come"
fi
timeout -k 5 30 wineserver -k 2>/dev/null
wait "$setup" 2>/dev/null

# A title turned by 90 degrees, through the viewer: its client area, exactly.
form="$shots/turned-title.txt"
cat >"$form" <<'FORM'
object TurnedTitle: TForm
  Left = 0
  Top = 0
  Width = 520
  Height = 420
  object Backdrop: TBackdrop
    Tag = -1
    Direction = bdHorzOut
    object Title: TRotate3DLabel
      Tag = -1
      Width = 120
      Align = alLeft
      Font.Color = clWhite
      Font.Height = -40
      Font.Name = 'Arial'
      Font.Style = [fsBold]
      ParentFont = False
      Caption = 'Setwright'
      Alignment = taCenter
      LabelStyle.Angle = 90
      LabelStyle.AStyle3D = A3dResit
    end
  end
end
FORM
if timeout -k 5 120 wine "$viewer" "$form" --screenshot "$shots/turned-title.bmp" >"$shots/viewer.log" 2>&1; then
    convert "$shots/turned-title.bmp" "$shots/turned-title.png"
    convert "$shots/turned-title.bmp" "$shots/turned-title.ppm"
    pixels "turned title" viewer "$shots/turned-title.ppm"
else
    fail "formviewer did not show the turned title: $(tr -d '\r' <"$shots/viewer.log" | tail -n 3)"
fi

echo "screenshots: $shots"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

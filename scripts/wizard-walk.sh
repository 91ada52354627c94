# Sourced after scripts/wine-env.sh: a person's hands on the wizard of a setup program running on the Xvfb
# display. Windows are found by their title; clicks go to positions in a page (the page container's client
# area, 470 x 368, whose frame Wine draws itself: 4 pixels left, 23 above); keys go to the window in front.
#
#   id=$(sw_page_wait 'Welcome' 120)      # the container showing that page; fails after 120 s
#   sw_page_shot "$id" welcome.png        # a screenshot of the window
#   sw_page_click "$id" 337 342           # a left click at page position x, y
#   sw_page_keys "$id" Return             # xdotool key names
#   sw_page_type "$id" 'My Folder'        # types text

# The page buttons' centres, as the page forms place them.
SW_BACK_BTN="262 342"
SW_NEXT_BTN="337 342"
SW_CANCEL_BTN="424 342"
# The finish pages' Next and Finish, where the other pages have Cancel.
SW_FINISH_BTN="424 342"

sw_page_wait() {
    local title=$1 seconds=${2:-120} id _
    for _ in $(seq 1 $((seconds * 4))); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | tail -n 1)
        if [ -n "$id" ]; then
            # Let the page finish painting.
            sleep 1
            echo "$id"
            return 0
        fi
        sleep 0.25
    done
    sw_wine_log "no window '$title' after ${seconds}s"
    return 1
}

sw_page_shot() {
    timeout -k 2 20 import -window "$1" "$2" 2>/dev/null
}

sw_page_click() {
    xdotool mousemove --window "$1" $(($2 + 4)) $(($3 + 23)) click 1 2>/dev/null
    sleep 0.5
}

sw_page_keys() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    shift
    xdotool key --clearmodifiers --delay 100 "$@" 2>/dev/null
    sleep 0.5
}

sw_page_type() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool type --delay 50 "$2" 2>/dev/null
    sleep 0.5
}

#!/usr/bin/env bash
# The road of one command, end to end, on a virtual screen of its own: the
# companion server and the Linux client with a fresh users.ini; the demo
# member logs in through the login panel with real key events; then commands
# stored on the relay (through the companion's control API, as a tap on the
# phone would) are carried out, and what really happened is checked in the
# play page's reports, the companion's request journal, the client's own
# output and screenshots.
#
#   road_of_one_command.sh --client PATH --companion PATH --artifacts DIR
#
# Screenshots of the main steps and the logs are left in DIR. The power-off
# of the shutdown countdown only prints its line here (QIRELO_FAKE_POWER=1).
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"

start_client
log_in

grep -q $'^name=demo\r$' "$work/app/users.ini" || fail "users.ini lacks name=demo"
grep -Eq $'^pass=[0-9A-F]{14}\r$' "$work/app/users.ini" || fail "users.ini lacks a scrambled password"
iconv -f GB2312 -t UTF-8 "$work/app/users.ini" | grep -q '说明=密码已绑定本机二次加密' ||
    fail "users.ini's memo is not GB2312"

# --- A: the play page in web1.
play=/m0321/play2.html
command A321.2
wait_until 10 "play page request" requests_at_least site "$play" 1
loaded=$(request_time site "$play")
log "play page requested"
sleep 1.5
shot 04-play-page

# --- F: space reaches the page.
command F
wait_until 10 "space on the play page" events_at_least key Space 1
log "the page got Space"

# --- G-3: three left arrows, a second apart.
command G-3
wait_until 12 "three left arrows" events_at_least key ArrowLeft 3
for n in 2 3; do
    gap=$(elapsed "$(event_time key ArrowLeft $((n - 1)))" "$(event_time key ArrowLeft "$n")")
    within "$gap" 0.5 1.9 || fail "left arrows $((n - 1)) and $n came $gap s apart"
done
log "three left arrows about a second apart"

# --- D+2: two up arrows, back to back.
command D+2
wait_until 10 "two up arrows" events_at_least key ArrowUp 2
gap=$(elapsed "$(event_time key ArrowUp 1)" "$(event_time key ArrowUp 2)")
within "$gap" 0 0.8 || fail "the up arrows came $gap s apart"
log "two up arrows"

# --- About 12 s after the play page loaded: the double-click, full screen.
wait_until 20 "the full-screen double-click" events_at_least dblclick "" 1
after=$(elapsed "$loaded" "$(event_time dblclick "" 1)")
# Both times are when this script's polling first saw them (0.1 s apart and
# more on a busy machine), and the page completes a little after its request.
within "$after" 11.0 15.0 || fail "the double-click came $after s after the page request"
# The page sends its reports one after another: the full-screen one follows the
# double-click's answer.
wait_until 5 "the full-screen report" events_at_least fullscreen on 1
log "double-click and full screen $after s after the page request"
shot 05-full-screen

# --- H+: Escape, a click, one right arrow, a double-click, in that order.
clicks_before=$(count_events click "")
command H+
wait_until 10 "the H sequence" events_at_least dblclick "" 2
order=$(awk -v t="$(event_time dblclick "" 1)" '$1 > t && ($3 != "fullscreen") {print $3 "/" $4}' \
    "$work/events.log" | grep -v '^key/Arrow\(Up\|Left\)' | tr '\n' ' ')
case "$order" in
*"key/Escape click/"*" key/ArrowRight "*"dblclick/"*) ;;
*) fail "H gave: $order" ;;
esac
[ "$(count_events click "")" -gt "$clicks_before" ] || fail "H clicked nothing"
log "H: $order"
shot 06-after-h

# The address bar shows the play page (copied out of it through the clipboard).
xdotool mousemove 300 10 click 1
xdotool key ctrl+a ctrl+c
sleep 0.3
bar=$(xclip -o -selection clipboard 2>/dev/null || true)
[ "$bar" = "http://$address:$site$play" ] || fail "the address bar shows '$bar'"
log "address bar: $bar"
xdotool mousemove 640 600 click 1 # the keyboard back to the page

# --- E: the countdown starts (the button's caption changes), a second E
# cancels it, a third runs to the power-off line 14 s after its click. What
# the program tab shows is compared with the screenshot taken at rest, before
# the login: the shutdown button with its bar, and the version button, which
# tells that the program tab is the one on show.
button_area=(-crop 170x64+58+344 +repage)
version_area=(-crop 100x28+553+353 +repage)
convert "$artifacts/02-login-typed.png" "${button_area[@]}" "$work/idle-button.png"
convert "$artifacts/02-login-typed.png" "${version_area[@]}" "$work/idle-version.png"
differs() { # AREA IDLE: pixels of the area that differ from the idle screenshot's
    local -n area=$1
    convert "$work/now.png" "${area[@]}" "$work/now-crop.png"
    compare -metric AE "$2" "$work/now-crop.png" null: 2>&1 || true
}
program_tab() {
    import -window root "$work/now.png"
    [ "$(differs version_area "$work/idle-version.png")" -lt 30 ]
}
counting() { program_tab && [ "$(differs button_area "$work/idle-button.png")" -gt 300 ]; }
at_rest() { program_tab && [ "$(differs button_area "$work/idle-button.png")" -lt 30 ]; }

command E
wait_until 10 "the countdown caption" counting
log "the first E started the countdown"
shot 07-countdown
wait_until 3 "E's space on the page" events_at_least key Space 2
wait_until 3 "E's Escape on the page" events_at_least key Escape 2
command E
wait_until 10 "the cancelled countdown" at_rest
log "the second E cancelled it"
shot 08-cancelled
command E
wait_until 10 "the third countdown" counting
shown=$(now)
# The command runs as soon as its cycle has the timer's number, so that
# request's time is the click's; the screen shows the caption later, and the
# cycles are 3 s apart: the click's cycle is the last one before the caption
# showed (the journal may see a request a little late).
clicked=$(awk -v t="$shown" '$3 == "timer" && $1 <= t + 0.5 {c = $1} END {print c}' \
    "$work/requests.log")
wait_until 20 "the power-off line" grep -q 'power-off requested' "$work/client.log"
said=$(awk '/power-off requested/ {print $1; exit}' "$work/client.log")
after=$(elapsed "$clicked" "$said")
within "$after" 13.0 15.5 || fail "power-off requested $after s after the third E"
[ "$(grep -c 'power-off requested' "$work/client.log")" = 1 ] || fail "more than one power-off"
log "power-off requested $after s after the third E (the cancelled countdown asked none)"
shot 09-power-off-requested

# --- Records that must do nothing: a stale one, and a repeated one.
clock=$(curl -sf -m 5 "http://$address:$timer/member/timer.asp")
stale=$(awk -v c="$clock" 'BEGIN {printf "%.2f", c - 20}')
ctl -X PUT --data-binary "$stale|A512.1" "$control/records/$member" >/dev/null
polls=$(count_requests relay "/monitor/$member.jpg")
wait_until 10 "two relay polls" requests_at_least relay "/monitor/$member.jpg" $((polls + 2))
[ "$(count_requests site /m0512/play1.html)" = 0 ] || fail "a stale record was carried out"
log "a stale record did nothing"

clock=$(curl -sf -m 5 "http://$address:$timer/member/timer.asp")
ctl -X PUT --data-binary "$clock|A678.1" "$control/records/$member" >/dev/null
wait_until 10 "the fresh record's page" requests_at_least site /m0678/play1.html 1
ctl -X PUT --data-binary "$clock|A678.1" "$control/records/$member" >/dev/null
polls=$(count_requests relay "/monitor/$member.jpg")
wait_until 10 "two relay polls" requests_at_least relay "/monitor/$member.jpg" $((polls + 2))
[ "$(count_requests site /m0678/play1.html)" = 1 ] || fail "a repeated record was carried out again"
log "a repeated record did nothing"
shot 10-end

log "the road of one command: all steps passed"

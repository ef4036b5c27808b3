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

client_program="" companion_program="" artifacts=""
while [ $# -gt 0 ]; do
    case "$1" in
    --client) client_program=$2; shift 2 ;;
    --companion) companion_program=$2; shift 2 ;;
    --artifacts) artifacts=$2; shift 2 ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
    esac
done
[ -x "$client_program" ] && [ -x "$companion_program" ] && [ -n "$artifacts" ] || {
    echo "usage: $0 --client PATH --companion PATH --artifacts DIR" >&2
    exit 2
}

# A screen of our own, whatever display the caller has.
if [ -z "${QIRELO_E2E_SCREEN:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        env QIRELO_E2E_SCREEN=1 "$0" --client "$client_program" \
        --companion "$companion_program" --artifacts "$artifacts"
fi

export QIRELO_FAKE_POWER=1 # nothing here may power the machine off
rm -rf "$artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d)
member=10001
started=$(date +%s.%N)

log() { printf '[%6.1f s] %s\n' "$(elapsed "$started" "$(now)")" "$*"; }
fail() {
    log "FAILED: $*"
    shot failure || true
    exit 1
}
shot() { import -window root "$artifacts/$1.png"; }
now() { date +%s.%N; }
# Seconds between two times, and whether a number lies in a range.
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", b - a}'; }
within() { awk -v x="$1" -v lo="$2" -v hi="$3" 'BEGIN {exit !(x >= lo && x <= hi)}'; }
before() { awk -v a="$1" -v b="$2" 'BEGIN {exit !(a < b)}'; }

# wait_until SECONDS DESCRIPTION COMMAND...: polls every 0.1 s.
wait_until() {
    local limit=$1 what=$2
    shift 2
    local deadline
    deadline=$(awk -v t="$(now)" -v l="$limit" 'BEGIN {printf "%.3f", t + l}')
    until "$@"; do
        before "$(now)" "$deadline" || fail "no $what within $limit s"
        sleep 0.1
    done
}

pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    cp "$work"/*.log "$artifacts/" 2>/dev/null || true
    cp "$work/app/users.ini" "$artifacts/" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# --- The companion, on a loopback address of its own (the relay port is fixed
# by the client, so two runs must not share an address).
address="127.$((RANDOM % 200 + 20)).$((RANDOM % 250 + 1)).$((RANDOM % 250 + 1))"
"$companion_program" --ephemeral --listen "$address" --relay-port 12861 \
    --ports-file "$work/ports" >"$work/companion.log" 2>&1 &
pids+=($!)
wait_until 10 "companion ports file" test -s "$work/ports"
# shellcheck disable=SC1091
. "$work/ports"
control="http://127.0.0.1:$control"
ctl() { curl -sf -m 5 "$@"; }
log "companion on $address (site $site, mobile $mobile, timer $timer, control ${control##*:})"

# Every request the site and the relay received, and every report of the
# play page, stamped with the time this script first saw it.
poll_journal() {
    set +e +o pipefail # an empty journal is no error
    local seen_events=0 seen_requests=0
    while :; do
        ctl "$control/events" | tr -d '\n' | grep -o '{[^}]*}' |
            sed -n 's/.*"sequence":\([0-9]*\).*"kind":"\([^"]*\)","detail":"\([^"]*\)".*/\1 \2 \3/p' |
            while read -r seq kind detail; do
                [ "$seq" -gt "$seen_events" ] && echo "$(now) $seq $kind $detail"
            done >>"$work/events.log"
        seen_events=$(tail -n 1 "$work/events.log" 2>/dev/null | awk '{print $2+0}')
        seen_events=${seen_events:-0}
        ctl "$control/requests" | tr -d '\n' | grep -o '{"sequence"[^[]*' |
            sed -n 's/.*"sequence":\([0-9]*\),"server":"\([^"]*\)","method":"\([^"]*\)","target":"\([^"]*\)".*/\1 \2 \3 \4/p' |
            while read -r seq server method target; do
                [ "$seq" -gt "$seen_requests" ] && echo "$(now) $seq $server $method $target"
            done >>"$work/requests.log"
        seen_requests=$(tail -n 1 "$work/requests.log" 2>/dev/null | awk '{print $2+0}')
        seen_requests=${seen_requests:-0}
        sleep 0.1
    done
}
touch "$work/events.log" "$work/requests.log"
poll_journal &
pids+=($!)

# Counts, and the time of the n-th match (1-based), in the journals.
count_events() { awk -v k="$1" -v d="$2" '$3 == k && (d == "" || $4 == d)' "$work/events.log" | wc -l; }
event_time() { awk -v k="$1" -v d="$2" -v n="$3" '$3 == k && (d == "" || $4 == d) && ++c == n {print $1}' "$work/events.log"; }
count_requests() { awk -v s="$1" -v t="$2" '$3 == s && $5 == t' "$work/requests.log" | wc -l; }
request_time() { awk -v s="$1" -v t="$2" '$3 == s && $5 == t {print $1; exit}' "$work/requests.log"; }
events_at_least() { [ "$(count_events "$1" "$2")" -ge "$3" ]; }
requests_at_least() { [ "$(count_requests "$1" "$2")" -ge "$3" ]; }
command() { ctl -X POST --data-binary "$1" "$control/commands/$member" >/dev/null; log "command $1"; }

# --- The client, from a folder of its own: users.ini is written beside it.
mkdir -p "$work/app"
cp "$client_program" "$work/app/qirelo"
stamp_lines() { while IFS= read -r line; do echo "$(now) $line"; done; }
(
    cd "$work/app"
    export QIRELO_SITE_HOST="$address:$site" QIRELO_MOBILE_HOST="$address:$mobile"
    export QIRELO_TIMER_HOST="$address:$timer" QIRELO_RELAY_HOST="$address"
    exec ./qirelo
) > >(stamp_lines >"$work/client.log") 2>"$work/client-stderr.log" &
pids+=($!)
launched=$(now)
wait_until 20 "client window" xdotool search --name "Qirelo" >/dev/null
log "client window after $(elapsed "$launched" "$(now)") s"
sleep 5 # the home pages load in both browsers
shot 01-started

# --- Login with real key events: name, Tab, password, Enter.
xdotool type --delay 40 demo
xdotool key Tab
xdotool type --delay 40 qirelo
sleep 0.5
shot 02-login-typed
xdotool key Return
wait_until 15 "login form posted to the site" requests_at_least site /jysc/checklogin.asp 1
wait_until 15 "relay poll for member $member" requests_at_least relay "/monitor/$member.jpg" 1
log "logged in: the relay worker polls /monitor/$member.jpg"
shot 03-logged-in

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
events_at_least fullscreen on 1 || fail "the player did not go full screen"
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
clicked=$(now)
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

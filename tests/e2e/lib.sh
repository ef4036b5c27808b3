# What the Linux client's end-to-end runs share (sourced): the arguments
#   --client PATH --companion PATH --artifacts DIR
# a virtual screen of their own (the calling script runs again under
# xvfb-run), the companion server on a loopback address of its own, journals
# of what the site, the relay and the play page saw (each line stamped with
# the time this script first saw it), the client started from a fresh folder,
# and the login through the login panel with real key events.
# shellcheck shell=bash

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
        env QIRELO_E2E_SCREEN=1 bash "$0" --client "$client_program" \
        --companion "$companion_program" --artifacts "$artifacts"
fi

export QIRELO_FAKE_POWER=1 # nothing here may power the machine off
rm -rf "$artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d)
member=10001
started=$(date +%s.%N)

# shellcheck source=tests/e2e/steps.sh
. "$(dirname "${BASH_SOURCE[0]}")/steps.sh"

pids=()
client_pid=""
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

# start_client: the client, from a folder of its own (users.ini is written
# beside it); its output lines are stamped. Sets client_pid and, once its
# window shows, window_after (seconds from the start).
start_client() {
    mkdir -p "$work/app"
    cp "$client_program" "$work/app/qirelo"
    stamp_lines() { while IFS= read -r line; do echo "$(now) $line"; done; }
    (
        cd "$work/app"
        export QIRELO_SITE_HOST="$address:$site" QIRELO_MOBILE_HOST="$address:$mobile"
        export QIRELO_TIMER_HOST="$address:$timer" QIRELO_RELAY_HOST="$address"
        exec ./qirelo
    ) > >(stamp_lines >"$work/client.log") 2>"$work/client-stderr.log" &
    client_pid=$!
    pids+=("$client_pid")
    local launched
    launched=$(now)
    until xdotool search --onlyvisible --name "Qirelo" >/dev/null 2>&1; do
        before "$(now)" "$(awk -v t="$launched" 'BEGIN {printf "%.3f", t + 20}')" || fail "no client window"
        sleep 0.01
    done
    window_after=$(elapsed "$launched" "$(now)")
    log "client window after $window_after s"
    sleep 3 # the home pages load in both browsers
    shot 01-started
}

# log_in: types the demo member's name and password into the login panel,
# presses Enter, and waits for the relay worker's first poll.
log_in() {
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
}

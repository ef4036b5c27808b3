#!/usr/bin/env bash
# The Linux client's figures (run by hand; the README has them): the time
# from starting the program to its window on show, the latency of a relay
# command from storing its record to the first synthesised key (the X
# server's raw key event), and the idle CPU of the client logged in with the
# program tab shown, polling the relay.
#
#   measure_client.sh --client PATH --companion PATH --artifacts DIR
#       [--commands N] [--starts N] [--idle SECONDS]
set -euo pipefail
# The counts travel in the environment: the script runs again on its own
# virtual screen with the common arguments only.
args=()
while [ $# -gt 0 ]; do
    case "$1" in
    --commands) export QIRELO_MEASURE_COMMANDS=$2; shift 2 ;;
    --starts) export QIRELO_MEASURE_STARTS=$2; shift 2 ;;
    --idle) export QIRELO_MEASURE_IDLE=$2; shift 2 ;;
    *) args+=("$1"); shift ;;
    esac
done
set -- "${args[@]}"
commands=${QIRELO_MEASURE_COMMANDS:-20}
starts=${QIRELO_MEASURE_STARTS:-5}
idle=${QIRELO_MEASURE_IDLE:-120}
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"

# --- Start to shown window, without waiting for the browser pages.
starts_seen=()
for _ in $(seq "$starts"); do
    start_client
    starts_seen+=("$window_after")
    kill "$client_pid"
    wait "$client_pid" 2>/dev/null || true
    rm -rf "$work/app"
done

# --- Command latency: F (one space) stored at points spread evenly over the
# 3-second poll cycle (in shuffled order; the cycle is reckoned from the
# previous command's key, which follows its poll at once), timed to the first
# raw key press the X server reports.
start_client
log_in
command A321.1
wait_until 10 "play page request" requests_at_least site /m0321/play1.html 1
sleep 2
xinput test-xi2 --root 2>/dev/null | while IFS= read -r line; do
    case "$line" in *"(RawKeyPress)"*) echo "$(now)" ;; esac
done >"$work/keys.log" &
pids+=($!)
sleep 1
keys_more_than() { [ "$(wc -l <"$work/keys.log")" -gt "$1" ]; }
latencies=()
for n in $(seq "$commands"); do
    sleep "$(awk -v n="$n" -v c="$commands" 'BEGIN {printf "%.3f", ((n * 7) % c + 0.5) * 3 / c}')"
    keys_before=$(wc -l <"$work/keys.log")
    stored=$(now)
    ctl -X POST --data-binary F "$control/commands/$member" >/dev/null
    wait_until 10 "the key of command $n" keys_more_than "$keys_before"
    pressed=$(sed -n "$((keys_before + 1))p" "$work/keys.log")
    latencies+=("$(elapsed "$stored" "$pressed")")
done
sleep 1

# --- Idle: the program tab shown, logged in, polling.
xdotool mousemove 24 35 click 1 # the tab 程序
sleep 5
family() { # the client and its browser engine processes
    local pid=$1
    echo "$pid"
    for child in $(pgrep -P "$pid"); do family "$child"; done
}
cpu_ticks() { # user and system time of whole processes (exited threads too)
    for pid in "$@"; do
        cat "/proc/$pid/stat" 2>/dev/null || true
    done | awk '{t += $14 + $15} END {printf "%d", t}'
}
mapfile -t all < <(family "$client_pid")
main_before=$(cpu_ticks "$client_pid") all_before=$(cpu_ticks "${all[@]}")
log "idle: client $client_pid and ${#all[@]} processes in all"
sleep "$idle"
main_after=$(cpu_ticks "$client_pid") all_after=$(cpu_ticks "${all[@]}")
polls=$(count_requests relay "/monitor/$member.jpg")
shot idle-program-tab

summary() {
    awk 'BEGIN {min = 1e9} {s += $1; if ($1 > max) max = $1; if ($1 < min) min = $1; n++}
         END {printf "mean %.2f s, min %.2f s, max %.2f s over %d", s / n, min, max, n}'
}
echo
echo "start to shown window:  $(printf '%s\n' "${starts_seen[@]}" | summary) starts"
echo "record stored to key:   $(printf '%s\n' "${latencies[@]}" | summary) commands"
awk -v m=$((main_after - main_before)) -v a=$((all_after - all_before)) -v t="$idle" \
    -v hz="$(getconf CLK_TCK)" \
    'BEGIN {printf "idle CPU, %d s:         client %.3f %% of one core, with its browser processes %.3f %% (%d and %d ticks of 1/%d s)\n",
            t, m / hz / t * 100, a / hz / t * 100, m, a, hz}'
echo "relay polls so far:     $polls"

# The steps every end-to-end script takes (sourced): the clock, the log with
# seconds since `started`, screenshots into `artifacts`, failing with a last
# screenshot, and waiting for a condition with a deadline.
# shellcheck shell=bash

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

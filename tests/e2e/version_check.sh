#!/usr/bin/env bash
# The version check, end to end, on a virtual screen of its own: the Linux
# client against the companion's update server.
#   1. A newer version in the info file: at start the client opens the
#      download page in the browser and says so in a box captioned
#      "Qirelo在线客户端"; after OK it ends.
#   2. The client's own version: it starts silently and runs on.
# The browser is a stand-in xdg-open on PATH that notes what it was given.
#
#   version_check.sh --client PATH --companion PATH --artifacts DIR
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"

mkdir -p "$work/bin"
cat >"$work/bin/xdg-open" <<OPENER
#!/bin/sh
echo "\$*" >>"$work/opened.log"
OPENER
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"
touch "$work/opened.log"

windows() { xdotool search --onlyvisible --name "Qirelo" 2>/dev/null | wc -l; }
client_ended() { ! kill -0 "$client_pid" 2>/dev/null; }
page="http://$address:$site/setup/"

# --- 1: a newer version.
printf '#version=2099.1.1.0\r\n#method=2\r\n#url=%s\r\n' "$page" |
    ctl -X PUT --data-binary @- "$control/info" >/dev/null
start_client
wait_until 15 "the new-version box" test "$(windows)" -ge 2
grep -qxF "$page" "$work/opened.log" || fail "the download page was not opened: $(cat "$work/opened.log")"
shot 10-new-version-box
log "the box is up and the download page went to the browser"
xdotool key Return
wait_until 10 "the client's end after the box" client_ended
log "the client ended after OK"

# --- 2: the same version (the companion's default info file).
ctl -X DELETE "$control/info" >/dev/null
: >"$work/opened.log"
start_client
sleep 2
[ "$(windows)" -eq 1 ] || fail "a box came up at start with the same version"
kill -0 "$client_pid" 2>/dev/null || fail "the client ended with the same version"
[ ! -s "$work/opened.log" ] || fail "the browser was started: $(cat "$work/opened.log")"
requests_at_least site /setup/qirelo_play.inf 2 || fail "the client did not ask for the info file"
shot 11-same-version
log "same version: silent start, the client runs on"
log "PASSED"

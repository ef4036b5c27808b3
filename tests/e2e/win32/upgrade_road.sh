#!/usr/bin/env bash
# The upgrade by download, end to end, on the 32-bit Windows program under
# Wine, on a virtual screen and in a Wine prefix of its own, against the
# companion (its Windows build, signing with the test key):
#   1. A file whose signature is of other bytes: the lost-file question
#      (captioned "错误 #…", "Error #…" in English) answered No leaves the
#      installed Qirelo.exe as it was, no .uTMP file and no updater.
#   2. The next version, signed: the wizard downloads it, OK ends the
#      program, QireloUpdater.exe replaces Qirelo.exe and starts it with
#      "/afterupgrade"; the new program is the next version (its bytes) and
#      finds nothing newer on the server.
# Screenshots and logs are left in the artifacts folder.
#
#   upgrade_road.sh --installed EXE --next EXE --companion EXE --wine-run SCRIPT
#                   --artifacts DIR
set -euo pipefail

arguments=("$@")
installed="" next="" companion="" wine_run="" artifacts=""
while [ $# -gt 0 ]; do
    case "$1" in
    --installed) installed=$2; shift 2 ;;
    --next) next=$2; shift 2 ;;
    --companion) companion=$2; shift 2 ;;
    --wine-run) wine_run=$2; shift 2 ;;
    --artifacts) artifacts=$2; shift 2 ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
    esac
done
if ! [ -f "$installed" ] || ! [ -f "$next" ] || ! [ -f "$companion" ] || ! [ -x "$wine_run" ] ||
    [ -z "$artifacts" ]; then
    echo "usage: $0 --installed EXE --next EXE --companion EXE --wine-run SCRIPT --artifacts DIR" >&2
    exit 2
fi

# A screen of our own, whatever display the caller has.
if [ -z "${QIRELO_E2E_SCREEN:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
        env QIRELO_E2E_SCREEN=1 bash "$0" "${arguments[@]}"
fi

export QIRELO_FAKE_POWER=1 # nothing here may power the machine off
rm -rf "$artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d)
# A prefix of our own: its temporary folder, where the updater is written,
# starts empty, and ending its server ends exactly the programs started here.
export QIRELO_WINEPREFIX=$work/prefix
started=$(date +%s.%N)

# shellcheck source=tests/e2e/steps.sh
. "$(dirname "$0")/../steps.sh"

cleanup() {
    WINEPREFIX=$QIRELO_WINEPREFIX wineserver -k 2>/dev/null || true
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    cp "$work"/*.log "$artifacts/" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Unix paths as the Windows programs see them.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
sha() { sha256sum "$1" | cut -d' ' -f1; }

# The program's texts follow Windows' default language, Wine's the locale:
# Simplified Chinese, as the users have it, when this system can build that
# locale (package locales); the checks accept the English texts too.
wine_env=()
mkdir -p "$work/locale"
if localedef -i zh_CN -f UTF-8 "$work/locale/zh_CN.UTF-8" >/dev/null 2>&1; then
    wine_env=(LOCPATH="$work/locale" LC_ALL=zh_CN.UTF-8)
fi
wine() { exec env "${wine_env[@]}" "$wine_run" "$@"; } # in a subshell of its own

# --- The prefix, then the companion on ports of its choosing.
(wine cmd /c exit) >/dev/null 2>&1
log "Wine prefix ready"
(wine "$companion" --ephemeral --listen 127.0.0.1 \
    --update-key "$(windows_path "$(cd "$(dirname "$0")/../../keys" && pwd)/update_test_private.pem")" \
    --ports-file "$(windows_path "$work/ports")") >"$work/companion.log" 2>&1 &
pids+=($!)
ports_written() { [ -f "$work/ports" ] && [ "$(grep -c '=' "$work/ports")" -ge 5 ]; }
wait_until 30 "companion ports file" ports_written
port() { tr -d '\r' <"$work/ports" | sed -n "s/^$1=//p"; } # lines "site=N", CR LF
site=$(port site) relay=$(port relay) timer=$(port timer) mobile=$(port mobile)
control="http://127.0.0.1:$(port control)"
ctl() { curl -sf -m 10 "$@"; }
requests() { ctl "$control/requests?server=site" | grep -o "\"target\":\"$1\"" | wc -l; }
log "companion: site $site, control ${control##*:}"

next_version=$(grep -ao '2013\.8\.[0-9]*\.0' "$next" | head -n 1)
announce() { # the next version with the download method (0) and its program file
    printf '#version=%s\r\n#method=0\r\n#url=http://127.0.0.1:%s/setup/Qirelo.exe\r\n' \
        "$next_version" "$site" | ctl -X PUT --data-binary @- "$control/info" >/dev/null
}

# Processes of this run (their command line names the work folder), by what
# their command line holds.
processes() {
    local pid line
    for pid in /proc/[0-9]*; do
        line=$(tr '\0' ' ' <"$pid/cmdline" 2>/dev/null) || continue
        [[ "$line" == *"${work//\//\\}"* && "$line" == *"$1"* ]] && echo "${pid#/proc/} $line"
    done
    return 0
}
running() { [ -n "$(processes "$1")" ]; }
window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
window_shown() { [ -n "$(window "$1")" ]; }
window_gone() { [ -z "$(window "$1")" ]; }
wizard_title='^(Application update wizard|软件升级精灵)$'
main_title='^Qirelo在线客户端$'
temp_updaters() { find "$QIRELO_WINEPREFIX/drive_c/users" -iname 'QireloUpdater.exe' 2>/dev/null; }

# start_installed: a fresh program folder with the installed Qirelo.exe, the
# program started in it. Sets client_pid.
app=$work/app
start_installed() {
    rm -rf "$app"
    mkdir -p "$app"
    cp "$installed" "$app/Qirelo.exe"
    (
        cd "$app"
        export QIRELO_SITE_HOST="127.0.0.1:$site" QIRELO_MOBILE_HOST="127.0.0.1:$mobile"
        export QIRELO_TIMER_HOST="127.0.0.1:$timer" QIRELO_RELAY_HOST="127.0.0.1:$relay"
        wine "$(windows_path "$app/Qirelo.exe")"
    ) >>"$work/client.log" 2>&1 &
    client_pid=$!
    pids+=("$client_pid")
}
client_ended() { ! kill -0 "$client_pid" 2>/dev/null; }
no_downloads() { ! compgen -G "$app/*.uTMP" >/dev/null; }

# --- 1. A file signed, but not this file: the signature of the installed
# program served as the next one's.
ctl -X PUT --data-binary @"$installed" "$control/update/files/other.exe" >/dev/null
ctl "http://127.0.0.1:$site/setup/other.exe.sig" >"$work/other.sig"
ctl -X DELETE "$control/update/files/other.exe" >/dev/null
ctl -X PUT --data-binary @"$next" "$control/update/files/Qirelo.exe" >/dev/null
ctl -X PUT --data-binary @"$work/other.sig" "$control/update/files/Qirelo.exe.sig" >/dev/null
announce
start_installed
lost_title='^(Error|错误) #[0-9]+$'
wait_until 60 "lost-file question" window_shown "$lost_title"
question=$(window "$lost_title")
log "lost-file question: \"$(xdotool getwindowname "$question")\""
shot 10-lost-file-question
window_shown "$wizard_title" || fail "the question came without the wizard"
xdotool windowfocus "$question" 2>/dev/null || true
xdotool key --clearmodifiers n
wait_until 15 "end of the question" window_gone "$lost_title"
wait_until 15 "wizard closed after No" window_gone "$wizard_title"
wait_until 15 "no .uTMP left" no_downloads
shot 11-after-no
[ "$(sha "$app/Qirelo.exe")" = "$(sha "$installed")" ] || fail "Qirelo.exe changed after No"
kill -0 "$client_pid" 2>/dev/null || fail "the installed program ended after No"
running QireloUpdater && fail "an updater runs: $(processes QireloUpdater)"
[ -z "$(temp_updaters)" ] || fail "the updater was written: $(temp_updaters)"
[ "$(requests /setup/Qirelo.exe.sig)" -ge 1 ] || fail "the signature was never asked for"
log "No: Qirelo.exe untouched, no .uTMP, no updater; the program runs on"
kill "$client_pid"
wait_until 15 "end of the installed program" client_ended

# --- 2. The next version, signed by the companion.
ctl -X DELETE "$control/update/files/Qirelo.exe.sig" >/dev/null
info_before=$(requests /setup/qirelo_play.inf)
signatures_before=$(requests /setup/Qirelo.exe.sig)
start_installed
wait_until 60 "update wizard" window_shown "$wizard_title"
wizard=$(window "$wizard_title")
log "wizard shown"
downloaded() { [ "$(stat -c %s "$app/Qirelo.exe.uTMP" 2>/dev/null)" = "$(stat -c %s "$next")" ]; }
signature_asked() { [ "$(requests /setup/Qirelo.exe.sig)" -gt "$signatures_before" ]; }
wait_until 60 "download of the next version" downloaded
wait_until 30 "signature request" signature_asked
downloads_done=$(requests /setup/Qirelo.exe)
sleep 0.5 # the wizard turns to its completed state
[ "$(sha "$app/Qirelo.exe.uTMP")" = "$(sha "$next")" ] || fail "the download is not the next version"
shot 20-wizard-completed
log "downloaded and verified; pressing OK"
# The OK button (296, 248, 75 x 25 in the wizard) does something only once
# the wizard is in its completed state: pressed until the program ends.
press_ok() {
    xdotool mousemove --window "$wizard" 333 260 click 1 2>/dev/null || true
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        client_ended && return 0
        sleep 0.3
    done
    return 1
}
wait_until 30 "end of the installed program after OK" press_ok
log "the installed program ended"
wait_until 60 "the new program started with /afterupgrade" running 'Qirelo.exe /afterupgrade'
wait_until 30 "main window of the new program" window_shown "$main_title"
restarted=$(processes 'Qirelo.exe /afterupgrade' | grep -v QireloUpdater | head -n 1)
log "running: $restarted"
# Exactly the restart parameter: the updater cuts the method digit off.
[[ "$restarted" =~ \\app\\Qirelo\.exe\ /afterupgrade\ *$ ]] || fail "not the program's restart: $restarted"
[ "$(sha "$app/Qirelo.exe")" = "$(sha "$next")" ] || fail "Qirelo.exe is not the next version"
no_downloads || fail ".uTMP files left: $(ls "$app")"
asked_again() { [ "$(requests /setup/qirelo_play.inf)" -gt $((info_before + 1)) ]; }
wait_until 30 "the new program's version check" asked_again
sleep 2 # a second download would start at once
[ "$(requests /setup/Qirelo.exe)" -eq "$downloads_done" ] ||
    fail "the new program downloaded again: it is not $next_version"
window_shown "$wizard_title" && fail "the new program shows the wizard again"
shot 21-after-upgrade
log "PASSED: Qirelo.exe is $next_version and runs with /afterupgrade"

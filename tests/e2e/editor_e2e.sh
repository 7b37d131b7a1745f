#!/usr/bin/env bash
# The editor from start to end, as a user drives it: under its own Xvfb, with
# the simulated Dalvi V+ (TRAVIK_MIDI=simulated), settings and device log in a
# temporary folder, keys and clicks from xdotool.
#
# usage: editor_e2e.sh EDITOR TRAVIK READ_SETTINGS OUTPUT_DIR
#
# Screenshots go to OUTPUT_DIR (editor-e2e*.png). There is no window manager
# under Xvfb: a window gets the focus with `xdotool windowfocus --sync`, and
# keys and clicks are sent without --window (JUCE ignores events sent to a
# window directly), clicks at screen positions worked out from the window's.
set -euo pipefail

if [ $# -ne 4 ]; then
    echo "usage: $0 EDITOR TRAVIK READ_SETTINGS OUTPUT_DIR" >&2
    exit 2
fi

editor=$(realpath "$1")
travik=$(realpath "$2")
read_settings=$(realpath "$3")
out_dir=$4
mkdir -p "$out_dir"
out_dir=$(realpath "$out_dir")

work=$(mktemp -d "${TMPDIR:-/tmp}/travik-e2e.XXXXXX")
xvfb_pid=""
editor_pid=""
second_pid=""

cleanup()
{
    local status=$?
    stop_processes $second_pid $editor_pid $xvfb_pid
    if [ $status -ne 0 ] && [ -s "$work/editor.log" ]; then
        echo "--- editor output:" >&2
        cat "$work/editor.log" >&2
    fi
    rm -rf "$work"
    exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

source "$(dirname "$0")/../../scripts/lib/x11.sh"

main_title='Dalvi V+ Travik V1.07'
main_pattern='^Dalvi V\+ Travik V1\.07$'

# ------------------------------------------------------------------------------
step "Xvfb"
start_xvfb "$work"
echo "display $DISPLAY"

mkdir -p "$work/home" "$work/settings" "$work/settings-second"
export HOME="$work/home"
export TRAVIK_MIDI=simulated
export TRAVIK_SIM_LOG="$work/device.log"

wait_for_single_instance_lock

# ------------------------------------------------------------------------------
step "start: window title and size"
TRAVIK_SETTINGS_DIR="$work/settings" "$editor" >"$work/editor.log" 2>&1 &
editor_pid=$!

main=$(wait_for_window "$main_pattern" 20)
[ -n "$main" ] || fail "no window titled \"$main_title\""
[ "$(echo "$main" | wc -l)" -eq 1 ] || fail "more than one main window"
[ "$(xdotool getwindowname "$main")" = "$main_title" ] || fail "title is \"$(xdotool getwindowname "$main")\""
geometry "$main"
[ "${WIDTH}x${HEIGHT}" = "1000x576" ] || fail "window is ${WIDTH}x${HEIGHT}, not 1000x576"


step "screenshot"
# The first frame may still be on its way; the view paints its light grey ground
# where the screen around the window stays black.
deadline=$((SECONDS + 10))
while :; do
    import -window root "$out_dir/editor-e2e.png"
    pixel=$(convert "$out_dir/editor-e2e.png" -format "%[pixel:p{$((X + 5)),$((Y + 5))}]" info:)
    case "$pixel" in
        "srgb(238,238,238)"|"gray(238)"|"grey(238)") break ;;
    esac
    [ $SECONDS -lt $deadline ] || fail "the window shows $pixel where the view's ground should be"
    sleep 0.2
done
echo "screenshot: $out_dir/editor-e2e.png"

# ------------------------------------------------------------------------------
step "a second start opens no second window and ends on its own"
status=0
TRAVIK_SETTINGS_DIR="$work/settings-second" timeout 20 "$editor" >"$work/second.log" 2>&1 || status=$?
[ $status -eq 0 ] || fail "the second start ended with status $status"
[ "$(windows_named "$main_pattern" | wc -l)" -eq 1 ] || fail "a second main window opened"
kill -0 $editor_pid 2>/dev/null || fail "the first instance ended"
[ -z "$(ls -A "$work/settings-second")" ] || fail "the second start wrote settings"

# ------------------------------------------------------------------------------
step "Send Data with no device chosen sends nothing"
click_in "$main" $((449 + 47)) $((543 + 11))
alert=$(wait_for_window '^Send Mapping$' 10)
[ -n "$alert" ] || fail "no \"Send Mapping\" alert"
import -window "$alert" "$work/alert-failed.png"
press_in "$alert" Return
wait_window_gone "$alert" 10 || fail "the alert did not close on Return"
[ ! -s "$TRAVIK_SIM_LOG" ] || fail "the device received a transfer without a chosen port"

# ------------------------------------------------------------------------------
step "Connect: the port dialog offers the Dalvi V+"
click_in "$main" $((343 + 47)) $((543 + 11))
dialog=$(wait_for_window '^Select your device$' 10)
[ -n "$dialog" ] || fail "no \"Select your device\" dialog"
import -window "$dialog" "$out_dir/editor-e2e-connect.png"
# Its Connect button sits 10 px in from the bottom right corner, left of Cancel
# (both 100 x 30): its centre is 160 px from the right edge and 25 px from the
# bottom, whatever size the window got.
geometry "$dialog"
click_in "$dialog" $((WIDTH - 160)) $((HEIGHT - 25))
wait_window_gone "$dialog" 10 || fail "the port dialog stayed open after Connect (no \"Dalvi V+\" listed?)"

# ------------------------------------------------------------------------------
step "Send Data: \"Done!\" and the device got the Mackie factory map"
click_in "$main" $((449 + 47)) $((543 + 11))
alert=$(wait_for_window '^Send Mapping$' 10)
[ -n "$alert" ] || fail "no \"Send Mapping\" alert"
import -window "$alert" "$out_dir/editor-e2e-done.png"
press_in "$alert" Return
wait_window_gone "$alert" 10 || fail "the alert did not close on Return"

"$travik" bytes 0 >"$work/expected.log"
[ -s "$TRAVIK_SIM_LOG" ] || fail "the simulated device received no complete transfer"
diff -u "$work/expected.log" "$TRAVIK_SIM_LOG" >&2 || fail "the device received something else than the Mackie factory map"
# X shows no text: the failure's message ("No device selected") and "Done!"
# must at least look different.
if compare -metric AE "$work/alert-failed.png" "$out_dir/editor-e2e-done.png" null: 2>/dev/null; then
    fail "the alert after a successful transfer looks like the one after a failed one"
fi

# ------------------------------------------------------------------------------
step "R and F1 with a control button selected"
# Control id 1: the panel's first button, (60, 58) in the panel, which starts
# at y 64 in the view; a click selects it and gives it the keyboard focus.
click_in "$main" $((60 + 30)) $((64 + 58 + 18))
press_in "$main" r
sleep 0.3
kill -0 $editor_pid 2>/dev/null || fail "the editor ended on R"
[ "$(windows_named "$main_pattern" | wc -l)" -eq 1 ] || fail "the main window went away on R"

press_in "$main" F1
about=$(wait_for_window '^About Dalvi V\+ Travik$' 10)
[ -n "$about" ] || fail "F1 opened no About box"
press_in "$about" Escape
wait_window_gone "$about" 10 || fail "Escape did not close the About box"

# ------------------------------------------------------------------------------
step "Escape ends the program"
press_in "$main" Escape
deadline=$((SECONDS + 20))
while kill -0 $editor_pid 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the editor still runs 20 s after Escape"
    sleep 0.1
done
status=0
wait $editor_pid || status=$?
editor_pid=""
[ $status -eq 0 ] || fail "the editor ended with status $status"

# ------------------------------------------------------------------------------
step "the settings file holds the four maps"
settings_file="$work/settings/DalviVPlus.conf"
[ -f "$settings_file" ] || fail "no settings file $settings_file"
modes=$("$read_settings" "$work/settings" modes) || fail "the settings file has no maps"
maps=$(grep -o '<map ' <<<"$modes" | wc -l)
[ "$maps" -eq 4 ] || fail "the settings hold $maps maps, not 4: $modes"
for slug in Mackie Logic "Pro Tools" "User Defined"; do
    grep -q "mode=\"$slug\"" <<<"$modes" || fail "no $slug map in the settings"
done
grep -q 'current="Mackie"' <<<"$modes" || fail "the settings do not name Mackie as current"

echo "PASS (${SECONDS} s)"

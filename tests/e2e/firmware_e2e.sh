#!/usr/bin/env bash
# The firmware upgrade from start to end, as a user runs it: the editor under its
# own Xvfb with the simulated Dalvi V+ (TRAVIK_MIDI=simulated), the firmware
# server on 127.0.0.1 (ZORVANE_FIRMWARE_SERVER), keys and clicks from xdotool.
# The simulated device logs what its bootloader holds after the reset
# ("firmware sha256 <hex> <size>" in TRAVIK_SIM_LOG); it must be the served
# image, filled up with 0xFF to whole 512-byte blocks.
#
# usage: firmware_e2e.sh EDITOR FIRMWARE_SERVER OUTPUT_DIR
#
# Screenshots go to OUTPUT_DIR (firmware-e2e*.png). There is no window manager
# under Xvfb: a window gets the focus with `xdotool windowfocus --sync`, and
# keys and clicks are sent without --window (JUCE ignores events sent to a
# window directly), clicks at screen positions worked out from the window's.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 EDITOR FIRMWARE_SERVER OUTPUT_DIR" >&2
    exit 2
fi

editor=$(realpath "$1")
firmware_server=$(realpath "$2")
out_dir=$3
mkdir -p "$out_dir"
out_dir=$(realpath "$out_dir")

work=$(mktemp -d "${TMPDIR:-/tmp}/travik-firmware-e2e.XXXXXX")
xvfb_pid=""
editor_pid=""
server_pid=""

cleanup()
{
    local status=$?
    stop_processes $editor_pid $server_pid $xvfb_pid
    if [ $status -ne 0 ]; then
        for log in editor server; do
            if [ -s "$work/$log.log" ]; then
                echo "--- $log output:" >&2
                cat "$work/$log.log" >&2
            fi
        done
        if [ -s "$work/device.log" ]; then
            echo "--- device log:" >&2
            cat "$work/device.log" >&2
        fi
    fi
    rm -rf "$work"
    exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

source "$(dirname "$0")/../../scripts/lib/x11.sh"

first_window() { wait_for_window "$1" "$2" | head -n1; }

main_pattern='^Dalvi V\+ Travik V1\.07$'

# The wizard's step buttons: 90 x 20 at x 17 + 96 i, y 92 in the wizard (514 x
# 491). It asks for a native title bar, which without a window manager isn't
# drawn: the window comes a little larger than its content, which sits in its
# top left corner inside an even border.
click_step()
{
    geometry "$wizard"
    local border=$(((WIDTH - 514) / 2))
    click_in "$wizard" $((border + 17 + 96 * $1 + 45)) $((border + 92 + 10))
}

# The pickers' confirm button ("Select", "Load") sits 10 px in from the bottom
# right corner, left of Cancel (both 100 x 30): its centre is 160 px from the
# right edge and 25 px from the bottom.
pick_in()
{
    local picker
    picker=$(first_window "$1" 10)
    [ -n "$picker" ] || fail "no \"$1\" dialog"
    geometry "$picker"
    click_in "$picker" $((WIDTH - 160)) $((HEIGHT - 25))
    wait_window_gone "$picker" 10 || fail "the \"$1\" dialog stayed open after confirming"
}

# ------------------------------------------------------------------------------
step "firmware image and server"
# 1,100 bytes: three blocks, the last one filled up by the upload.
head -c 1100 /dev/urandom >"$work/image.bin"
{ cat "$work/image.bin"; head -c $((1536 - 1100)) /dev/zero | tr '\0' '\377'; } >"$work/padded.bin"
expected="firmware sha256 $(sha256sum "$work/padded.bin" | cut -d' ' -f1) 1536"

"$firmware_server" "$work/image.bin" "$work/base_url" >"$work/server.log" 2>&1 &
server_pid=$!
deadline=$((SECONDS + 15))
until [ -s "$work/base_url" ]; do
    kill -0 $server_pid 2>/dev/null || fail "the firmware server did not start: $(cat "$work/server.log")"
    [ $SECONDS -lt $deadline ] || fail "the firmware server gave no address"
    sleep 0.1
done
export ZORVANE_FIRMWARE_SERVER=$(cat "$work/base_url")
echo "server $ZORVANE_FIRMWARE_SERVER"

# ------------------------------------------------------------------------------
step "Xvfb"
start_xvfb "$work"
echo "display $DISPLAY"

mkdir -p "$work/home" "$work/settings"
export HOME="$work/home"
export TRAVIK_MIDI=simulated
export TRAVIK_SIM_LOG="$work/device.log"
export TRAVIK_SETTINGS_DIR="$work/settings"

wait_for_single_instance_lock

# ------------------------------------------------------------------------------
step "start the editor"
"$editor" >"$work/editor.log" 2>&1 &
editor_pid=$!

main=$(first_window "$main_pattern" 20)
[ -n "$main" ] || fail "no main window"

# ------------------------------------------------------------------------------
step "Firmware Upgrade: the hub warning, then the wizard"
click_in "$main" $((65 + 47)) $((543 + 11))
warning=$(first_window '^Firmware Upgrader about to start$' 10)
[ -n "$warning" ] || fail "no USB hub warning"
import -window "$warning" "$out_dir/firmware-e2e-warning.png"
press_in "$warning" Return
wait_window_gone "$warning" 10 || fail "the warning did not close on Return"

wizard=$(first_window '^Firmware Upgrade$' 10)
[ -n "$wizard" ] || fail "no \"Firmware Upgrade\" wizard"
geometry "$wizard"
[ "$WIDTH" -ge 514 ] && [ "$HEIGHT" -ge 491 ] || fail "the wizard is ${WIDTH}x${HEIGHT}, smaller than 514x491"
echo "wizard window ${WIDTH}x${HEIGHT}"
import -window "$wizard" "$out_dir/firmware-e2e.png"

# ------------------------------------------------------------------------------
step "Connect: the Dalvi V+ is recognised"
click_step 0
pick_in '^Choose Your Zorvane Device$'
wait_window_named "$wizard" "Firmware Upgrade: Dalvi V+" 10 \
    || fail "the wizard is titled \"$(xdotool getwindowname "$wizard")\" after Connect"

step "Erase: the device restarts into its bootloader"
click_step 1
# The step holds the program for 1.3 s while the device restarts.
sleep 2

step "Activate: the bootloader's port"
click_step 2
pick_in '^Choose Your Zorvane Device$'
sleep 0.5

step "Select Version: the server's Dalvi V+ image"
click_step 3
pick_in '^Firmware Version$'
deadline=$((SECONDS + 15))
until grep -q '^/fw/dalvi_v_plus_1_3.bin$' "$work/server.log"; do
    [ $SECONDS -lt $deadline ] || fail "the image was never asked for: $(cat "$work/server.log")"
    sleep 0.1
done
# The download ends, and Upgrade comes on, a moment after the request.
sleep 1

# ------------------------------------------------------------------------------
step "Upgrade: \"Firmware Upgrade Success\""
success=""
for attempt in 1 2 3; do
    click_step 4
    success=$(first_window '^Firmware Upgrade Success$' 20)
    [ -n "$success" ] && break
    error=$(first_window '^Firmware Upgrade (Error|Donwload)$' 1)
    [ -z "$error" ] || fail "the upgrade failed (\"$(xdotool getwindowname "$error")\")"
done
[ -n "$success" ] || fail "no \"Firmware Upgrade Success\" alert"
import -window "$success" "$out_dir/firmware-e2e-success.png"
press_in "$success" Return
wait_window_gone "$success" 10 || fail "the success alert did not close on Return"

step "the bootloader got the image, filled up to whole blocks"
[ -s "$TRAVIK_SIM_LOG" ] || fail "the simulated device logged nothing"
grep -c '^firmware sha256 ' "$TRAVIK_SIM_LOG" | grep -qx 1 || fail "not exactly one firmware line in the device log"
grep -qx "$expected" "$TRAVIK_SIM_LOG" \
    || fail "the bootloader holds something else: $(grep '^firmware' "$TRAVIK_SIM_LOG"), expected $expected"

# ------------------------------------------------------------------------------
step "Escape closes the wizard, then the editor"
# The wizard pauses 1.5 s after the alert before it takes keys again.
sleep 2
press_in "$wizard" Escape
wait_window_gone "$wizard" 10 || fail "Escape did not close the wizard"

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

# Back under its own name after the reset, the device took no second reset on
# the way out (the wizard resets only devices still in their upgrade mode).
[ "$(grep -c '^firmware sha256 ' "$TRAVIK_SIM_LOG")" -eq 1 ] || fail "the device was reset again when the wizard closed"

echo "PASS (${SECONDS} s)"

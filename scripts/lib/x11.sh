# Shared by the scripts and tests that drive the editor under Xvfb: sourced,
# not run. There is no window manager under Xvfb: a window gets the focus with
# `xdotool windowfocus --sync`, and keys and clicks are sent without --window
# (JUCE ignores events sent to a window directly), clicks at screen positions
# worked out from the window's.

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $*"; }

# Starts Xvfb on a free display, writing its files into folder $1; sets
# xvfb_pid and exports DISPLAY.
start_xvfb()
{
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$1/display" >"$1/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local deadline=$((SECONDS + 15))
    until [ -s "$1/display" ]; do
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$1/xvfb.log")"
        [ $SECONDS -lt $deadline ] || fail "Xvfb gave no display number"
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$1/display")"
}

# Stops each running process of the given pids and waits for it.
stop_processes()
{
    local pid
    for pid in "$@"; do
        if kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
}

# The program allows one instance per machine (JUCE's lock in /var/tmp); an
# editor that runs already, from another test run say, would take our start.
wait_for_single_instance_lock()
{
    local deadline=$((SECONDS + 30))
    while lslocks -n -o PATH 2>/dev/null | grep -q 'juceAppLock_Dalvi V+ Travik'; do
        [ $SECONDS -lt $deadline ] || fail "another Dalvi V+ Travik keeps running on this machine"
        sleep 0.5
    done
}

# Window ids whose name matches the pattern $1, after waiting up to $2 seconds
# for the first one to be mapped.
wait_for_window()
{
    timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null || true
}

windows_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; }

# Waits up to $2 seconds for the window $1 to go away.
wait_window_gone()
{
    local deadline=$((SECONDS + $2))
    while xdotool getwindowname "$1" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# Waits up to $3 seconds for the window $1 to be named $2.
wait_window_named()
{
    local deadline=$((SECONDS + $3))
    while [ "$(xdotool getwindowname "$1" 2>/dev/null)" != "$2" ]; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# Sets X, Y, WIDTH and HEIGHT of window $1.
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }

focus() { xdotool windowfocus --sync "$1"; }

# Clicks at (x, y) inside window $1.
click_in()
{
    geometry "$1"
    focus "$1"
    xdotool mousemove --sync $((X + $2)) $((Y + $3)) click 1
}

press_in() { focus "$1"; xdotool key "$2"; }

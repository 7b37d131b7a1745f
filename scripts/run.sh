#!/usr/bin/env bash
# Installs what is needed, builds, and starts the editor.
#
# Where there is no usable display ($DISPLAY empty or not answering), the editor
# starts under a virtual display (Xvfb) with the simulated Dalvi V+
# (TRAVIK_MIDI=simulated) and its settings in a temporary folder; the script
# waits for the window, saves a screenshot of it to build/screenshot.png, prints
# where it is, and ends the editor.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh

build_dir="${TRAVIK_BUILD_DIR:-build}"
editor="$build_dir/app/shell/DalviVPlusTravik"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$editor"
fi

echo "No display: starting the editor under Xvfb with the simulated Dalvi V+."

work=$(mktemp -d "${TMPDIR:-/tmp}/travik-run.XXXXXX")
xvfb_pid=""
editor_pid=""

source scripts/lib/x11.sh

cleanup()
{
    stop_processes $editor_pid $xvfb_pid
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_xvfb "$work"

TRAVIK_MIDI=simulated TRAVIK_SETTINGS_DIR="$work/settings" "$editor" >"$work/editor.log" 2>&1 &
editor_pid=$!

window=""
deadline=$((SECONDS + 30))
while [ -z "$window" ]; do
    window=$(xdotool search --onlyvisible --name '^Dalvi V\+ Travik V1\.07$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    if ! kill -0 "$editor_pid" 2>/dev/null; then
        echo "The editor ended without opening its window (is another Dalvi V+ Travik running?)" >&2
        cat "$work/editor.log" >&2
        exit 1
    fi
    if [ $SECONDS -ge $deadline ]; then
        echo "The editor's window did not appear within 30 s" >&2
        exit 1
    fi
    sleep 0.2
done

# The window is mapped before its first frame is painted: wait until the view's
# light grey ground shows.
screenshot="$build_dir/screenshot.png"
deadline=$((SECONDS + 10))
while :; do
    import -window "$window" "$screenshot"
    pixel=$(convert "$screenshot" -format "%[pixel:p{5,5}]" info:)
    case "$pixel" in
        "srgb(238,238,238)"|"gray(238)"|"grey(238)") break ;;
    esac
    [ $SECONDS -lt $deadline ] || break
    sleep 0.2
done
echo "Screenshot of the editor: $(realpath "$screenshot")"

# Escape ends the editor the way a user would.
xdotool windowfocus --sync "$window" && xdotool key Escape || true
deadline=$((SECONDS + 10))
while kill -0 "$editor_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    sleep 0.1
done

#!/usr/bin/env bash
# Redraws the embedded images (resources/bg.png, prod.png, ZorvaneLogo.png) with
# tools/drawart. The PNGs are checked in, so a normal build never runs this; run it
# after changing the artwork and check the results in.
#
#   scripts/draw-resources.sh [build dir]     (default: build-art)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build-art}"

# The resources target needs the files to exist before it can be configured; a
# first run on a fresh tree starts from empty placeholders.
for image in bg.png prod.png ZorvaneLogo.png; do
    [ -e "$root/resources/$image" ] || : > "$root/resources/$image"
done

if [ ! -f "$build/CMakeCache.txt" ]; then
    generator=()
    command -v ninja >/dev/null && generator=(-G Ninja)
    cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DTRAVIK_BUILD_TESTS=OFF
fi

cmake --build "$build" --target travik_drawart -j 2

drawart="$(find "$build" -type f -name travik_drawart -perm -u+x | head -n 1)"
[ -n "$drawart" ] || { echo "travik_drawart was not built" >&2; exit 1; }

"$drawart" "$root/resources"

# The background has few colours: stored indexed, it decodes several times faster
# at start-up into the same RGB image (scripts/index-png.py).
python3 "$root/scripts/index-png.py" "$root/resources/bg.png"

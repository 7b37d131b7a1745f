#!/usr/bin/env bash
# Makes the editor's embedded typeface, Travik Sans (resources/fonts/), from
# DejaVu Sans and DejaVu Sans Bold: first a subset of each as .ttf, then the
# .typeface files the program embeds, JUCE's serialised form of the same glyphs
# (resources/fonts/PackTypeface.cpp). All of them are checked in, so a normal
# build never runs this; run it only to change the character set.
#
# Why a subset: for every glyph it loads, JUCE's FreeType typeface asks for the
# kerning against every character the font maps. With the whole DejaVu Sans
# (about 6000 characters) the first paint spent half its time in that loop; the
# UI's text needs only Latin-1 and a few symbols. Why the serialised form: read
# with juce::CustomTypeface, it draws the same glyphs without starting FreeType
# and scanning the system's fonts at start-up, which cost time and half a
# megabyte of memory. Text with any other character is still drawn with the
# system's font (app/ui/TravikLookAndFeel.cpp).
#
# The outlines, advances, vertical metrics and 'kern' pairs are DejaVu's,
# unchanged; the hinting goes (JUCE loads glyphs unhinted). The Bitstream Vera
# licence asks for a modified font to carry another name, hence "Travik Sans".
#
#   resources/make-fonts.sh [build dir]     (default: build-fonts)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/resources/fonts"
build="${1:-$root/build-fonts}"
dejavu=/usr/share/fonts/truetype/dejavu

packages=(python3-fonttools fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Printable ASCII and Latin-1; dashes, curly quotes, bullet, ellipsis, euro,
# trade mark: the set of TravikSans::covers (app/ui/TravikSans.h).
unicodes="U+0020-007E,U+00A0-00FF,U+2013,U+2014,U+2018,U+2019,U+201C,U+201D,U+2022,U+2026,U+20AC,U+2122"

mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for style in Regular Bold; do
    case $style in
        Regular) source="$dejavu/DejaVuSans.ttf" ;;
        Bold)    source="$dejavu/DejaVuSans-Bold.ttf" ;;
    esac

    # The Debian python, where python3-fonttools lives, whatever python3 is first on the PATH.
    /usr/bin/python3 -m fontTools.subset "$source" \
        --unicodes="$unicodes" \
        --legacy-kern \
        --layout-features=kern \
        --no-hinting \
        --drop-tables+=FFTM,MATH \
        --name-IDs=0,1,2,3,4,5,6,13,14 \
        --output-file="$work/subset.ttf"

    /usr/bin/python3 - "$work/subset.ttf" "$out/TravikSans-$style.ttf" <<'EOF'
import sys
from fontTools.ttLib import TTFont

font = TTFont(sys.argv[1], recalcTimestamp=False)
names = font["name"]
style = names.getDebugName(2)
family = "Travik Sans"
postscript_style = "" if style == "Book" else "-" + style
renamed = {
    1: family,
    3: family + " " + style + " (subset of DejaVu Sans)",
    4: family if style == "Book" else family + " " + style,
    6: "TravikSans" + postscript_style,
}

for record in names.names:
    if record.nameID in renamed:
        record.string = renamed[record.nameID]

font.save(sys.argv[2])
EOF
done

cp /usr/share/doc/fonts-dejavu-core/copyright "$out/LICENSE"

# The resources target needs its files to exist before it can be configured; a
# first run on a fresh tree starts from empty placeholders.
for style in Regular Bold; do
    [ -e "$out/TravikSans-$style.typeface" ] || : > "$out/TravikSans-$style.typeface"
done

if [ ! -f "$build/CMakeCache.txt" ]; then
    generator=()
    command -v ninja >/dev/null && generator=(-G Ninja)
    cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DTRAVIK_BUILD_TESTS=OFF
fi

cmake --build "$build" --target travik_packtypeface -j 2

pack="$(find "$build" -type f -name travik_packtypeface -perm -u+x | head -n 1)"
[ -n "$pack" ] || { echo "travik_packtypeface was not built" >&2; exit 1; }

for style in Regular Bold; do
    "$pack" "$out/TravikSans-$style.ttf" "$out/TravikSans-$style.typeface"
done

ls -l "$out"

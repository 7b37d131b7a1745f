#!/usr/bin/env bash
# Installs what is needed, builds, and runs the program: until the editor
# window exists, the command-line tool on the four factory maps.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh

travik="${TRAVIK_BUILD_DIR:-build}/tools/travik/travik"
for mode in Mackie Logic "Pro Tools" "User Defined"; do
    "$travik" show "$mode"
    echo
done
"$travik" send "User Defined" --simulate | head -3

#!/usr/bin/env bash
# The command-line tool end to end: exit codes, formats, and that what it prints
# is what the editor's own code produces.
set -uo pipefail
travik="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

check() {   # check DESCRIPTION EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"
        failures=$((failures + 1))
    fi
}

status() { "$@" >/dev/null 2>&1; echo $?; }

# factory: byte-for-byte the file "Save File" writes, to stdout or -o.
"$travik" factory "user defined" > ud-stdout.travik
"$travik" factory 3 -o ud.travik
check "factory to stdout equals factory -o" "$(md5sum < ud.travik)" "$(md5sum < ud-stdout.travik)"
check "first line of a map file" $'<?xml version="1.0" encoding="UTF-8"?>\r' "$(head -1 ud.travik)"
check "CR LF line ends throughout" "$(wc -l < ud.travik)" "$(grep -c $'\r$' ud.travik)"
check "mode of the file" '<map mode="User Defined" name="User Defined (MCP)">' "$(sed -n 3p ud.travik | tr -d '\r')"

# bytes: 102 lines, start and end messages, same for a mode and its factory file.
"$travik" bytes 3 > ud.bytes
check "102 messages" "102" "$(wc -l < ud.bytes)"
check "start message" "F0 1D 03 01 2A 00 04 7F F7" "$(head -1 ud.bytes)"
check "end message" "9E 7F 7F" "$(tail -1 ud.bytes)"
check "a file sends what its mode sends" "$(cat ud.bytes)" "$("$travik" bytes ud.travik)"
check "Pro Tools first control" "9F 00 0B" "$("$travik" bytes "PRO TOOLS" | sed -n 2p)"

# check: OK for a proper map, one line per problem otherwise.
check "check a proper map" "OK" "$("$travik" check ud.travik)"
sed -e 's/chan="1" value="40"/chan="0" value="40"/' -e '/id="50"/d' ud.travik > bad.travik
check "check exit status" "1" "$(status "$travik" check bad.travik)"
check "check names each problem" $'control 1 has "chan" "0", expected 1 to 16\ncontrol 50 is missing' "$("$travik" check bad.travik)"
printf '<map' > broken.travik
check "not well-formed" "Could not load mapping data" "$("$travik" check broken.travik)"

# show: 50 controls plus two header lines.
check "show lines" "52" "$("$travik" show Logic | wc -l)"
check "show names a Logic button" "1   0    note   1     40     Track                       90 28" "$("$travik" show Logic | sed -n 3p)"

# send: to the simulated device, and the failures of a real port.
check "send --simulate" "Done!" "$("$travik" send ud.travik --simulate | head -1)"
check "send to a missing port fails" "1" "$(status "$travik" send 0 --port "No Such Port")"
check "failure text" "No Such Port: device does not exist" "$("$travik" send 0 --port "No Such Port" 2>&1 >/dev/null | tail -1)"
check "loading a bad file fails" "1" "$(status "$travik" bytes bad.travik)"

# usage errors
check "no command" "2" "$(status "$travik")"
check "unknown command" "2" "$(status "$travik" frobnicate)"
check "bad mode" "2" "$(status "$travik" factory 4)"
check "send needs a port or --simulate" "2" "$(status "$travik" send 0)"
check "help" "0" "$(status "$travik" --help)"
check "ports" "0" "$(status "$travik" ports)"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all travik checks passed"

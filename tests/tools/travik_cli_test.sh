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

# recognise
check "recognise with blanks and case" "170 Dalvi V+" "$("$travik" recognise "  DALVI V+ ")"
check "recognise the longer name first" "156 Dalvi K+" "$("$travik" recognise "Dalvi K+")"
check "recognise nothing" "2000 Unknown" "$("$travik" recognise "Merrow 5")"

# firmware upgrade against the simulated bootloader: what it wrote is the image,
# padded with 0xFF to whole blocks.
head -c 1025 /dev/urandom > fw.bin
expected="$(python3 -c 'import hashlib,sys; d=open("fw.bin","rb").read(); d+=b"\xff"*(-len(d)%512); print("sha256", hashlib.sha256(d).hexdigest(), len(d))')"
check "firmware upgrade --simulate" "$expected" "$("$travik" firmware upgrade fw.bin --simulate 2>/dev/null | tail -1)"
head -c 511 /dev/urandom > small.bin
check "image too small" "Wrong file or cannot find this file!" "$("$travik" firmware upgrade small.bin --simulate 2>&1 >/dev/null | tail -1)"
check "image too small status" "1" "$(status "$travik" firmware upgrade small.bin --simulate)"
check "upgrade needs a port or --simulate" "2" "$(status "$travik" firmware upgrade fw.bin)"

# firmware list against a server on 127.0.0.1
mkdir -p www/fw
cat > www/firmware.xml <<'XML'
<firmwares>
  <firmware pid="170" name="Dalvi V+" version="1.2" fw="fw/dalvi_v_plus_1.2.bin"/>
  <firmware pid="161" name="Dalvi R+" version="2.0" fw="fw/dalvi_r_plus_2.0.bin"/>
  <firmware pid="170" name="Dalvi V+" version="1.3" fw="fw/dalvi_v_plus_1.3.bin"/>
</firmwares>
XML
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"
python3 -m http.server "$port" --bind 127.0.0.1 --directory www >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do python3 -c "import socket; socket.create_connection(('127.0.0.1',$port),1)" 2>/dev/null && break; sleep 0.1; done
base="http://127.0.0.1:$port/"
check "firmware list for 170" "Dalvi V+ v1.2	${base}fw/dalvi_v_plus_1.2.bin
Dalvi V+ v1.3	${base}fw/dalvi_v_plus_1.3.bin" "$("$travik" firmware list --server "$base")"
check "firmware list with no match" "No firmware matches in the server, please try again manually!" "$("$travik" firmware list --pid 186 --server "$base" 2>&1)"
check "special list missing" "The firmware server is currently unavailable." "$("$travik" firmware list --pid 94 --server "$base" 2>&1)"
check "unknown product" "Cannot fetch firmware details for Unknown product" "$("$travik" firmware list --pid 2000 --server "$base" 2>&1)"
check "failed list status" "1" "$(status "$travik" firmware list --pid 94 --server "$base")"
kill "$server" 2>/dev/null; wait "$server" 2>/dev/null

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

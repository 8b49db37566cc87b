#!/usr/bin/env bash
# scripts/sign with a throw-away certificate made here: the module, the
# shipped program and the setup program get signatures that osslsigncode
# verifies, and a signed file changed afterwards no longer verifies.
#   check-sign.sh WORK FILE...
set -uo pipefail
work=$1
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
status=0
fail() { echo "check-sign: $*" >&2; status=1; }

rm -rf "$work" && mkdir -p "$work"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tavrel test signing" \
  -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null || { echo "check-sign: openssl failed" >&2; exit 1; }
copies=()
for file in "$@"; do
  cp "$file" "$work/" && copies+=("$work/$(basename "$file")")
done
"$root/scripts/sign" --cert "$work/cert.pem" --key "$work/key.pem" --ca "$work/cert.pem" "${copies[@]}" ||
  fail "scripts/sign failed"
for copy in "${copies[@]}"; do
  osslsigncode verify -in "$copy" -CAfile "$work/cert.pem" >"$work/verify.log" 2>&1 ||
    { fail "$(basename "$copy") does not verify"; cat "$work/verify.log" >&2; }
  grep -q "Subject: /CN=Tavrel test signing" "$work/verify.log" || fail "$(basename "$copy") is not signed by the test certificate"
done
# A byte changed in the signed module: the signature must no longer hold.
tampered="$work/tampered.bin"
cp "${copies[0]}" "$tampered"
printf 'X' | dd of="$tampered" bs=1 seek=1024 conv=notrunc 2>/dev/null
osslsigncode verify -in "$tampered" -CAfile "$work/cert.pem" >/dev/null 2>&1 && fail "a changed signed file still verifies"
[ "$status" = 0 ] && echo "check-sign: ${#copies[@]} files signed and verified; a changed one is caught"
exit "$status"

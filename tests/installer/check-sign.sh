#!/usr/bin/env bash
# scripts/sign with a throw-away certificate made here: the module, the
# shipped program and the setup program get signatures that osslsigncode
# verifies, and a signed file changed afterwards no longer verifies. Then
# the build's makensis command with SIGN, as a signed build (TAVREL_SIGN)
# runs it: the uninstaller and the installer are signed as they are made.
#   check-sign.sh WORK MAKENSIS_ARGS FILE...
set -uo pipefail
work=$1 makensis_args=$2
shift 2
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

# Signed twice at one SOURCE_DATE_EPOCH: the signing time is that time, not
# the clock's, and the bytes are the same, so a signed release is
# reproducible with its key.
mkdir -p "$work/again1" "$work/again2"
for again in again1 again2; do
  cp "$1" "$work/$again/" &&
    SOURCE_DATE_EPOCH=1700000000 "$root/scripts/sign" --cert "$work/cert.pem" --key "$work/key.pem" \
      --ca "$work/cert.pem" "$work/$again/$(basename "$1")" >/dev/null || fail "signing at SOURCE_DATE_EPOCH failed"
done
cmp -s "$work/again1/$(basename "$1")" "$work/again2/$(basename "$1")" ||
  fail "two signatures made at one SOURCE_DATE_EPOCH differ"
osslsigncode verify -in "$work/again1/$(basename "$1")" -CAfile "$work/cert.pem" 2>&1 |
  grep -q "Signing time: Nov 14 22:13:20 2023 GMT" || fail "the signing time is not SOURCE_DATE_EPOCH"

mapfile -t args <"$makensis_args"
export TAVREL_SIGN_CERT="$work/cert.pem" TAVREL_SIGN_KEY="$work/key.pem" TAVREL_SIGN_CA="$work/cert.pem"
"${args[@]:0:${#args[@]}-1}" "-DSIGN=$root/scripts/sign --require" "-DOUTFILE=$work/signed-setup.exe" \
  "${args[-1]}" >"$work/makensis.log" 2>&1 || { fail "makensis with SIGN failed"; cat "$work/makensis.log" >&2; }
signed=$(grep -c 'signed and verified' "$work/makensis.log")
[ "$signed" = 2 ] || fail "makensis signed $signed files, expected the uninstaller and the installer"
osslsigncode verify -in "$work/signed-setup.exe" -CAfile "$work/cert.pem" >/dev/null 2>&1 ||
  fail "the installer made with SIGN does not verify"

[ "$status" = 0 ] && echo "check-sign: ${#copies[@]} files signed and verified, a changed one caught; the signed build's installer and uninstaller signed"
exit "$status"

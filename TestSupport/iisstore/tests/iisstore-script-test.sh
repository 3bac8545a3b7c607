#!/usr/bin/env bash
# iisstore.sh in the test prefix: registration writes both class keys and the description value,
# unregistration removes them. Usage: iisstore-script-test.sh STAND-IN-DLL
set -euo pipefail
: "${WINEPREFIX:?}"
here=$(cd "$(dirname "$0")" && pwd)
script="$here/../iisstore.sh"
run_wine="$here/../../wine/run-wine.sh"
dll=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'site 1 Script Site\nroot C:\\script\n' >"$work/sites.txt"

# The key's values, nothing when it is missing (reg then ends with a failure).
query() {
  local answer
  if answer=$("$run_wine" reg query "$1" </dev/null 2>/dev/null); then tr -d '\r' <<<"$answer"; fi
}
fail() { echo "FAILED: $*" >&2; exit 1; }
classes=('HKCR\CLSID\{A9E69610-B80D-11D0-B9B9-00A0C922E750}\InprocServer32'
         'HKCR\CLSID\{228FB8F7-FB53-4FD5-8C7B-FF59DE606C5B}\InprocServer32')
settings='HKCU\Software\Quillon\IisStoreStandIn'

"$script" register "$dll" "$work/sites.txt"
for key in "${classes[@]}"; do
  answer=$(query "$key")
  grep -q 'IisStoreStandIn.dll' <<<"$answer" || fail "no server path under $key: $answer"
  grep -q 'ThreadingModel.*Both' <<<"$answer" || fail "no threading model under $key"
done
grep -q "Sites.*sites.txt" <<<"$(query "$settings")" || fail "no Sites value under $settings"

"$script" unregister "$dll"
for key in "${classes[@]}"; do
  [ -z "$(query "$key")" ] || fail "$key is still there"
done
grep -q "Sites" <<<"$(query "$settings")" && fail "the Sites value is still there"

# The usage errors end with a failure and change nothing.
if "$script" register "$dll" 2>/dev/null; then fail "register without a description succeeded"; fi
if "$script" register "$work/none.dll" "$work/sites.txt" 2>/dev/null; then fail "register of a missing DLL succeeded"; fi
echo "iisstore.sh registers and unregisters"

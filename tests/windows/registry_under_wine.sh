#!/usr/bin/env bash
# The settings in the registry as other programs see them: what twinfind.exe writes, read
# back with Wine's reg, and what reg writes, read by the module.
#   registry_under_wine.sh WINDOWS_BIN SAMPLES
set -euo pipefail
windows_bin=$(realpath "$1")
samples=$(realpath "$2")
. "$(dirname "$0")/wine_prefix.sh"
start_wine_prefix
cd "$WORK"
key='HKCU\SOFTWARE\Norvane\VEX\Twinfind'
tool() { wine "$windows_bin/twinfind.exe" "$@"; }

# The key as reg exports it (UTF-16), as UTF-8 lines "name"="text" in the order of the export.
export_key() {
  rm -f export.reg
  wine reg export "$key" export.reg /y >/dev/null
  iconv -f UTF-16 -t UTF-8 export.reg | tr -d '\r' | grep '^"' | sort
}
value_of() { export_key | sed -n "s/^\"$1\"=\"\(.*\)\"\$/\1/p"; }
found_parts() {  # the count the general method reports on the demo plate
  tool run "$samples/demo-plate.dxf" --script "$samples/demo-general.script" |
    sed -n 's/^info: 총 \([0-9]*\)개.*/\1/p' | head -n 1
}

# The first start writes all 24 values, every one REG_SZ, with the defaults the tool lists; the
# list ends with the optional settings (the tolerance, the range limit, the drawing scale, the
# language), which are not written.
tool settings list > all.txt
[ "$(wc -l < all.txt)" = 28 ] || fail "settings list did not show 24 settings and the 4 optional"
[ "$(tail -n 4 all.txt | cut -d' ' -f1 | tr '\n' ' ')" = "mTolerance mRangeLimit mDrawingScale mLanguage " ] ||
  fail "the optional settings are not listed last"
head -n 24 all.txt | sed 's/  # .*$//' > defaults.txt  # NAME VALUE, its meaning left out
wine reg query "$key" | tr -d '\r' | grep -E '^    ' > query.txt
[ "$(wc -l < query.txt)" = 24 ] || fail "the key holds $(wc -l < query.txt) values, not 24"
[ "$(grep -c '    REG_SZ    ' query.txt)" = 24 ] || fail "not every value is REG_SZ"
while read -r name text; do
  grep -qx "    $name    REG_SZ    $text" query.txt || fail "$name is not \"$text\" in the registry"
done < defaults.txt

# Written by the module, read by reg: text with quotes, backslashes and Korean, 126 characters.
long126=$(printf 'x%.0s' $(seq 126))
tool settings set mDPChar 'C:\dir "깊이"'
[ "$(value_of mDPChar)" = 'C:\\dir \"깊이\"' ] || fail "mDPChar reads back as $(value_of mDPChar)"
tool settings set mBalloonStr "$long126"
[ "$(value_of mBalloonStr)" = "$long126" ] || fail "126 characters did not reach the registry"

# Written by reg, read by the module.
wine reg add "$key" /v mBalloonSize /t REG_SZ /d 2.50000 /f >/dev/null
[ "$(tool settings get mBalloonSize)" = 2.50000 ] || fail "the module did not read reg's text"
wine reg add "$key" /v mBalloonStr /t REG_SZ /d "$long126" /f >/dev/null
[ "$(tool settings get mBalloonStr)" = "$long126" ] || fail "126 characters did not read"
# 127 characters exceed the 255-byte limit: missing, so the default is written back.
wine reg add "$key" /v mBalloonStr /t REG_SZ /d "${long126}y" /f >/dev/null
[ "$(tool settings get mBalloonStr)" = 101 ] || fail "127 characters were read"
[ "$(value_of mBalloonStr)" = 101 ] || fail "the default did not replace 127 characters"
# A value of another type is read as its bytes.
wine reg add "$key" /v mBalloonStr /t REG_DWORD /d 0x00410042 /f >/dev/null
[ "$(tool settings get mBalloonStr)" = BA ] || fail "a REG_DWORD did not read as its bytes"

# A missing value is written back with its default, and nothing else changes.
wine reg add "$key" /v mBalloonStr /t REG_SZ /d 101 /f >/dev/null
export_key > before.txt
wine reg delete "$key" /v mIsDepth /f >/dev/null
[ "$(tool settings get mIsDepth)" = 1 ] || fail "a missing mIsDepth did not read as its default"
export_key > after.txt
cmp -s before.txt after.txt || fail "more than the missing value was written"

# A flag is set only by the text "1": 01, true and "1 " turn the rotated twins off.
wine reg add "$key" /v mIsRotate /t REG_SZ /d 1 /f >/dev/null
with_rotation=$(found_parts)
wine reg add "$key" /v mIsRotate /t REG_SZ /d 0 /f >/dev/null
without_rotation=$(found_parts)
[ -n "$with_rotation" ] && [ "$with_rotation" != "$without_rotation" ] ||
  fail "mIsRotate 1 and 0 found the same ($with_rotation)"
for text in 01 true '1 '; do
  wine reg add "$key" /v mIsRotate /t REG_SZ /d "$text" /f >/dev/null
  [ "$(found_parts)" = "$without_rotation" ] || fail "mIsRotate \"$text\" counted as 1"
done

echo "registry: 24 REG_SZ values, both ways, the 126 and 127 characters, flags, defaults"

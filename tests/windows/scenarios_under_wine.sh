#!/usr/bin/env bash
# The tool's scenarios on Linux and under Wine must print the same transcripts, byte for byte,
# and write the same drawings and SVG pictures: the demo, the bundled scripts on the demo
# plate (also fed through standard input with CR LF line ends), and the settings command.
#   scenarios_under_wine.sh LINUX_TOOL WINDOWS_BIN SAMPLES
set -euo pipefail
linux_tool=$(realpath "$1")
windows_bin=$(realpath "$2")
samples=$(realpath "$3")
. "$(dirname "$0")/wine_prefix.sh"
start_wine_prefix
[ -x "$linux_tool" ] || fail "no Linux build of the tool at $linux_tool (cmake --build --preset default)"
cd "$WORK"
checked=0

# One scenario: the same words to both tools, each with fresh settings; standard output,
# standard error and the exit status must agree, and so must the outputs named after it.
scenario() {
  local name=$1 input=$2
  shift 2
  local outputs=()
  while [ "$1" != "--" ]; do outputs+=("$1"); shift; done
  shift
  mkdir -p "linux/$name" "windows/$name"
  wine reg delete 'HKCU\SOFTWARE\Norvane' /f >/dev/null 2>&1 || true
  local lstatus=0 wstatus=0
  (cd "linux/$name" && TWINFIND_SETTINGS="$WORK/linux/$name.reg" \
     "$linux_tool" "$@" <"$input" >stdout 2>stderr) || lstatus=$?
  (cd "windows/$name" && wine "$windows_bin/twinfind.exe" "$@" <"$input" >stdout 2>stderr) ||
    wstatus=$?
  [ "$lstatus" = "$wstatus" ] || fail "$name: exit status $lstatus on Linux, $wstatus under Wine"
  for file in stdout stderr "${outputs[@]}"; do
    cmp -s "linux/$name/$file" "windows/$name/$file" ||
      { diff "linux/$name/$file" "windows/$name/$file" | head -20 >&2; fail "$name: $file differs"; }
  done
  checked=$((checked + 1))
}

printf 'range -20 -20 440 280\r\nrange 18 18 62 52\r\nend\r\nmove 0 -90\r\npoint 0 -90\r\nend\r\nend\r\n' \
  > crlf.script
: > empty

scenario demo "$WORK/empty" out/demo.dxf out/demo.svg -- demo --out out
# The demo's settings were its own: neither the user's key nor the demo's scratch key is there.
if wine reg query 'HKCU\SOFTWARE\Norvane\VEX' /s 2>/dev/null | grep -q Twinfind; then
  fail "the demo left settings in the registry"
fi
scenario general "$WORK/empty" out.dxf out.svg -- \
  run "$samples/demo-plate.dxf" --script "$samples/demo-general.script" --out out.dxf --svg out.svg
scenario general-stdin "$WORK/crlf.script" out.dxf -- run "$samples/demo-plate.dxf" --out out.dxf
scenario settings-list "$WORK/empty" -- settings list
scenario settings-get "$WORK/empty" -- settings get mBalloonStr
scenario settings-set "$WORK/empty" -- settings set mDPChar "깊이 \"T\""
[ "$(wine "$windows_bin/twinfind.exe" settings get mDPChar)" = '깊이 "T"' ] ||
  fail "settings set did not store the text under Wine"
scenario settings-too-long "$WORK/empty" -- settings set mDPChar "$(printf 'x%.0s' $(seq 127))"
scenario settings-unknown "$WORK/empty" -- settings set mNoSuch 1
scenario help "$WORK/empty" -- --help
scenario bad-option "$WORK/empty" -- run --no-such-option

# The parts list and the blocks of a survey: the same part files, pictures and drawing. The
# list names each file by its absolute path, which is the system's own; the rest is the same.
# The transcript names the files with the system's own separator.
mkdir -p linux/survey-split windows/survey-split
wine reg delete 'HKCU\SOFTWARE\Norvane' /f >/dev/null 2>&1 || true
split_args=(survey "$samples/part-sheet.dxf" --split parts --split-svg --out blocks.dxf --blocks)
(cd linux/survey-split && TWINFIND_SETTINGS="$WORK/linux/survey-split.reg" "$linux_tool" \
   "${split_args[@]}" >stdout 2>stderr) || fail "survey-split failed on Linux"
(cd windows/survey-split && wine "$windows_bin/twinfind.exe" "${split_args[@]}" >stdout 2>stderr) ||
  fail "survey-split failed under Wine"
tr '\\' / <windows/survey-split/stdout >windows-split-stdout
for file in stdout stderr blocks.dxf parts/sheet.svg; do
  other="windows/survey-split/$file"
  [ "$file" = stdout ] && other=windows-split-stdout
  cmp -s "linux/survey-split/$file" "$other" ||
    { diff "linux/survey-split/$file" "$other" | head -20 >&2; fail "survey-split: $file differs"; }
done
checked=$((checked + 1))
[ "$(ls linux/survey-split/parts)" = "$(ls windows/survey-split/parts)" ] ||
  fail "survey-split: other part files under Wine"
[ -e linux/survey-split/parts/part-01.dxf ] || fail "survey-split: no part files"
for file in linux/survey-split/parts/part-*; do
  cmp -s "$file" "windows/${file#linux/}" || fail "survey-split: ${file#linux/} differs"
done
for list in parts.csv parts.json; do
  for side in linux windows; do
    # The path column, and the paths of parts.json, taken out.
    sed -E 's/^[^,]*,//; s/"path": *"[^"]*",?//' "$side/survey-split/parts/$list" > "$side-$list"
  done
  cmp -s "linux-$list" "windows-$list" ||
    { diff "linux-$list" "windows-$list" | head -20 >&2; fail "survey-split: $list differs"; }
done
grep -q '^Z:\\' windows/survey-split/parts/parts.csv ||
  { head -3 windows/survey-split/parts/parts.csv >&2; fail "survey-split: no Windows path in parts.csv"; }

# The balloon method, after the settings command has chosen it on both systems.
mkdir -p linux/balloon windows/balloon
wine reg delete 'HKCU\SOFTWARE\Norvane' /f >/dev/null 2>&1 || true
TWINFIND_SETTINGS="$WORK/linux/balloon.reg" "$linux_tool" settings set mMethod 1
wine "$windows_bin/twinfind.exe" settings set mMethod 1
(cd linux/balloon && TWINFIND_SETTINGS="$WORK/linux/balloon.reg" "$linux_tool" run \
   "$samples/demo-plate.dxf" --script "$samples/demo-balloon.script" --out out.dxf >stdout 2>stderr)
(cd windows/balloon && wine "$windows_bin/twinfind.exe" run "$samples/demo-plate.dxf" \
   --script "$samples/demo-balloon.script" --out out.dxf >stdout 2>stderr)
for file in stdout stderr out.dxf; do
  cmp -s "linux/balloon/$file" "windows/balloon/$file" || fail "balloon: $file differs"
done
checked=$((checked + 1))

# The PNG pictures are drawn by different painters (cairo, GDI+); both must be PNG files.
wine "$windows_bin/twinfind.exe" run "$samples/demo-plate.dxf" --png shot.png </dev/null >/dev/null
[ "$(head -c 8 shot.png | od -An -tx1 | tr -d ' ')" = "89504e470d0a1a0a" ] || fail "no PNG"
[ "$(head -c 8 windows/demo/out/demo.png | od -An -tx1 | tr -d ' ')" = "89504e470d0a1a0a" ] ||
  fail "the demo wrote no PNG"

# A settings file is a thing of other systems: on Windows the tool says where the settings are.
if wine "$windows_bin/twinfind.exe" settings list --settings x.reg >/dev/null 2>err; then
  fail "--settings was taken under Windows"
fi
grep -q 'HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind' err || fail "no word of the registry"

echo "$checked scenarios: the same transcripts on Linux and under Wine"

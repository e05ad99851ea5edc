#!/usr/bin/env bash
# The real dialogs of Twinfind.dll under Wine, on an X server of their own (Xvfb): the
# settings dialog opened from the first prompt of twinfind.exe, driven by posted messages
# (clicks, typed text, Enter, Escape) through dialog_driver.exe; what the registry holds after
# OK and after Cancel; and a screenshot of each dialog (import -window root).
#   dialogs_under_wine.sh WINDOWS_BIN [SCREENSHOT_FOLDER]
set -euo pipefail
windows_bin=$(realpath "$1")
shots=${2:-}
. "$(dirname "$0")/wine_prefix.sh"
start_wine_prefix
cd "$WORK"
for program in Xvfb import; do
  command -v "$program" >/dev/null || fail "$program is missing (Debian: xvfb, imagemagick)"
done

# An X server on a display number no other one uses.
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true; rm -rf "$WORK"' EXIT
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$WORK/display")"
use_virtual_desktop

settings='동일부품검색'
key='HKCU\SOFTWARE\Norvane\VEX\Twinfind'
driver() { wine "$windows_bin/dialog_driver.exe" "$@"; }
export_key() {
  rm -f export.reg
  wine reg export "$key" export.reg /y >/dev/null
  iconv -f UTF-16 -t UTF-8 export.reg | tr -d '\r' | grep '^"' | sort
}
# The dialog of that caption as it is on the screen, once it has painted.
screenshot() {
  local caption=$1 name=$2 x y w h
  read -r x y w h < <(driver wait "$caption")
  sleep 1
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$WORK/$name.png"
  [ -z "$shots" ] || cp "$WORK/$name.png" "$shots/$name.png"
}
expect_state() {  # the controls of the settings dialog, each "ID check|text|list VALUE"
  driver state "$settings" | tr -d '\r' > state.txt
  for line in "$@"; do grep -qxF "$line" state.txt || fail "the dialog does not show: $line"; done
}
# The command's first prompt; its end button opens the settings dialog.
open_settings() {
  printf 'end\n' | wine "$windows_bin/twinfind.exe" run > "$1" 2>&1 &
  command_pid=$!
  driver wait "$settings" >/dev/null || fail "the settings dialog did not open"
}
closed() {
  driver gone "$settings" || fail "the settings dialog did not close"
  wait "$command_pid" || fail "twinfind.exe ended with an error"
}

# 1. A fresh registry: the defaults, the two pickers, changes, and OK.
open_settings first-run.txt
expect_state "12012 check 1" "12013 check 0" "12016 text 5.0" "12017 text 5.0" "12019 check 1" \
  "12020 text 801" "12025 check 1" "12014 check 1" "12015 check 1" "12021 check 1" \
  "12022 list 0" "12009 check 1" "12018 text T" "12023 check 1" "12006 check 1" \
  "12007 check 0" "12008 check 0" "12024 check 0" "12002 check 1" "12003 check 0" \
  "12004 check 0" "12001 check 1" "12000 text 5.0" "12005 text 5.0"
screenshot "$settings" settings
driver click "$settings" 12013             # the balloon method
driver click "$settings" 12007             # the same layer only
driver click "$settings" 12003             # delete the twins
driver type "$settings" 12016 7.5          # the balloon diameter
driver type "$settings" 12018 '깊이'       # the depth prefix, typed in Korean
driver type "$settings" 12020 0            # a layer number that shows as 1 next time
driver click "$settings" 12022             # the material row list: open, one down, Enter
driver key "$settings" down
driver key "$settings" enter
driver click "$settings" 12010             # the colour picker: preset on MAINCOLOR06
screenshot 'Color Property' color-picker
driver click 'Color Property' 17040        # MAINCOLOR10, then Enter: OK
driver key 'Color Property' enter
driver gone 'Color Property' || fail "Enter did not close the colour picker"
driver click "$settings" 12011             # the line-type picker
screenshot 'Line Type Property' linetype-picker
driver dblclick 'Line Type Property' 17083 # LINETYPE07: a double-click selects and closes
driver gone 'Line Type Property' || fail "a double-click did not close the line-type picker"
expect_state "12012 check 0" "12013 check 1" "12007 check 1" "12002 check 0" "12003 check 1" \
  "12016 text 7.5" "12018 text 깊이" "12020 text 0" "12022 list 1"
driver key "$settings" enter               # OK
closed
grep -qxF 'prompt: 검색대상 범위지시(종료버튼:Dialog) :' first-run.txt || fail "no first prompt"
export_key > after-ok.txt
for value in '"mMethod"="1"' '"mIsLayer"="1"' '"mFigure"="1"' '"mBalloonSize"="7.5"' \
  '"mDPChar"="깊이"' '"mBalloonLayer"="0"' '"mMaterial"="1"' '"m_ColorMain"="MAINCOLOR10"' \
  '"mLTypeName"="LINETYPE07"' '"mIsRotate"="1"' '"mIsSymmetry"="0"' '"mArrangeWidth"="5.0"' \
  '"mBalloonStr"="101"'; do
  grep -qxF "$value" after-ok.txt || fail "after OK the registry lacks $value"
done
[ "$(wc -l < after-ok.txt)" = 24 ] || fail "after OK the key holds $(wc -l < after-ok.txt) values"

# 2. What was stored shows again; changes, a cancelled picker, then Escape: nothing is stored.
open_settings second-run.txt
expect_state "12013 check 1" "12016 text 7.5" "12018 text 깊이" "12020 text 1" "12022 list 1" \
  "12003 check 1" "12007 check 1"
driver click "$settings" 12006
driver type "$settings" 12000 9
driver click "$settings" 12010
driver dblclick 'Color Property' 17015     # MAINCOLOR01, closed with OK
driver gone 'Color Property' || fail "a double-click did not close the colour picker"
driver click "$settings" 12011
driver click 'Line Type Property' 17086
driver key 'Line Type Property' escape     # the line-type picker cancelled
driver gone 'Line Type Property' || fail "Escape did not close the line-type picker"
expect_state "12006 check 0" "12000 text 9"
driver key "$settings" escape              # Cancel
closed
export_key > after-cancel.txt
cmp -s after-ok.txt after-cancel.txt || fail "Cancel changed the registry"

# 3. In English (mLanguage en): the same dialog, every text English, Korean nowhere.
wine "$windows_bin/twinfind.exe" settings set mLanguage en >/dev/null
english='Identical Part Search'
printf 'end\n' | wine "$windows_bin/twinfind.exe" run > english-run.txt 2>&1 &
command_pid=$!
driver wait "$english" >/dev/null || fail "the English settings dialog did not open"
screenshot "$english" settings-english
driver texts "$english" | tr -d '\r' > texts.txt
for text in 'Search conditions' 'Same layer only' 'Mirrored parts are identical' 'OK'; do
  grep -qxF "$text" texts.txt || fail "the English dialog does not show: $text"
done
! grep -qP '[\x{AC00}-\x{D7A3}]' texts.txt || fail "the English dialog shows Korean: $(cat texts.txt)"
driver key "$english" escape
driver gone "$english" || fail "the English settings dialog did not close"
wait "$command_pid" || fail "twinfind.exe ended with an error"
grep -qxF 'prompt: Indicate the search range (end button: Dialog) :' english-run.txt ||
  fail "no English first prompt"

echo "dialogs: defaults shown, both pickers, OK stored, Cancel stored nothing, English; 4 screenshots"

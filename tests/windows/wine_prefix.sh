# Sourced by the tests under Wine: a Wine prefix of the test's own in a temporary folder,
# removed again with everything in it when the test ends.
#   start_wine_prefix      makes the folder and the prefix; sets WORK and WINEPREFIX
#   use_virtual_desktop    one 800 x 600 virtual desktop, and "MS Shell Dlg" replaced by
#                          NanumGothic (fonts-nanum), so that the dialogs' Korean texts render
export WINEDEBUG=-all
export LC_ALL=C.UTF-8  # Wine reads the arguments of its programs in the locale's encoding
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer in the prefix

start_wine_prefix() {
  WORK=$(mktemp -d "${TMPDIR:-/tmp}/twinfind-wine-test-XXXXXX")
  export WINEPREFIX="$WORK/prefix"
  trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WORK"' EXIT
  wineboot -i >/dev/null 2>&1
  wineserver -w
}

use_virtual_desktop() {
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 800x600 /f >/dev/null
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "MS Shell Dlg" /t REG_SZ \
    /d NanumGothic /f >/dev/null
  # The settings take effect when the next Wine session starts.
  wineserver -w
}

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

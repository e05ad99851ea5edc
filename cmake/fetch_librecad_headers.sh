#!/usr/bin/env bash
# Puts LibreCAD's plug-in headers (qc_plugininterface.h, document_interface.h) into DIR/include,
# taken from Debian's source package of the LibreCAD version installed here, so that the plug-in
# is built against the interface the installed program was built with. Debian ships no headers
# for it. The source list, the package lists and the downloads live in DIR alone: nothing is
# written into the system's apt configuration, and nothing of LibreCAD enters the project.
#
#   cmake/fetch_librecad_headers.sh DIR
set -euo pipefail
dir=${1:?usage: fetch_librecad_headers.sh DIR}
version=$(dpkg-query -W -f='${Version}' librecad 2>/dev/null) ||
  { echo "LibreCAD is not installed (apt-get install librecad)" >&2; exit 1; }
stamp="$dir/include/VERSION"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version" ]; then exit 0; fi

# The suite the installed version came from: the first deb source of the system's that offers
# it, as a deb-src line of our own.
suites=$(apt-cache policy librecad | awk -v v="$version" '
  $0 ~ "^ *(\\*\\*\\* )?" v " " { take = 1; next }
  take && /^ +[0-9]+ http/ { print $2, $3 }
  take && /^ +(\*\*\* )?[0-9]/ && !/http/ { take = 0 }')
[ -n "$suites" ] || { echo "no package source offers librecad $version" >&2; exit 1; }

work="$dir/apt"
rm -rf "$work" "$dir/include"
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/source"
while read -r uri suite; do
  echo "deb-src $uri ${suite%%/*} ${suite#*/}"
done <<<"$suites" >"$work/sources.list"
apt_options=(-o "Dir::Etc::SourceList=$PWD/$work/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
             -o "Dir::State::Lists=$PWD/$work/lists" -o "Dir::Cache=$PWD/$work/cache"
             -o "Debug::NoLocking=1" -o "APT::Sandbox::User=root")
echo "Fetching Debian's source of librecad $version for its plug-in headers"
apt-get "${apt_options[@]}" -qq update
(cd "$work/source" && apt-get "${apt_options[@]}" -qq source --download-only "librecad=$version")
dsc=$(ls "$work"/source/*.dsc)
dpkg-source --no-check -x "$dsc" "$work/source/tree" >/dev/null
mkdir -p "$dir/include"
cp "$work/source/tree/librecad/src/plugins/qc_plugininterface.h" \
   "$work/source/tree/librecad/src/plugins/document_interface.h" "$dir/include/"
rm -rf "$work"
echo "$version" >"$stamp"

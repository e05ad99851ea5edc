#!/usr/bin/env bash
# Prepares what the Windows build takes from outside the mingw-w64 tree (see
# cmake/windows_deps.cmake) in the folder given (./dev windows: build/windows-deps):
# Debian's Boost and CLI11 headers, linked, and dxflib's sources from Debian's source package, fetched
# with apt-get through a private list of source archives (the machine's own apt settings are
# not changed). Run again, it does only what is missing.
set -euo pipefail
deps=$(realpath -m "$1")
mkdir -p "$deps/include"
ln -sfn /usr/include/boost "$deps/include/boost"
ln -sfn /usr/include/CLI "$deps/include/CLI"

if [ ! -f "$deps/dxflib/src/dl_dxf.cpp" ]; then
  apt_dir="$deps/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/source"
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
       "http://deb.debian.org/debian $codename main" > "$apt_dir/sources.list"
  apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
               -o "APT::Sandbox::User=root"
               -o "Dir::State::Lists=$apt_dir/lists")
  apt-get "${apt_options[@]}" update -qq
  (cd "$apt_dir/source" && apt-get "${apt_options[@]}" -qq source --download-only dxflib)
  tarball=$(ls "$apt_dir"/source/dxflib_*.orig.tar.* | head -n 1)
  rm -rf "$deps/dxflib.tmp"
  mkdir -p "$deps/dxflib.tmp"
  tar -xf "$tarball" -C "$deps/dxflib.tmp" --strip-components=1
  rm -rf "$deps/dxflib"
  mv "$deps/dxflib.tmp" "$deps/dxflib"
fi
ln -sfn ../dxflib/src "$deps/include/dxflib"

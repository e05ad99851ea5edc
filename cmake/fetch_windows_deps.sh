#!/usr/bin/env bash
# Prepares what the Windows build takes from outside the mingw-w64 tree (see
# cmake/windows_deps.cmake) in the folder given (./dev windows: build/windows-deps):
# Debian's Boost and CLI11 headers, linked. Run again, it does only what is missing.
set -euo pipefail
deps=$(realpath -m "$1")
mkdir -p "$deps/include"
ln -sfn /usr/include/boost "$deps/include/boost"
ln -sfn /usr/include/CLI "$deps/include/CLI"


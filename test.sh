#!/usr/bin/env bash
# Builds pinglog and runs every test: the Linux program's unit and process-level tests,
# then the Windows program, cross-built with mingw-w64, under Wine.
# On a fresh Debian machine it first installs what the builds and the tests need.
# The process-level tests that build network namespaces, and Wine's ICMP, need root;
# without it they say why and are skipped.
set -euo pipefail
cd "$(dirname "$0")"

tools/ensure-packages.sh cmake ninja-build g++ libgtest-dev googletest iproute2 procps \
  util-linux tzdata binutils g++-mingw-w64-x86-64-posix wine wine64

echo "== Linux build and tests"
cmake -S . -B build -G Ninja -DPINGLOG_REQUIRE_TESTS=ON
cmake --build build
ctest --test-dir build --output-on-failure -j2

echo "== Windows build (mingw-w64) and tests under Wine"
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DPINGLOG_LINUX_PROGRAM="$PWD/build/pinglog"
cmake --build build-win
export WINEPREFIX=$PWD/build-win/wineprefix
# A fresh prefix takes several seconds to make: once per build directory.
[ -d "$WINEPREFIX/drive_c" ] || WINEDEBUG=-all /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
ctest --test-dir build-win --output-on-failure

#!/usr/bin/env bash
# Builds pinglog and runs every test:
#   1. the Linux program: unit tests and process-level tests (loopback, test network
#      namespaces, faults on the log, hostile peers, clock steps, a long run), and the
#      page's script (ESLint, its Node tests against the program's drawing);
#   2. static analysis (clang-tidy, cppcheck);
#   3. the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   4. the libFuzzer targets, a few seconds each from their seed corpora;
#   5. the Windows program, cross-built with mingw-w64, under Wine;
#   6. the packages: the Debian package (lintian, manual pages, the service unit, the
#      extracted program on loopback), cmake --install, and the Windows zip.
# On a fresh Debian machine it first installs what the builds and the tests need.
# The tests that build network namespaces or mounts, and Wine's ICMP, need root;
# without it they say why and are skipped.
set -euo pipefail
cd "$(dirname "$0")"

tools/ensure-packages.sh cmake ninja-build g++ libgtest-dev googletest iproute2 procps \
  util-linux tzdata faketime binutils clang clang-tidy clang-format cppcheck libclang-rt-14-dev \
  nlohmann-json3-dev libcli11-dev chromium python3 g++-mingw-w64-x86-64-posix wine wine64 \
  lintian man-db groff-base systemd prometheus prometheus-node-exporter libhowardhinnant-date-dev \
  libdate-tz3 strace curl libxml2-utils libxml2-dev poppler-utils nodejs
# The page script's lint and test tools, at the versions package-lock.json pins.
command -v npm >/dev/null || tools/ensure-packages.sh npm
npm ci --no-audit --no-fund --loglevel=error

echo "== 1. Linux build and tests"
cmake -S . -B build -G Ninja -DPINGLOG_REQUIRE_TESTS=ON
cmake --build build
ctest --test-dir build --output-on-failure -j2

echo "== 2. Static analysis"
tools/static-analysis.sh build

echo "== 3. Sanitized build and tests"
cmake -S . -B build-sanitize -G Ninja -DPINGLOG_REQUIRE_TESTS=ON -DPINGLOG_SANITIZE=ON
cmake --build build-sanitize
ctest --test-dir build-sanitize --output-on-failure -j2

echo "== 4. Fuzz targets"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DPINGLOG_FUZZ=ON
cmake --build build-fuzz
ctest --test-dir build-fuzz --output-on-failure -j2

echo "== 5. Windows build (mingw-w64) and tests under Wine"
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DPINGLOG_LINUX_PROGRAM="$PWD/build/pinglog"
cmake --build build-win
export WINEPREFIX=$PWD/build-win/wineprefix
# A fresh prefix takes several seconds to make: once per build directory.
[ -d "$WINEPREFIX/drive_c" ] || WINEDEBUG=-all /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
ctest --test-dir build-win --output-on-failure

echo "== 6. Packages"
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DPINGLOG_TESTS=OFF \
  -DPINGLOG_SYSTEMD_UNIT_DIR=/lib/systemd/system
cmake --build build-package
(cd build-package && cpack -G DEB)
cmake --build build-win --target zip
bash tests/package/package_test.sh build-package build-win
bash tests/package/install_paths_test.sh

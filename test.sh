#!/usr/bin/env bash
# Builds pinglog and runs every test: unit tests and the process-level tests.
# On a fresh Debian machine it first installs what the build and the tests need.
# The process-level tests that build network namespaces need root; without it they
# say why and are skipped.
set -euo pipefail
cd "$(dirname "$0")"

tools/ensure-packages.sh cmake ninja-build g++ libgtest-dev iproute2 procps util-linux tzdata

cmake -S . -B build -G Ninja -DPINGLOG_REQUIRE_TESTS=ON
cmake --build build
ctest --test-dir build --output-on-failure -j2

#!/usr/bin/env bash
# Static analysis of the program's own code: the formatting (.clang-format), the
# report's rooms (tools/check-rooms.sh), no colour written in the report's C++,
# clang-tidy (.clang-tidy, findings are errors, no function over 80 lines) over the
# Linux build's compile commands, and cppcheck over every layer, Windows included.
# Usage: tools/static-analysis.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

echo "clang-format:"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "the report's rooms:"
tools/check-rooms.sh
echo "colours in the style sheets only:"
# The palette is report/write/drawing/palette.css; C++ names its entries, never a colour.
if git grep -nE "#[0-9a-fA-F]{3}([0-9a-fA-F]{3})?\b[^\"]*\"" -- 'report/*.cpp' 'report/*.h'; then
  echo "a colour in C++: put it in report/write/drawing/palette.css"
  exit 1
fi
echo "clang-tidy:"
ls app/*.cpp check/*.cpp ping/*.cpp support/*.cpp report/*.cpp report/*/*.cpp report/write/*/*.cpp \
  platform/platform.cpp platform/posix/*.cpp |
  xargs -P2 -n4 clang-tidy -p "$build" --quiet
echo "cppcheck:"
# useStlAlgorithm only suggests replacing short plain loops with algorithm calls.
cppcheck --enable=warning,performance,portability,style --std=c++20 --inline-suppr --quiet \
  --suppress=useStlAlgorithm --error-exitcode=1 -I . app check ping support report platform
echo "static analysis: clean"

# The page's script on its own: ESLint over its modules and their tests (the version
# package.json pins, installed by `npm ci`), then its Node tests, which draw and word
# what pinglog-report's pages carry and compare that with the program's own drawing.
source "$(dirname "$0")/lib.sh"
ROOT=$(readlink -f "$(dirname "$0")/../..")
REPORT=${PINGLOG_BUILD:-$(dirname "$PINGLOG")}/pinglog-report
[ -x "$REPORT" ] && [ -x "$PINGLOG_MAKE_LOG" ] || skip "pinglog-report or make_log is not built"
command -v node >/dev/null || skip "Node.js is not installed"
[ -x "$ROOT/node_modules/.bin/eslint" ] || skip "ESLint is not installed (npm ci in $ROOT)"

check "ESLint finds nothing in the script or its tests" \
  bash -c "cd '$ROOT' && node_modules/.bin/eslint --max-warnings 0 report/write/page/script tests/page"
check "the script draws and words as the program does" \
  env PINGLOG_REPORT="$REPORT" PINGLOG_MAKE_LOG="$(readlink -f "$PINGLOG_MAKE_LOG")" \
  bash -c "cd '$ROOT' && node --test tests/page/ >'$WORK/node.txt' 2>&1 || { cat '$WORK/node.txt'; exit 1; }"
finish

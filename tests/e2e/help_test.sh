# Every program answers --help and --version by itself, and its manual page lists
# every option its --help names, so that a new option cannot be left out of it.
source "$(dirname "$0")/lib.sh"
BUILD=${PINGLOG_BUILD:-$(dirname "$PINGLOG")}
MAN_DIR=$(dirname "$0")/../../packaging/man

# The options a text names: --word, with \- as the manual page writes a dash.
options() { sed 's/\\-/-/g' | grep -o -- '--[a-z][a-z-]*' | sort -u; }

for program in pinglog pinglog-check pinglog-report; do
  [ -x "$BUILD/$program" ] || { echo "SKIP: $program was not built"; continue; }
  STATUS=0
  version=$("$BUILD/$program" --version 2>&1) || STATUS=$?
  check_that "$program --version: exit 0, its name and version ($version)" \
    '[ "$STATUS" = 0 ] && [ "$version" = "$program 1.0.0" ]'
  STATUS=0
  "$BUILD/$program" --help >"$WORK/help" 2>&1 || STATUS=$?
  check "$program --help: exit 0" [ "$STATUS" = 0 ]
  missing=$(comm -23 <(options <"$WORK/help") <(options <"$MAN_DIR/$program.1") | tr '\n' ' ')
  check "the manual page of $program lists every option of its --help${missing:+ (not: $missing)}" \
    [ -z "$missing" ]
done
finish

#!/usr/bin/env bash
# pinglog-report's rooms include one way only: logs <- model <- write <- live <- the
# program (main.cpp, options.*); third-party headers stay in theirs: the date library
# in the zone code, nlohmann-json in write/, CLI11 in the options. Prints each wrong
# include and fails; prints nothing else.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
wrong() { echo "$1: includes $2 ($3)"; status=1; }
# The rooms a room may include from, itself among them.
declare -A may=([logs]="logs" [model]="logs model" [write]="logs model write"
                [live]="logs model write live")
while IFS= read -r file; do
  room=${file#report/}
  room=${room%%/*}
  [ -n "${may[$room]:-}" ] || room=program
  while IFS= read -r header; do
    case $header in
      report/*)
        target=${header#report/}
        target=${target%%/*}
        [ "$room" = program ] && continue
        [[ " ${may[$room]} " == *" $target "* ]] || wrong "$file" "$header" "$room may not use $target"
        ;;
      nlohmann/*) [ "$room" = write ] || wrong "$file" "$header" "nlohmann-json only in write/" ;;
      CLI/*) [[ $file == report/options.cpp ]] || wrong "$file" "$header" "CLI11 only in the options" ;;
      date/*) [[ $file == report/model/zone_time.cpp ]] || wrong "$file" "$header" "the date library only in the zone code" ;;
    esac
  done < <(sed -n 's/^#include [<"]\([^>"]*\)[>"].*/\1/p' "$file")
done < <(find report -name '*.cpp' -o -name '*.h' -o -name '*.in' | sort)
exit $status

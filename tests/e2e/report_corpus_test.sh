# Every output of pinglog-report, pinned on a corpus of small logs made to put values
# where a slip would move them (tests/e2e/helpers/report_corpus.py says which): the
# terminal, CSV, JSON, SVG, the page's tables and data, OpenMetrics and the textfile,
# each compared with its expected file in tests/e2e/corpus, checked by hand once.
# A change to an output shows in the diff of those files; to take one on purpose:
#   python3 tests/e2e/helpers/report_corpus.py build/pinglog-report tests/e2e/corpus /tmp/corpus --update
# then read every changed line before committing it.
source "$(dirname "$0")/lib.sh"
REPORT=${PINGLOG_BUILD:-$(dirname "$PINGLOG")}/pinglog-report
[ -x "$REPORT" ] || skip "pinglog-report was not built (nlohmann-json or CLI11 missing)"
exec python3 "$(dirname "$0")/helpers/report_corpus.py" "$REPORT" "$(dirname "$0")/corpus" "$WORK"

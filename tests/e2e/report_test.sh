# pinglog-report as a user runs it: on made-up logs (written by the make_log helper
# from the logger's own entry composer), with the errors a user can act on, the
# exports, several logs at once, and the page rendered in headless Chromium.
source "$(dirname "$0")/lib.sh"
REPORT=${PINGLOG_BUILD:-$(dirname "$PINGLOG")}/pinglog-report
MAKE_LOG=${PINGLOG_MAKE_LOG:-}
[ -x "$REPORT" ] || skip "pinglog-report was not built (nlohmann-json or CLI11 missing)"
[ -x "$MAKE_LOG" ] || skip "the make_log helper was not built"
HELPERS=$(dirname "$0")/helpers

report() {  # report ARGS...: runs the report; sets STATUS, OUT and ERR
  STATUS=0
  "$REPORT" "$@" >"$WORK/out" 2>"$WORK/err" || STATUS=$?
  OUT=$(cat "$WORK/out")
  ERR=$(cat "$WORK/err")
}

# Errors a user can act on: one line naming the file or option; 2 for usage, 1 for input.
: >"$WORK/empty.log"
printf 'PING 192.0.2.1 (192.0.2.1) 56(84) bytes of data.\n' >"$WORK/other.log"
report "$WORK/missing.log"
check_that "a missing log: exit 1, named" '[ "$STATUS" = 1 ] && grep -q "missing.log: No such file" <<<"$ERR"'
report "$WORK/empty.log"
check_that "an empty log: exit 1, named" '[ "$STATUS" = 1 ] && grep -q "empty.log: the log is empty" <<<"$ERR"'
report "$WORK/other.log"
check_that "a file without entries: exit 1, named" '[ "$STATUS" = 1 ] && grep -q "other.log: no line is a log entry" <<<"$ERR"'
report --colour "$WORK/other.log"
check_that "an unknown option: exit 2, named" '[ "$STATUS" = 2 ] && grep -q -- "--colour" <<<"$ERR"'
report --interval abc "$WORK/other.log"
check_that "a number option that is none says so: exit 2" \
  '[ "$STATUS" = 2 ] && grep -q "^pinglog-report: --interval abc: not a number of minutes from 0 to 71582 " <<<"$ERR"'
check_that "--help names the program and the option values in words" \
  '"$REPORT" --help | grep -q "^Usage: pinglog-report " && "$REPORT" --help | grep -q -- "--by day|hour  "'
report "$WORK/nothing*.log"
check_that "a pattern that matches nothing: exit 1, named" '[ "$STATUS" = 1 ] && grep -qx "pinglog-report: $WORK/nothing\*.log: no file matches" <<<"$ERR"'
report
check "no log at all: exit 2" [ "$STATUS" = 2 ]
check "each error is one line" [ "$(wc -l <"$WORK/err")" = 1 ]

# A week of five-minute cycles and a torn line in the middle.
"$MAKE_LOG" --cycles 2016 --interval 5 --start "2021-03-01 00:00:00" >"$WORK/a.log"
head -c 100000 "$WORK/a.log" >"$WORK/torn.log"
printf '\r\n' >>"$WORK/torn.log"
tail -c +100001 "$WORK/a.log" >>"$WORK/torn.log"
torn_line=$(head -c 100000 "$WORK/a.log" | grep -c '')
report "$WORK/torn.log" --csv "$WORK/a.csv" --json "$WORK/a.json" --html "$WORK/a.html"
check "a week's log: exit 0" [ "$STATUS" = 0 ]
check "the torn line is counted and named with its number" \
  grep -qx "  $WORK/torn.log:$torn_line" <<<"$OUT"
check "the summary names the period and the interval" \
  grep -q "Period       01.03.2021 00:00:00 to 07.03.2021 23:55:00" <<<"$OUT"
check_that "exports exist and no partial file is left" \
  '[ -s "$WORK/a.csv" ] && [ -s "$WORK/a.json" ] && [ -s "$WORK/a.html" ] && ! ls "$WORK"/*.partial 2>/dev/null'
csv_rows=$(($(grep -c '' "$WORK/a.csv") - 1))
entries=$(grep -c '' "$WORK/a.log")
check "the CSV has three rows per entry but the torn one ($csv_rows rows)" [ "$csv_rows" = $(((entries - 1) * 3)) ]
check "the CSV opens as columns" [ "$(head -2 "$WORK/a.csv" | tail -1 | tr ',' '\n' | wc -l)" = 10 ]
check "the JSON opens and holds the day table" \
  grep -q '"per_day"' "$WORK/a.json"
report "$WORK/a.log" --csv /nonexistent/dir/a.csv
check_that "an export that cannot be written: exit 1, nothing left" '[ "$STATUS" = 1 ] && [ ! -e /nonexistent ]'

# One bad file does not sink the others, and one failed export not the rest: each
# problem is its own line. "-" reads standard input.
STATUS=0
"$REPORT" - "$WORK/empty.log" --json "$WORK/two.json" --html /nonexistent/dir/a.html \
  --csv "$WORK/two.csv" <"$WORK/a.log" >"$WORK/out" 2>"$WORK/err" || STATUS=$?
OUT=$(cat "$WORK/out")
ERR=$(cat "$WORK/err")
check_that "an empty log among two is named, and the other (standard input) reported" \
  'grep -qx "pinglog-report: $WORK/empty.log: the log is empty" <<<"$ERR" && grep -q "^Host router1 " <<<"$OUT"'
check_that "a failed export is its own line with the reason; the others are written; exit 1" \
  '[ "$STATUS" = 1 ] && grep -qx "pinglog-report: cannot write /nonexistent/dir/a.html: No such file or directory" <<<"$ERR" &&
   [ "$(wc -l <"$WORK/err")" = 2 ] && [ -s "$WORK/two.json" ] && [ -s "$WORK/two.csv" ]'

# --from and --to limit every output: the JSON counts what the log holds in that period.
report "$WORK/a.log" --from "2021-03-02" --to "2021-03-02 11:59" --json "$WORK/period.json"
in_period=$(grep -c '^02\.03\.2021 / \(0[0-9]\|1[01]\):' "$WORK/a.log")
check_that "--from/--to: the JSON counts the period's $in_period entries" \
  '[ "$STATUS" = 0 ] && [ "$(python3 -c "import json; print(json.load(open(\"$WORK/period.json\"))[\"hosts\"][0][\"requests\"][\"cycles\"])")" = "$in_period" ]'
report "$WORK/a.log" --from "2021-03-03" --to "2021-03-02" --json "$WORK/bad.json"
check_that "--from after --to: exit 2, one line, nothing written" \
  '[ "$STATUS" = 2 ] && [ "$(wc -l <"$WORK/err")" = 1 ] && [ ! -e "$WORK/bad.json" ]'
report "$WORK/a.log" --from "2030-01-01" --json "$WORK/bad.json"
check_that "a period without entries: exit 1, one line, nothing written" \
  '[ "$STATUS" = 1 ] && [ "$(wc -l <"$WORK/err")" = 1 ] && [ ! -e "$WORK/bad.json" ]'

# Two logs of two hosts: merged by time, a section per host, in the order --path gives.
"$MAKE_LOG" --cycles 100 --interval 1 --start "2021-03-01 12:00:00" --host other >"$WORK/b.log"
report "$WORK/a.log" "$WORK/b.log" --by hour --path other
check_that "two hosts: a section each, in the order of --path" \
  '[ "$(grep -c "^Host " <<<"$OUT")" = 2 ] && [ "$(grep "^Host " <<<"$OUT" | head -1 | cut -d" " -f2)" = other ]'
check "--by hour gives an hourly table" grep -q '^  01.03.2021 12:00 ' <<<"$OUT"
report "$WORK/a.log" --name router1 --json "$WORK/path.json"
check_that "--name without =NAME: exit 2, named, nothing written" \
  '[ "$STATUS" = 2 ] && grep -qx "pinglog-report: --name router1: not HOST=NAME" <<<"$ERR" && [ ! -e "$WORK/path.json" ]'
report "$WORK/a.log" "$WORK/b.log" --path other,nowhere,192.0.2.1 --json "$WORK/path.json"
check_that "--path naming a host that no log holds: exit 2, named, nothing written" \
  '[ "$STATUS" = 2 ] && grep -qx "pinglog-report: --path names hosts that no log holds: nowhere" <<<"$ERR" && [ ! -e "$WORK/path.json" ]'

# The page in a real browser: rendered, not blank, its chart numbers in the SVG.
check "the page is self-contained" [ -z "$(grep -oE '<link|src=|url\(|@import' "$WORK/a.html")" ]
check "the chart carries its buckets' numbers" grep -q 'class="bucket".*data-median="[0-9]*"' "$WORK/a.html"
# headless ARGUMENT...: headless Chromium with a profile of the test's own and nothing
# fetched from outside (at most two minutes).
headless() {
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$WORK/chromium" "$@"
}
# render FILE PNG WIDTH,HEIGHT: a headless Chromium screenshot; sets width, height,
# coloured (the share of non-white pixels) and colours.
render() {
  headless --hide-scrollbars --window-size="$3" \
    --screenshot="$2" "file://$1" >/dev/null 2>&1 || true
  read -r width height coloured colours <<<"$(python3 "$HELPERS/png_stats.py" "$2" 2>/dev/null)"
}
# time_labels FILE#HASH: the time axis labels of the page as Chromium draws it there.
# (a drawn label has its place in numbers: the page's script, in the dump too, has none)
time_labels() {
  headless --dump-dom "file://$1" 2>/dev/null |
    grep -o 'class="time" x="[0-9][^>]*>[^<]*' | sed 's/.*>//' | sort -u | tr '\n' ' '
}
# title_of FILE: the title that a test page (which loads the report's page in a
# frame) gives itself once its script has looked.
title_of() {
  headless --allow-file-access-from-files --virtual-time-budget=5000 \
    --dump-dom "file://$1" 2>/dev/null | grep -o '<title>[^<]*' | sed 's/<title>//'
}
if command -v chromium >/dev/null; then
  render "$WORK/a.html" "$WORK/a.png" 1100,900
  check_that "Chromium rendered the page (${width:-?}x${height:-?}, $coloured non-white, $colours colours)" \
    '[ "${width:-0}" = 1100 ] && [ "${colours:-0}" -gt 50 ] &&
     awk -v c="${coloured:-0}" "BEGIN { exit !(c > 0.05 && c < 0.95) }"'
  # Printed to A4 as a document: two pages, the first with the overview and the chart,
  # each numbered in its footer.
  headless --no-pdf-header-footer --print-to-pdf="$WORK/a.pdf" \
    "file://$WORK/a.html" >/dev/null 2>&1
  pages=$(pdfinfo "$WORK/a.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
  first=$(pdftotext -f 1 -l 1 "$WORK/a.pdf" - 2>/dev/null)
  check_that "printed: ${pages:-no} pages, the first with the overview, the chart and its number" \
    '[ "$pages" = 2 ] && grep -q "Worst day" <<<"$first" && grep -q "replies above" <<<"$first" &&
     grep -q "page 1 of 2" <<<"$first"'
  # On a phone 390 pixels wide, each host's availability and downtime are in view, no
  # text runs out of it but in a box that scrolls (a wide table, a drawing), and every
  # label of the drawings is at least 8 pixels high.
  # on_phone PAGE: "in view", or what is not.
  on_phone() {
    sed "s/PAGE/$1/" >"$WORK/phone.html" <<'HTML'
<iframe id="page" src="PAGE" style="width:390px;height:900px;border:0"></iframe>
<script>
document.getElementById('page').onload = function () {
  var doc = this.contentDocument, wide = 0, small = [], out = [];
  doc.querySelectorAll('.overview td[data-label=Available], .overview td[data-label=Down]')
    .forEach(function (cell) { wide = Math.max(wide, cell.getBoundingClientRect().right); });
  doc.querySelectorAll('svg text').forEach(function (text) {
    var high = text.getBoundingClientRect().height;
    if (text.textContent && high < 8) small.push(text.textContent + ' ' + high.toFixed(1));
  });
  doc.querySelectorAll('body *').forEach(function (node) {
    if (node.closest('svg, .wide, .chart-box') || !node.textContent.trim()) return;
    if (node.getBoundingClientRect().right > 391) out.push(node.textContent.slice(0, 30));
  });
  document.title = !(wide > 0 && wide <= 390) ? 'out of view: ' + wide
    : out.length ? 'runs out: ' + out.slice(0, 3).join(', ')
    : small.length ? 'small: ' + small.slice(0, 3).join(', ') : 'in view';
};
</script>
HTML
    title_of "$WORK/phone.html"
  }
  phone=$(on_phone a.html)
  check "on a phone nothing runs out of view, labels 8 px high (${phone:-not drawn})" \
    [ "$phone" = "in view" ]
  # The overview never clips: five hosts, one with a long name. At 1024, 1440 and 1920
  # pixels no table scrolls sideways and every cell of the overview lies in view;
  # printed to A4, every column's heading and every host's availability and worst day
  # are in the PDF.
  for host in router gw.isp dns.isp remote cloud; do
    "$MAKE_LOG" --cycles 2880 --interval 1 --start "2021-03-01 00:00:00" --host "$host" \
      --seed "${#host}" >"$WORK/fleet-$host.log"
  done
  report "$WORK"/fleet-*.log --name "router=the office's router, by the window" --html "$WORK/fleet.html"
  cat >"$WORK/widths.html" <<'HTML'
<iframe id="1024" src="fleet.html" style="width:1024px;height:700px;border:0"></iframe>
<iframe id="1440" src="fleet.html" style="width:1440px;height:700px;border:0"></iframe>
<iframe id="1920" src="fleet.html" style="width:1920px;height:700px;border:0"></iframe>
<script>
var left = 3, cut = [];
document.querySelectorAll('iframe').forEach(function (frame) {
  frame.onload = function () {
    var doc = frame.contentDocument, width = frame.clientWidth;
    doc.querySelectorAll('.wide').forEach(function (box) {
      if (box.scrollWidth > box.clientWidth) cut.push(frame.id + ': a table scrolls');
    });
    doc.querySelectorAll('.overview th, .overview td').forEach(function (cell) {
      var r = cell.getBoundingClientRect();
      if (r.left < 0 || r.right > width) cut.push(frame.id + ': ' + cell.textContent + ' cut');
    });
    if (--left === 0) document.title = cut.length ? cut.slice(0, 3).join('; ') : 'in view';
  };
});
</script>
HTML
  widths=$(title_of "$WORK/widths.html")
  check "at 1024, 1440 and 1920 pixels the overview is in view (${widths:-not drawn})" \
    [ "$widths" = "in view" ]
  phone=$(on_phone fleet.html)
  check "five hosts on a phone: nothing runs out of view, labels 8 px high (${phone:-not drawn})" \
    [ "$phone" = "in view" ]
  headless --no-pdf-header-footer --print-to-pdf="$WORK/fleet.pdf" \
    "file://$WORK/fleet.html" >/dev/null 2>&1
  printed=$(pdftotext "$WORK/fleet.pdf" - 2>/dev/null | tr -s ' \n' '\n\n')
  # in_print WORD...: each word is a word of the printed page.
  in_print() { local word; for word; do grep -qxF -- "$word" <<<"$printed" || return 1; done; }
  figures=$(grep -oE 'data-label="(Available|Worst day)">[^<]*' "$WORK/fleet.html" | sed 's/.*">//')
  # shellcheck disable=SC2086  # each figure's words
  check_that "printed to A4, every column's heading and every host's figures are there" \
    'in_print Host Address Hops Period Loss Median 95% Outages Down Available Worst day &&
     [ "$(wc -l <<<"$figures")" = 10 ] && in_print $figures'
  # A fleet's page: with more than ten hosts a host's section is carried as inert text
  # and its chart as its data alone, built and drawn by the script when they come into
  # view (the first host's then, the last's not yet), and the strips are compact,
  # titled when hovered: a day's host costs the page less than 25 kB (the page's own
  # script and sheets aside).
  for i in $(seq 11); do
    "$MAKE_LOG" --cycles 1440 --interval 1 --start "2021-03-01 00:00:00" --host "site$i" \
      --seed "$i" >"$WORK/site$i.log"
  done
  report "$WORK"/site*.log --html "$WORK/sites.html"
  size=$(stat -c %s "$WORK/sites.html")
  check_that "a fleet's page: its charts are frames, $size bytes for 11 hosts of a day" \
    '[ "$(grep -c "data-drawn=\"on view\"></svg>" "$WORK/sites.html")" = 11 ] &&
     [ "$size" -lt $((11 * 25000 + 50000)) ]'
  cat >"$WORK/scrolled.html" <<'HTML'
<iframe id="page" src="sites.html" style="width:1100px;height:900px;border:0"></iframe>
<script>
document.getElementById('page').onload = function () {
  var view = this.contentWindow, doc = view.document;
  doc.getElementById('host-0').scrollIntoView();
  (function look(tries) {
    var chart = doc.querySelector('#host-0 svg.chart'), first = chart ? chart.childElementCount : 0;
    var last = doc.querySelector('#host-10 svg.chart');
    if (first > 0 || tries === 0) {
      var strip = doc.querySelector('#strips rect.strip-loss[data-b]');
      strip.dispatchEvent(new view.MouseEvent('mouseover', { bubbles: true }));
      document.title = 'first ' + (first > 0 ? 'drawn' : 'empty') + ', last ' +
        (last && last.childElementCount > 0 ? 'drawn' : 'empty') + '; ' +
        strip.textContent;
    } else {
      setTimeout(function () { look(tries - 1); }, 200);
    }
  })(20);
};
</script>
HTML
  scrolled=$(title_of "$WORK/scrolled.html")
  check_that "a fleet's page draws a chart when it comes into view, titles a strip hovered (${scrolled:-not drawn})" \
    '[[ "$scrolled" =~ ^"first drawn, last empty; some requests lost: "[0-9.]+" "[0-9:]+" to "[0-9.]+" "[0-9:]+$ ]]'
  # Printed, a fleet's page is printed whole: every host's facts and chart.
  headless --no-pdf-header-footer --print-to-pdf="$WORK/sites.pdf" "file://$WORK/sites.html" \
    >/dev/null 2>&1
  printed=$(pdftotext "$WORK/sites.pdf" - 2>/dev/null)
  check_that "a fleet's page printed holds every host's facts and chart" \
    '[ "$(grep -c "^Cycles" <<<"$printed")" = 11 ] && [ "$(grep -c "above [0-9]* ms" <<<"$printed")" = 11 ]'
  # A fleet of 120 hosts: the strips past the first hundred rows are not drawn at first,
  # and the script puts them in place. Checked through printing, which builds the whole
  # page: scrolling triggers them by the same watcher as the fleet's sections above,
  # and on a busy machine Chromium's headless virtual time did not always deliver that
  # for a strip within the check's budget.
  for i in $(seq 120); do
    "$MAKE_LOG" --cycles 60 --interval 1 --start "2021-03-01 00:00:00" --host "h$i" --seed "$i" \
      >"$WORK/h$i.log"
  done
  report "$WORK"/h*.log --html "$WORK/hundreds.html"
  cat >"$WORK/rows.html" <<'HTML'
<iframe id="page" src="hundreds.html" style="width:1100px;height:900px;border:0"></iframe>
<script>
document.getElementById('page').onload = function () {
  var doc = this.contentDocument, last = '#strips rect[y="3107.0"]';  // the 120th row
  var before = doc.querySelector(last) ? 'drawn' : 'not yet';
  this.contentWindow.dispatchEvent(new Event('beforeprint'));
  document.title = 'before ' + before + ', built ' + (doc.querySelector(last) ? 'drawn' : 'not yet');
};
</script>
HTML
  rows=$(title_of "$WORK/rows.html")
  check "a fleet's last strips are carried aside, then put in place (${rows:-not drawn})" \
    [ "$rows" = "before not yet, built drawn" ]
  # --svg: the charts alone, a well-formed file that renders.
  report "$WORK/a.log" "$WORK/b.log" --svg "$WORK/a.svg"
  check "--svg writes well-formed XML" xmllint --noout "$WORK/a.svg"
  render "$WORK/a.svg" "$WORK/svg.png" 1000,700
  check_that "Chromium rendered the SVG ($coloured non-white, $colours colours)" \
    '[ "${colours:-0}" -gt 20 ] && awk -v c="${coloured:-0}" "BEGIN { exit !(c > 0.02) }"'
  # What a reader must see, on a steady week (15 ms, rare 900 ms spikes) with loss only
  # on 04.03. from 10:00 to 16:00 (0.488 to 0.524 of the time axis).
  "$MAKE_LOG" --cycles 10080 --interval 1 --start "2021-03-01 00:00:00" \
    --loss-at "2021-03-04 10:00:00" --loss-minutes 360 >"$WORK/steady.log"
  report "$WORK/steady.log" --html "$WORK/steady.html"
  render "$WORK/steady.html" "$WORK/steady.png" 1000,1000
  read -r _ _ level loss_from loss_to _ heat_from heat_to <<<"$(python3 "$HELPERS/chart_pixels.py" "$WORK/steady.png")"
  check_that "the heat map colours loss only from 10 to 16 h (${heat_from:-?} to ${heat_to:-?} of its width)" \
    'awk -v a="${heat_from:--1}" -v b="${heat_to:--1}" "BEGIN { exit !(a >= 0.41 && a < 0.43 && b > 0.65 && b <= 0.67) }"'
  check "one day's loss is called no pattern of the hours" \
    bash -c "! grep -q 'class=\"worst\"' '$WORK/steady.html'"
  check_that "the median is not squashed by the spikes: at ${level:-?} of the plot's height" \
    'awk -v l="${level:-0}" "BEGIN { exit !(l > 0.2) }"'
  check_that "loss colours only where the loss is (${loss_from:-?} to ${loss_to:-?} of the axis)" \
    'awk -v a="${loss_from:--1}" -v b="${loss_to:--1}" "BEGIN { exit !(a >= 0.48 && b <= 0.53 && b > a) }"'
  # A median that steps up and down in wide steps is a line, not wedges filled under it.
  python3 "$HELPERS/report_consistency.py" steps "$WORK/steps.log"
  report "$WORK/steps.log" --html "$WORK/steps.html"
  render "$WORK/steps.html" "$WORK/steps.png" 1000,1000
  read -r _ _ _ _ _ thickness <<<"$(python3 "$HELPERS/chart_pixels.py" "$WORK/steps.png")"
  check_that "the median is drawn as a line (${thickness:-?} pixels of its colour a column)" \
    'awk -v t="${thickness:-99}" "BEGIN { exit !(t > 0 && t < 8) }"'
  # Opened with a period in its address, the page shows that period (hours, all loss).
  zoomed="$WORK/steady.html#from=2021-03-04T10:00&to=2021-03-04T16:00"
  render "$zoomed" "$WORK/zoomed.png" 1000,1000
  read -r _ _ _ loss_from loss_to <<<"$(python3 "$HELPERS/chart_pixels.py" "$WORK/zoomed.png")"
  labels=$(time_labels "$zoomed")
  check_that "the zoomed page is labelled in hours of that period ($labels)" \
    '[ "$labels" = "10:00 11:00 12:00 13:00 14:00 15:00 " ] &&
     awk -v a="${loss_from:--1}" -v b="${loss_to:--1}" "BEGIN { exit !(a < 0.05 && b > 0.95) }"'
  # The link to the last 3 hours opens them: labelled every half hour from 21:00.
  last3=$(grep -o '<a href="#[^"]*">the last 3 hours</a>' "$WORK/steady.html" | sed 's/.*href="\([^"]*\)".*/\1/; s/&amp;/\&/')
  labels=$(time_labels "$WORK/steady.html$last3")
  check_that "the link to the last 3 hours ($last3) opens them ($labels)" \
    '[ "$last3" = "#from=2021-03-07T21:00&to=2021-03-08T00:00" ] &&
     [ "$labels" = "21:00 21:30 22:00 22:30 23:00 23:30 " ]'
  # Levels of detail: 40 days, every cycle of the last 10 and buckets before them. A
  # zoom draws the same chart from the buckets as from every cycle; a zoom into an
  # older day draws half hours and says so; an hour of the heat map tells its numbers.
  "$MAKE_LOG" --cycles 57600 --interval 1 --start "2021-01-01 00:00:00" \
    --loss-at "2021-01-04 10:00:00" --loss-minutes 360 >"$WORK/forty.log"
  # ... and an hour of 02.01. without a reply (the hover reads past it).
  python3 - "$WORK/forty.log" "$HELPERS" <<'PY'
import datetime, sys
sys.path.insert(0, sys.argv[2])
from log_lines import entry
with open(sys.argv[1], newline="") as f:
    lines = f.readlines()
with open(sys.argv[1], "w", newline="") as f:
    for line in lines:
        if line.startswith("02.01.2021 / 05:"):
            line = entry(datetime.datetime.strptime(line[:21], "%d.%m.%Y / %H:%M:%S"), [-11010] * 3)
        f.write(line)
PY
  report "$WORK/forty.log" --html "$WORK/levels.html"
  report "$WORK/forty.log" --html "$WORK/every.html" --detail all
  levels_size=$(stat -c %s "$WORK/levels.html") every_size=$(stat -c %s "$WORK/every.html")
  check_that "the page carries buckets for older days ($levels_size bytes, every cycle $every_size)" \
    '[ "$levels_size" -lt $((every_size * 2 / 3)) ]'
  zoomed_chart() {  # zoomed_chart FILE#HASH: the period shown, then the chart drawn
    headless --dump-dom "file://$1" 2>/dev/null |
      python3 -c 'import re, sys; t = sys.stdin.read()
shown = re.search(r"id=\"shown\">([^<]*)", t); chart = re.search(r"<svg class=\"chart\".*?</svg>", t, re.S)
print(shown.group(1) if shown else "", chart.group(0) if chart else "", sep="\n")'
  }
  for view in "2021-01-01T00:00&to=2021-01-15T00:00" "2021-01-20T00:00&to=2021-02-05T00:00" \
    "2021-01-01T00:00&to=2021-02-10T00:00"; do
    from_levels=$(zoomed_chart "$WORK/levels.html#from=$view")
    from_every=$(zoomed_chart "$WORK/every.html#from=$view")
    check_that "zoomed to $view: the buckets draw what every cycle draws ($(head -1 <<<"$from_levels"))" \
      '[ "$(wc -l <<<"$from_levels")" -gt 100 ] && [ "$from_levels" = "$from_every" ]'
  done
  old_day="$WORK/levels.html#from=2021-01-04T00:00&to=2021-01-05T00:00"
  shown=$(zoomed_chart "$old_day" | head -1)
  render "$old_day" "$WORK/old-day.png" 1000,1000
  read -r _ _ _ loss_from loss_to _ <<<"$(python3 "$HELPERS/chart_pixels.py" "$WORK/old-day.png")"
  check_that "an older day in half hours, said so ($shown), loss from ${loss_from:-?} to ${loss_to:-?}" \
    '[ "$shown" = "Shown: 04.01.2021 00:00:00 to 05.01.2021 00:00:00 (buckets of 30 min: finer detail is kept for the last 10 days)" ] &&
     awk -v a="${loss_from:--1}" -v b="${loss_to:--1}" "BEGIN { exit !(a >= 0.40 && a < 0.43 && b > 0.65 && b <= 0.69) }"'
  # An hourly host's older day: never buckets narrower than its interval.
  "$MAKE_LOG" --cycles 960 --interval 60 --start "2021-01-01 00:00:00" >"$WORK/hourly.log"
  report "$WORK/hourly.log" --html "$WORK/hourly.html"
  width=$(zoomed_chart "$WORK/hourly.html#from=2021-01-04T00:00&to=2021-01-06T00:00" |
    grep -o 'data-bucket-seconds="[0-9]*"')
  check "an hourly host's older days in buckets of 2 h ($width)" [ "$width" = 'data-bucket-seconds="7200"' ]
  cat >"$WORK/hover.html" <<'HTML'
<iframe id="page" src="levels.html" style="width:1100px;height:900px;border:0"></iframe>
<script>
document.getElementById('page').onload = function () {
  var svg = this.contentDocument.querySelector('svg.heat-map'), box = svg.getBoundingClientRect();
  var k = box.width / 1000, row = +svg.getAttribute('data-row-height');
  svg.dispatchEvent(new MouseEvent('mousemove', { bubbles: true,
    clientX: box.left + (60 + 12.5 * 920 / 24) * k, clientY: box.top + (16 + 3.5 * row) * k }));
  document.title = svg.querySelector('title').textContent;
};
</script>
HTML
  hovered=$(title_of "$WORK/hover.html")
  report "$WORK/forty.log" --svg "$WORK/forty.svg"
  check_that "hovering the heat map tells the hour as the SVG does (${hovered:-nothing})" \
    '[ -n "$hovered" ] && grep -qF "<title>$hovered</title>" "$WORK/forty.svg" &&
     [[ "$hovered" == "04.01.2021 12:00–13:00: loss "* ]]'
else
  fail "chromium is not installed: the page was not rendered"
fi

finish

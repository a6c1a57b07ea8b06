"""The report's outputs of one log, each parsed on its own, must tell the same story.

  report_consistency.py write DIR   writes DIR/main.log and DIR/copy.log: one-minute
      cycles of router1 with a router's report, a 20-cycle outage, a one-cycle outage,
      cycles whose requests were never sent, a one-cycle outage that a gap cuts short,
      the gap, a clock set 8 hours ahead and back,
      an outage still going on at the end, and a copy of the first ten entries;
  report_consistency.py steps FILE  writes four hours of five-minute cycles whose round
      trips alternate between 10 and 40 ms: a median that steps up and down in wide steps;
  report_consistency.py check DIR   reads DIR/out.txt (the terminal), out.json,
      out.html, out.svg, out.om and out.prom, and prints each disagreement (exit 1).
"""
import datetime
import html
import json
import re
import sys

import log_lines

START = datetime.datetime(2021, 3, 1, 10, 0, 0)
TARGET, ROUTER = "192.0.2.1", "198.51.100.254"


def entry(time, items):
    return log_lines.entry(time, items, address=TARGET, router=ROUTER)


def write(folder):
    lines = []
    for minute in range(125):
        time = START + datetime.timedelta(minutes=minute)
        if 80 <= minute < 90:
            continue  # the logger was not running
        if 100 <= minute < 110:
            time += datetime.timedelta(hours=8)  # the clock set ahead, then back
        items = [10 + minute % 7, 12, 11]
        if minute == 5:
            items = ["r", 12, 11]
        elif 30 <= minute < 50 or minute in (60, 79) or minute >= 120:
            items = [-11010, -11010, -11010]
        elif 70 <= minute < 73:
            items = [-5, -5, -5]
        lines.append(entry(time, items))
    with open(f"{folder}/main.log", "w", newline="") as out:
        out.writelines(lines)
    with open(f"{folder}/copy.log", "w", newline="") as out:
        out.writelines(lines[:10])


def readable(text):
    """'01.03.2021 10:30:00' as ISO."""
    return datetime.datetime.strptime(text, "%d.%m.%Y %H:%M:%S").isoformat()


def from_seconds(seconds):
    """The page's times: the logger's wall-clock seconds counted as if in UTC."""
    return datetime.datetime.fromtimestamp(seconds, datetime.timezone.utc).replace(
        tzinfo=None).isoformat()


BOUNDS = re.compile(r"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d) to (\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)")


def terminal(text):
    facts = {}
    requests = re.search(r"Requests +(\d+) sent, (\d+) received, (\d+) lost", text)
    facts["sent"], facts["received"], facts["lost"] = map(int, requests.groups())
    facts["cycles"] = int(re.search(r"Cycles +(\d+) logged", text).group(1))
    facts["outages"] = int(re.search(r"Outages +(\d+) ", text).group(1))
    block = text[text.index("  Outages"):text.index("  Round trip")]
    facts["listed"] = sorted((readable(a), readable(b)) for a, b in BOUNDS.findall(block))
    block = text[text.index("  Missing"):text.index("  Clock jumps")]
    facts["gaps"] = sorted((readable(a), readable(b)) for a, b in BOUNDS.findall(block))
    facts["not_sent"] = int(re.search(r"Not sent +(\d+) requests", text).group(1))
    facts["router"] = int(re.search(rf"From routers {ROUTER}, a router on the way, answered (\d+) request", text).group(1))
    facts["jumps"] = int(re.search(r"Clock jumps +(\d+) ", text).group(1))
    facts["dropped"] = int(re.search(r"Dropped (\d+) entr", text).group(1))
    return facts


def page_as_text(page):
    """The page's own lines: the duplicates paragraph and the facts table as rows of
    heading and lines, laid out as the terminal lays them out."""
    lines = [html.unescape(re.sub(r"<[^>]+>", "", m)) for m in re.findall(r"<p>(Dropped[^\n]*)</p>", page)]
    table = page[page.index('<table class="facts">'):]
    table = table[:table.index("</table>")]
    for heading, cells in re.findall(r"<tr><th>([^<]*)</th><td>(.*?)</td></tr>", table):
        for i, cell in enumerate(cells.split("<br>")):
            text = html.unescape(cell.replace("&emsp;", "  "))
            lines.append(f"  {heading:<13}{text}" if i == 0 else " " * 15 + text)
    return "\n".join(lines) + "\n"


def counters(text, with_time):
    """The last value of each counter family (summed over its series)."""
    last = {}
    for line in text.splitlines():
        if line.startswith("#"):
            continue
        match = re.match(r"(pinglog_\w+?)(?:_total)?\{([^}]*)\} (\S+)" + (r" \d+$" if with_time else "$"), line)
        if match:
            name, labels, value = match.groups()
            last[(name, labels)] = float(value)
    totals = {}
    for (name, _), value in last.items():
        totals[name] = totals.get(name, 0) + value
    return totals


def check(folder):
    problems = []

    def agree(what, values):
        if len(set(map(str, values.values()))) != 1:
            problems.append(f"{what} differs: {values}")

    text = terminal(open(f"{folder}/out.txt").read())
    report = json.load(open(f"{folder}/out.json"))
    host = report["hosts"][0]
    page = open(f"{folder}/out.html").read()
    svg = open(f"{folder}/out.svg").read()
    om = counters(open(f"{folder}/out.om").read(), True)
    prom = counters(open(f"{folder}/out.prom").read(), False)
    page_facts = terminal(page_as_text(page))
    for key, json_value, metric in [("cycles", host["requests"]["cycles"], "pinglog_cycles"),
                                    ("sent", host["requests"]["sent"], "pinglog_requests"),
                                    ("received", host["requests"]["received"], "pinglog_replies"),
                                    ("router", host["requests"]["router"], "pinglog_router_replies"),
                                    ("not_sent", host["requests"]["not_sent"], "pinglog_not_sent")]:
        agree(key, {"terminal": text[key], "page": page_facts[key], "json": json_value,
                    "openmetrics": int(om.get(metric, -1)), "textfile": int(prom.get(metric, -1))})
    agree("lost", {"terminal": text["lost"], "page": page_facts["lost"],
                   "json": host["requests"]["lost"],
                   "openmetrics": int(om["pinglog_requests"] - om["pinglog_replies"]),
                   "textfile": int(prom["pinglog_requests"] - prom["pinglog_replies"])})
    overview = re.search(r'<a href="#host-0">router1</a></td>(?:<td[^>]*>[^<]*</td>){5}'
                         r'<td data-label="Outages">(\d+)</td>', page)
    agree("outages", {"terminal": text["outages"], "page": page_facts["outages"],
                      "overview": int(overview.group(1)), "json": len(host["outages"])})
    json_bounds = sorted((o["start"], o["end"]) for o in host["outages"])
    meta = json.loads(re.search(r'id="meta-0">([^<]*)<', page).group(1))
    titles = lambda doc: sorted((readable(a), readable(b)) for a, b in
                                re.findall(r"<title>Outage: " + BOUNDS.pattern, doc))
    agree("outage bounds", {"json": json_bounds, "svg": titles(svg), "page chart": titles(page),
                            "page data": sorted((from_seconds(a), from_seconds(b))
                                                for a, b, _ in meta["outages"])})
    gap_titles = lambda doc: sorted((readable(a), readable(b)) for a, b in
                                    re.findall(r"<title>No entries: " + BOUNDS.pattern, doc))
    agree("gap bounds", {"terminal": text["gaps"], "page": page_facts["gaps"],
                         "json": sorted((g["start"], g["end"]) for g in host["gaps"]),
                         "svg": gap_titles(svg), "page chart": gap_titles(page),
                         "page data": sorted((from_seconds(a), from_seconds(b))
                                             for a, b, _ in meta["gaps"])})
    listed = [b for b in json_bounds if b in text["listed"]]
    agree("listed outage bounds", {"terminal": text["listed"], "page": page_facts["listed"],
                                   "json": listed})
    for outage in host["outages"]:
        seconds = (datetime.datetime.fromisoformat(outage["end"])
                   - datetime.datetime.fromisoformat(outage["start"])).total_seconds()
        if seconds != outage["seconds"]:
            problems.append(f"outage {outage} lasts {seconds} s")
    expected = {"cycles": 115, "outages": 4, "listed": 2, "open": 1, "jumps": 2, "dropped": 10,
                "gaps": 1, "not_sent": 9, "router": 1}
    found = {"cycles": text["cycles"], "outages": text["outages"], "listed": len(text["listed"]),
             "open": sum(o["open"] for o in host["outages"]), "jumps": text["jumps"],
             "dropped": text["dropped"], "gaps": len(host["gaps"]), "not_sent": text["not_sent"],
             "router": text["router"]}
    if found != expected:
        problems.append(f"the log holds {expected}, the report says {found}")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


def steps(path):
    with open(path, "w", newline="") as out:
        for cycle in range(48):
            ms = 10 if cycle % 2 == 0 else 40
            out.write(entry(START + datetime.timedelta(minutes=5 * cycle), [ms, ms, ms]))


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2])
    elif sys.argv[1] == "steps":
        steps(sys.argv[2])
    else:
        sys.exit(check(sys.argv[2]))

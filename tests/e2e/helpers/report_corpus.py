"""The report's outputs pinned on a corpus of small logs made for it.

  report_corpus.py REPORT EXPECTED_DIR WORK_DIR [--update]

For each case below: writes its logs into WORK_DIR/CASE, runs REPORT on them with the
case's options and every export, and compares each output with EXPECTED_DIR/CASE/NAME.
Each log is chosen to put values where a slip would move them: a log that starts
mid-morning and runs over a month's end and the night the clocks go back; outages of
59 s, 60 s and 231 s, a day without entries; gap lengths on either side of the rule;
round trips whose 95th and 99th percentiles differ; an outage a gap cuts short and one
still open at the end; duplicates in two files; more lines that are no entries than the
terminal lists; a router's reports, requests never sent, a clock stepped back.

--update writes the outputs as the expected files instead: then read `git diff` of
them, line by line, before committing them; the commit says why they changed.
"""
import datetime
import difflib
import os
import re
import subprocess
import sys
import zoneinfo

import log_lines

BERLIN = zoneinfo.ZoneInfo("Europe/Berlin")
TIMEOUT = -11010


def local_stamps(first_local, step_seconds, count):
    """Wall-clock stamps of cycles `step_seconds` apart in real time, from a Berlin
    wall-clock time: across the fall-back night the wall clock repeats an hour."""
    start = first_local.replace(tzinfo=BERLIN).timestamp()
    return [datetime.datetime.fromtimestamp(int(start + i * step_seconds), BERLIN).replace(tzinfo=None)
            for i in range(count)]


def month_end():
    """Hourly cycles of a host given by address, from Saturday 24.10.2026 10:17:30 to
    02.11.: the clocks go back in the night to Sunday 25.10., October ends; every
    evening 19 to 22 h loses one request in three; a day-long outage from 28.10. 06 h."""
    lines = []
    for n, stamp in enumerate(local_stamps(datetime.datetime(2026, 10, 24, 10, 17, 30), 3600.4, 216)):
        items = [8 + n % 5, 9 + n % 7, 7 + n % 11]
        if 19 <= stamp.hour < 22:
            items[n % 3] = TIMEOUT
        if datetime.datetime(2026, 10, 28, 6) <= stamp < datetime.datetime(2026, 10, 29, 6):
            items = [TIMEOUT] * 3
        lines.append(log_lines.entry(stamp, items, host="192.0.2.10", address="192.0.2.10", ttl=57))
    return {"month.log": lines}


def short_durations():
    """One-minute cycles of a host given by name, Monday 30.11.2026 from 08:59:30: one
    outage of 59 s in the 9 o'clock hour, one of 60 s at 10, one of 231 s at 11; steps
    of 65 s (no gap) and 66 s (a gap); an outage cut short by a gap; a day without
    entries; an outage still open at the last entry. Round trips of 1 to 120 ms, so
    that the 95th and 99th percentiles differ."""
    def at(text, day=30, month=11):
        hour, minute, second = map(int, text.split(":"))
        return datetime.datetime(2026, month, day, hour, minute, second)

    def every_minute(first, last):
        count = int((last - first).total_seconds()) // 60 + 1
        return [first + datetime.timedelta(minutes=m) for m in range(count)]

    up = (every_minute(at("08:59:30"), at("09:09:30")) + [at("09:10:59")]
          + every_minute(at("09:11:59"), at("10:19:59")) + every_minute(at("10:21:00"), at("11:29:00"))
          + every_minute(at("11:33:51"), at("12:04:51")) + [at("12:05:56")]  # 65 s: no gap
          + every_minute(at("12:07:02"), at("12:29:02"))  # 66 s after 12:05:56: a gap
          + every_minute(at("12:40:00"), at("13:00:00"))
          + every_minute(at("13:00:00", day=1, month=12), at("13:17:00", day=1, month=12)))
    down = ([at("09:10:00"), at("10:20:00")] + every_minute(at("11:30:00"), at("11:33:00"))
            + [at("12:30:02"), at("12:31:02")]  # then no entries until 12:40
            + [at("13:18:00", day=1, month=12), at("13:19:00", day=1, month=12)])
    lines = []
    for n, stamp in enumerate(sorted(up + down)):
        items = [TIMEOUT] * 3 if stamp in down else [1 + n % 120, 1 + (n * 7) % 120, 30]
        lines.append(log_lines.entry(stamp, items))
    return {"router1.log": lines}


def two_files():
    """A gateway by name in two files that overlap (a rotated log and its copy), with
    more torn lines than the terminal lists; and a host by address beside it, whose
    requests a router answers, some never sent, and whose clock steps back once."""
    start = datetime.datetime(2026, 12, 7, 23, 30)
    gw = [log_lines.entry(start + datetime.timedelta(minutes=m), [12, 14 + m % 3, 13], host="gw",
                          address="192.0.2.1")
          for m in range(60)]
    other = []
    for m in range(40):
        stamp = start + datetime.timedelta(minutes=m, seconds=20)
        if m >= 30:
            stamp -= datetime.timedelta(minutes=10)  # the clock set back ten minutes
        items = [40, "r" if m % 10 == 3 else 41, 42]
        if 15 <= m < 18:
            items = [-5, -5, -5]
        other.append(log_lines.entry(stamp, items, host="198.51.100.7", address="198.51.100.7"))
    torn = [f"garbage line {n}\r\n" for n in range(1003)]
    return {"a.log": gw[:40], "b.log": gw[25:] + torn + other}


def five_hosts():
    """An office's five loggers on one machine, five-minute cycles, started seconds
    apart, Monday 30.11.2026 to Wednesday 02.12. 06:00, from the router (0 hops) out to a
    cloud host (9 hops), the provider's name server given by name. The provider down on
    Monday 20:10 to 21:45 (the name server's lookups fail: no entries); the office router
    down on Tuesday 10:05 to 10:17 (every host down); the remote office alone down on
    Tuesday 22:00 to 01:30; the machine asleep on Tuesday 02:00 to 05:00 (no log); on
    Wednesday at 03:00 one cycle of the router lost and, the next cycle, one of the cloud
    host: each a single cycle while the others answered, no incident."""
    hosts = [  # name, address, TTL, round trip, seconds after the first logger
        ("192.168.1.1", "192.168.1.1", 64, 2, 0),
        ("100.64.0.1", "100.64.0.1", 63, 8, 3),
        ("dns.isp.example", "100.64.0.53", 63, 9, 7),
        ("198.51.100.20", "198.51.100.20", 58, 25, 11),
        ("203.0.113.80", "203.0.113.80", 119, 30, 15),
    ]
    at = datetime.datetime
    provider = (at(2026, 11, 30, 20, 10), at(2026, 11, 30, 21, 45))
    router = (at(2026, 12, 1, 10, 5), at(2026, 12, 1, 10, 17))
    remote = (at(2026, 12, 1, 22, 0), at(2026, 12, 2, 1, 30))
    asleep = (at(2026, 12, 1, 2, 0), at(2026, 12, 1, 5, 0))
    flap = {0: (at(2026, 12, 2, 3, 0), at(2026, 12, 2, 3, 4)), 4: (at(2026, 12, 2, 3, 5), at(2026, 12, 2, 3, 9))}
    files = {}
    for index, (host, address, ttl, ms, offset) in enumerate(hosts):
        lines = []
        for k in range(54 * 12):
            stamp = at(2026, 11, 30) + datetime.timedelta(seconds=offset + int(k * 300.3))
            inside = lambda span: span[0] <= stamp < span[1]
            if inside(asleep) or (host == "dns.isp.example" and (inside(provider) or inside(router))):
                continue  # no entry: the machine asleep, or the name not looked up
            down = (inside(router) or (index > 0 and inside(provider)) or (index == 3 and inside(remote))
                    or (index in flap and inside(flap[index])))
            items = [TIMEOUT] * 3 if down else [ms + k % 3, ms, ms + 1]
            lines.append(log_lines.entry(stamp, items, host=host, address=address, ttl=ttl))
        files[host.split(".")[0] + ".log" if not host[0].isdigit() else host + ".log"] = lines
    return files


def branch():
    """Five loggers of one-minute cycles, started seconds apart, Monday 07.12.2026 00:00
    to 06:00, along a path that branches: the router, the provider's gateway and its name
    server beside it, and two remote sites behind the gateway (--path names both
    branches). The gateway's link degraded 02:00 to 02:30: from the gateway on, one
    request in three lost and 80 ms more, the router as usual, and one whole cycle of
    the second site lost in it (noise, no incident); both remote sites down together 03:00
    to 03:20 (the link behind the gateway); the first alone 04:00 to 04:10."""
    hosts = [  # host, TTL, round trip, seconds after the first logger
        ("192.168.1.1", 64, 2, 0), ("100.64.0.1", 63, 9, 2), ("dns.isp.example", 63, 10, 4),
        ("198.51.100.10", 62, 30, 6), ("198.51.100.20", 62, 31, 8)]
    addresses = {"dns.isp.example": "100.64.0.53"}
    at = datetime.datetime
    degraded = (at(2026, 12, 7, 2, 0), at(2026, 12, 7, 2, 30))
    sites_down = (at(2026, 12, 7, 3, 0), at(2026, 12, 7, 3, 20))
    first_down = (at(2026, 12, 7, 4, 0), at(2026, 12, 7, 4, 10))
    noise = at(2026, 12, 7, 2, 10)
    files = {}
    for index, (host, ttl, ms, offset) in enumerate(hosts):
        lines = []
        for k in range(360):
            stamp = at(2026, 12, 7) + datetime.timedelta(seconds=offset + int(k * 60.3))
            inside = lambda span: span[0] <= stamp < span[1]
            down = ((index >= 3 and inside(sites_down)) or (index == 3 and inside(first_down))
                    or (index == 4 and noise <= stamp < noise + datetime.timedelta(minutes=1)))
            slow = index in (1, 3, 4) and inside(degraded)
            items = [ms + k % 3, ms, ms + 1]
            if slow:
                items = [i + 80 for i in items]
                items[k % 3] = TIMEOUT
            if down:
                items = [TIMEOUT] * 3
            address = addresses.get(host, host)
            lines.append(log_lines.entry(stamp, items, host=host, address=address, ttl=ttl))
        files[host.split(".")[0] + ".log" if not host[0].isdigit() else host + ".log"] = lines
    return files


CASES = {  # the logs, the options, the outputs pinned (None: all)
    "month_end": (month_end, ["--tz", "Europe/Berlin"], None),
    "short_durations": (short_durations, ["--by", "hour", "--tz", "Europe/Berlin"], None),
    "two_files": (two_files, ["--tz", "Europe/Berlin"], None),
    "five_hosts": (five_hosts, ["--tz", "Europe/Berlin", "--name", "192.168.1.1=router",
                                "--name", "dns.isp.example=ispdns", "--name", "10.9.9.9=nowhere"],
                   ["terminal.txt", "stderr.txt", "exit.txt", "report.json", "page.html"]),
    "branch": (branch, ["--tz", "Europe/Berlin", "--name", "192.168.1.1=router",
                        "--name", "100.64.0.1=isp", "--name", "198.51.100.10=site1",
                        "--name", "198.51.100.20=site2",
                        "--path", "192.168.1.1,100.64.0.1,198.51.100.10",
                        "--path", "192.168.1.1,100.64.0.1,198.51.100.20"],
               ["terminal.txt", "stderr.txt", "exit.txt", "report.json", "page.html", "report.svg"]),
}

EXPORTS = {"csv": "report.csv", "json": "report.json", "svg": "report.svg", "html": "page.html",
           "openmetrics": "report.om", "textfile": "textfile.prom"}


def page_tables_and_data(page):
    """The page without what other outputs pin or what is no figure: its charts and
    heat maps (the SVG's own) and its script."""
    page = re.sub(r"<svg class=\"(chart|heat-map)\".*?</svg>\n", "", page, flags=re.S)
    return re.sub(r"<script>\n.*?</script>\n", "<script>(the page's script)</script>\n", page, flags=re.S)


def outputs(report, case, folder):
    make, options, pinned = CASES[case]
    os.makedirs(folder, exist_ok=True)
    logs = make()
    for name, lines in sorted(logs.items()):
        with open(os.path.join(folder, name), "w", newline="") as out:
            out.writelines(lines)
    command = [report, *sorted(logs), *options]
    for option, name in EXPORTS.items():
        command += [f"--{option}", name]
    # The page's footer says when it was made: a fixed moment, as reproducible builds
    # give one.
    environment = dict(os.environ, SOURCE_DATE_EPOCH="1796000000")
    done = subprocess.run(command, cwd=folder, capture_output=True, text=True, timeout=120,
                          env=environment)
    texts = {"terminal.txt": done.stdout, "stderr.txt": done.stderr,
             "exit.txt": f"{done.returncode}\n"}
    for name in EXPORTS.values():
        with open(os.path.join(folder, name), encoding="utf-8", newline="") as written:
            texts[name] = written.read()
    texts["page.html"] = page_tables_and_data(texts["page.html"])
    return {name: text for name, text in texts.items() if pinned is None or name in pinned}


def main():
    report, expected_dir, work = (os.path.abspath(path) for path in sys.argv[1:4])
    update = "--update" in sys.argv
    passed = failed = 0
    for case in CASES:
        for name, text in outputs(report, case, os.path.join(work, case)).items():
            path = os.path.join(expected_dir, case, name)
            if update:
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "w", encoding="utf-8", newline="") as out:
                    out.write(text)
                continue
            with open(path, encoding="utf-8", newline="") as pinned:
                expected = pinned.read()
            if text == expected:
                print(f"ok: {case}: {name} as pinned")
                passed += 1
                continue
            print(f"FAIL: {case}: {name} differs from {path}:", file=sys.stderr)
            diff = difflib.unified_diff(expected.splitlines(), text.splitlines(), "pinned", "now",
                                        lineterm="", n=1)
            for line in list(diff)[:40]:
                print("  " + line, file=sys.stderr)
            failed += 1
    if update:
        print(f"updated {expected_dir}: read every changed line (git diff) before committing")
        return 0
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

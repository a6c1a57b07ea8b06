# The README's install steps as written, each from a fresh clone of this repository:
# its command blocks are taken from the README itself and run as root runs them
# (without `sudo`), with HOME in the test's directory. Paths: the Windows zip, `cmake
# --install` after ./demo.sh, and the Debian package installed with apt (and removed
# afterwards; skipped when pinglog is installed already, to leave that alone).
source "$(dirname "$0")/../e2e/lib.sh" /bin/true
need_root "installing the package and the demo's pings"
REPO=$(git -C "$(dirname "$0")/../.." rev-parse --show-toplevel)
README=$REPO/README.md
mkdir -p "$WORK/home"

# readme_block HEADING N: the Nth indented block of commands below the heading (to the
# next heading), without its indentation and without `sudo `.
readme_block() {
  awk -v heading="$1" -v wanted="$2" '
    /^#+ / { inside = (substr($0, index($0, " ") + 1) == heading); previous = 0; next }
    inside && /^    / { if (!previous) block++; previous = 1
                        if (block == wanted) print substr($0, 5); next }
    { previous = 0 }' "$README" | sed 's/^sudo //'
}

# run_in_clone NAME HEADING:N...: runs those blocks in order in a fresh clone; sets
# STATUS and leaves the output in $WORK/NAME.out (its end shown when it failed).
run_in_clone() {
  local name=$1 block script="set -euo pipefail"$'\n'
  shift
  for block in "$@"; do script+="$(readme_block "${block%:*}" "${block##*:}")"$'\n'; done
  rm -rf "$WORK/clone"
  git clone -q "$REPO" "$WORK/clone"
  (cd "$WORK/clone" && HOME=$WORK/home bash -c "$script" </dev/null) >"$WORK/$name.out" 2>&1 &&
    STATUS=0 || STATUS=$?
  [ "$STATUS" = 0 ] || tail -20 "$WORK/$name.out"
}

DEMO='Two commands (a fresh Debian 12 machine, as root):1'
check_that "the README has each block (demo, install, package, zip)" \
  '[ "$(readme_block "${DEMO%:*}" 1)" = ./demo.sh ] && [ -n "$(readme_block "Debian package" 2)" ] &&
   [ -n "$(readme_block Windows 1)" ]'

# ./demo.sh, then cmake --install into the user's prefix.
run_in_clone install "$DEMO" 'Debian package:2'
check "./demo.sh and then cmake --install as written: exit 0" [ "$STATUS" = 0 ]
for path in bin/pinglog bin/pinglog-check bin/pinglog-report share/man/man1/pinglog-report.1.gz \
  share/doc/pinglog/README.md share/doc/pinglog/examples/Kep.ini; do
  check "... ~/.local/$path" [ -e "$WORK/home/.local/$path" ]
done

# The Windows zip.
run_in_clone zip Windows:1
zip=$WORK/clone/build-win/pinglog-1.0.0-windows-x64.zip
listing=$(python3 -m zipfile -l "$zip" 2>/dev/null | awk 'NR > 1 {print $1}' | sort | tr '\n' ' ')
check_that "the zip as written: exit 0, the three programs and the texts ($listing)" \
  '[ "$STATUS" = 0 ] && [ "$listing" = "Kep.ini LICENSE README.txt pinglog-check.exe pinglog-report.exe pinglog.exe " ]'

# The Debian package, installed with apt.
if dpkg-query -W -f='${Status}' pinglog 2>/dev/null | grep -q 'ok installed'; then
  echo "SKIP: pinglog is installed on this machine; its package path is left alone"
else
  on_exit "DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq pinglog >/dev/null 2>&1"
  run_in_clone package 'Debian package:1'
  check "the package built and installed as written: exit 0" [ "$STATUS" = 0 ]
  check "/usr/bin/pinglog-report answers --version" \
    bash -c "/usr/bin/pinglog-report --version | grep -qx 'pinglog-report 1.0.0'"
  check "the installed logger may send echo requests (cap_net_raw)" \
    bash -c "getcap /usr/bin/pinglog | grep -q cap_net_raw"
  check "man finds the installed page" bash -c "man -w pinglog-check | grep -q '^/usr/share/man/'"
fi

finish

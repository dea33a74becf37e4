#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine with apt, starts the installed
# `merilon` under xvfb-run with openbox and checks that its main window appears (and that a file
# named on the command line reaches its open dialog), runs the installed `merilon-cli`, then
# removes the package and checks that nothing of it is left in the install paths.
# Needs root (or sudo). Screenshots go to build-package/.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"

# The packaging and screen tools come with the others (dpkg-dev, openbox, x11-utils, ...).
scripts/setup.sh --packages-only

if dpkg-query -W -f='${Status}' merilon 2>/dev/null | grep -q "install ok installed"; then
  echo "check-package: the package merilon is already installed; remove it first" >&2
  exit 1
fi

failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    echo "  ok    $what"
  else
    echo "  FAIL  $what"
    failures=$((failures + 1))
  fi
}

echo "=== build and package"
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DMERILON_BUILD_TESTS=OFF \
  -DMERILON_BUILD_BENCH=OFF >/dev/null
cmake --build build-package -j "$(nproc)" --target merilon merilon-cli >/dev/null
rm -f build-package/merilon_*.deb
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/merilon_*.deb)
echo "$deb ($(du -h "$deb" | cut -f1))"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -c "$deb" | awk '{print "  " $6}' | grep -v '/$'
# Every path the package installs, to look for after the removal.
mapfile -t installed < <(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$')

echo "=== install"
apt_quiet() {  # apt-get with its chatter kept out of the report unless it fails
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get -y -qq "$@" >"$repo/build-package/apt.log" 2>&1 ||
    { cat "$repo/build-package/apt.log"; return 1; }
}
apt_quiet install "$repo/$deb"
check "the package is installed ($(dpkg-query -W -f='${Version}' merilon 2>/dev/null))" \
  bash -c 'dpkg-query -W merilon >/dev/null'
check "merilon in /usr/bin" test -x /usr/bin/merilon
check "merilon-cli in /usr/bin" test -x /usr/bin/merilon-cli
check "the program folder in /usr/share/merilon" test -f /usr/share/merilon/merilon.knf
check "the desktop entry" test -f /usr/share/applications/merilon.desktop
check "the icon" test -f /usr/share/icons/hicolor/scalable/apps/merilon.svg
check "the .meri type is in the MIME database" grep -q 'application/x-merilon-points' \
  /usr/share/mime/globs2
check "the desktop entry is valid" desktop-file-validate /usr/share/applications/merilon.desktop

echo "=== merilon-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
check "merilon-cli --help" bash -c '/usr/bin/merilon-cli --help >"$0/help.txt"' "$work"
head -3 "$work/help.txt" | sed 's/^/  | /'
check "merilon-cli imports the example survey (3000 points)" bash -c \
  '/usr/bin/merilon-cli import "$1/examples/droga_pomiar.txt" -o "$0/p.meri" --x 2 --y 3 --z 4 \
     --symbol 5 >/dev/null 2>&1 && test "$(/usr/bin/merilon-cli points "$0/p.meri" | awk -F"\t" "NF == 6" | wc -l)" = 3000' \
  "$work" "$repo"

check "merilon-cli prints the example's sections to a PDF file with their texts" bash -c \
  '/usr/bin/merilon-cli sections "$0/p.meri" "$1/examples/droga_trasa.TRS" -o "$0/p.TER" \
     >/dev/null 2>&1 && /usr/bin/merilon-cli sections-pdf "$0/p.TER" -o "$0/p.pdf" >/dev/null 2>&1 &&
   pdftotext -f 1 -l 1 "$0/p.pdf" - | grep -q "Pikietaż 10.00"' "$work" "$repo"
check "its settings went to the user's folder, not /usr/share/merilon" bash -c \
  'test -f "$0/config/merilon/MERI_PARAM.knf" && test ! -e /usr/share/merilon/MERI_PARAM.knf' \
  "$work"

echo "=== merilon on a virtual screen (xvfb-run, openbox)"
cat >"$work/session.sh" <<'EOF'
#!/usr/bin/env bash
# Runs inside xvfb-run: openbox, then merilon with the given arguments; waits up to 20 s for a
# top-level window whose name holds the wanted text, prints the window names and leaves a
# screenshot.
set -u
shot=$1 wanted=$2
shift 2
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
/usr/bin/merilon "$@" >"$shot.log" 2>&1 &
app=$!
found=1
for _ in $(seq 1 40); do
  if xwininfo -root -tree | grep -q -- "$wanted"; then found=0; break; fi
  kill -0 $app 2>/dev/null || break
  sleep 0.5
done
sleep 1
xwininfo -root -tree | grep -o '"[^"]*Merilon[^"]*"\|"[^"]*plik[^"]*"' | sort -u
import -window root "$shot"
kill $app $wm 2>/dev/null
wait $app 2>/dev/null
exit $found
EOF
chmod +x "$work/session.sh"
check "the main window \"Merilon-[ ]\" appears" xvfb-run -a -s '-screen 0 1280x1024x24' \
  "$work/session.sh" "$repo/build-package/check-package-main.png" 'Merilon-\[ \]'
check "merilon FILE opens the file's dialog" xvfb-run -a -s '-screen 0 1280x1024x24' \
  "$work/session.sh" "$repo/build-package/check-package-file.png" 'plik tekstowy' \
  "$repo/examples/droga_pomiar.txt"

echo "=== remove"
apt_quiet purge merilon
check "the package is gone" bash -c '! dpkg-query -W -f="\${Status}" merilon 2>/dev/null | grep -q installed'
left=()
for f in "${installed[@]}"; do
  [ -e "$f" ] && left+=("$f")
done
[ -e /usr/share/merilon ] && left+=(/usr/share/merilon)
check "no installed file is left (${#installed[@]} checked)" test ${#left[@]} -eq 0
for f in "${left[@]}"; do echo "        left: $f"; done
check "the .meri type left the MIME database" bash -c \
  '! grep -rqs "x-merilon-points" /usr/share/mime/globs2 /usr/share/mime/application'

if [ $failures -ne 0 ]; then
  echo "check-package: $failures check(s) failed"
  exit 1
fi
echo "check-package: all checks passed"

#!/usr/bin/env bash
# Takes the README's screenshot of the cross-section viewer from the real program, the way a
# user gets there: merilon-cli imports the example survey, `merilon droga.meri` opens it, then on
# a virtual screen (xvfb-run, openbox) xdotool presses "Generuj poprzeczki", "Wybierz trasę" with
# the example alignment, "Generuj" with droga.TER, "Rysuj", and the drawing window's "Wyswietl
# profil lub poprzeczki terenu"; the viewer's window is cropped into docs/section-viewer.png.
#   [SCALE=2] scripts/section-viewer-screenshot.sh [BUILD_DIR] [OUT.png]
# Clicks land at places within each window measured at a 100 % scale on a 1600 x 1000 screen;
# SCALE=2 runs the program at 200 % (QT_SCALE_FACTOR) on a screen twice as large; with
# KEEP_RUNNING set the program stays open on the virtual screen until it is closed.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-docs/section-viewer.png}")
scale=${SCALE:-1}
for tool in xvfb-run openbox xdotool xwininfo import; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/setup.sh installs it)" >&2; exit 1; }
done
temporary=$(mktemp -d)
trap 'rm -rf "$temporary"' EXIT
work=$temporary/examples
mkdir "$work"
cp examples/droga_trasa.TRS "$work/"
"$build/bin/merilon-cli" import examples/droga_pomiar.txt -o "$work/droga.meri" \
  --x 2 --y 3 --z 4 --symbol 5 >/dev/null 2>&1

cat >"$work/session.sh" <<'EOF'
#!/usr/bin/env bash
set -euo pipefail
build=$1 work=$2 out=$3 scale=$4
export XDG_CONFIG_HOME=$work/config QT_SCALE_FACTOR=$scale
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
sleep 1
"$build/bin/merilon" --data-folder "$work" "$work/droga.meri" >"$work/merilon.log" 2>&1 &
app=$!
trap 'kill $app $wm 2>/dev/null || true' EXIT

# Waits for a window of that exact name and prints its id.
window() {
  local id
  for _ in $(seq 1 60); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1) || true
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.5
  done
  echo "no window \"$1\"" >&2
  return 1
}
# Clicks at (x, y) within a window, at 100 %.
click() {
  xdotool windowactivate --sync "$1" 2>/dev/null || true
  xdotool mousemove --window "$1" $(($2 * scale)) $(($3 * scale)) click 1
  sleep 1
}
enter() {
  xdotool key ctrl+a
  xdotool type --delay 20 "$1"
  xdotool key Return
  sleep 1
}

window "Otwórz plik punktów Merilonu" >/dev/null
xdotool key Return                      # the point file proposed
sleep 2
main=$(window "Merilon-\[droga\]")
click "$main" 341 81                    # "Generuj poprzeczki"
dialog=$(window "Generowanie przekrojów poprzecznych")
click "$dialog" 56 21                   # "Wybierz trasę"
window "Wybierz trasę" >/dev/null
enter droga_trasa.TRS
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
xdotool key Return                      # "Generuj"
window "Zapis Przekrojów poprzecznych" >/dev/null
enter droga.TER
click "$main" 70 105                    # "Rysuj"
sleep 2
drawing=$(xdotool search --onlyvisible --name '^Merilon-\[droga\]$' | head -1)
[ "$drawing" = "$main" ] && drawing=$(xdotool search --onlyvisible --name '^Merilon-\[droga\]$' | tail -1)
click "$drawing" 628 37                 # "Wyswietl profil lub poprzeczki terenu"
viewer=$(window "Przekroje poprzeczne terenu")
click "$viewer" 593 537                 # "Przewyższenie pionowe", 10 times
click "$viewer" 307 537                 # "Następny >"
import -window "$viewer" -frame "$out"
if [ -n "${KEEP_RUNNING:-}" ]; then echo "DISPLAY=$DISPLAY XAUTHORITY=$XAUTHORITY"; wait $app; fi
EOF
chmod +x "$work/session.sh"
xvfb-run -a -s "-screen 0 $((1600 * scale))x$((1000 * scale))x24" "$work/session.sh" "$build" "$work" \
  "$out" "$scale"
echo "$out"

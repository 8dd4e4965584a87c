#!/usr/bin/env bash
# The Linux tray program on a display scaled to 200 % (QT_SCALE_FACTOR=2, a private X server): the
# window has twice the skin's size in the screen's pixels, a click at twice Apply's position writes
# the mouse, and the captions are drawn at the screen's resolution: their edges have far fewer
# in-between grey levels than the same caption drawn at 100 % and stretched to twice the size.
# Run it in a network namespace of its own (tests/support/own-network).
#   scaled_display_test.sh BUILD_DIR
set -uo pipefail
build=$1
scratch=$(mktemp -d)
chmod 700 "$scratch"
cp "$build/tarnix-q8" "$build/config.bin" "$build/str.ini" "$scratch/"
cp -r "$build/Skins" "$scratch/Skins"
display=:$((500 + RANDOM % 400))
Xvfb "$display" -screen 0 2048x1536x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
program=
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null
  kill "$server" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
export DISPLAY=$display XDG_RUNTIME_DIR=$scratch
sleep 1

failures=0
passes=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# Starts the program at a scale and leaves its screenshot in SCREENSHOT; the window in WINDOW.
start_at() {  # start_at SCALE SCREENSHOT
  QT_SCALE_FACTOR=$1 "$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" \
    --trace="$scratch/wire-$1.trace" &
  program=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "Tarnix Q8" | head -n 1)
  sleep 1
  import -window "$window" "$2"
}
stop() {
  kill "$program"
  wait "$program" 2>/dev/null
  program=
}

# Of the pixels of a caption's box that are lit at all (a quarter of the way from the darkest to
# the brightest), the share in per mille that lies between a quarter and three quarters: the
# glyphs' blurred edges.
blurred_share() {  # blurred_share PICTURE GEOMETRY
  convert "$1" -crop "$2" +repage -colorspace gray -depth 8 txt:- | awk -F'[()]' '
    NR > 1 { split($2, v, ","); g[NR] = v[1] + 0; if (min == "" || g[NR] < min) min = g[NR]
             if (g[NR] > max) max = g[NR] }
    END { lit = 0; mid = 0
          for (i in g) { t = (g[i] - min) / (max - min + 0.001)
                         if (t > 0.25) { lit++; if (t < 0.75) mid++ } }
          print int(1000 * mid / (lit + 1)) }'
}

start_at 1 "$scratch/at100.png"
stop
start_at 2 "$scratch/at200.png"
eval "$(xdotool getwindowgeometry --shell "$window")"
check "the window has twice the size of main.png" test "$WIDTH" = 1752 -a "$HEIGHT" = 1296

# "Report Rate Setting" on the panel's header, at (500, 162) to (616, 182) in the skin's pixels.
convert "$scratch/at100.png" -crop 116x20+500+162 +repage -resize 200% "$scratch/stretched.png"
sharp=$(blurred_share "$scratch/at200.png" 232x40+1000+324)
stretched=$(blurred_share "$scratch/stretched.png" 232x40+0+0)
echo "caption edges: $sharp per mille in between at 200 %, $stretched stretched from 100 %"
check "the caption's glyphs are sharper than a stretched one" test $((sharp * 3)) -lt $((stretched * 2))

xdotool mousemove $((X + 1400)) $((Y + 1266))  # Apply, at (700, 633) in the skin's pixels
sleep 0.2
xdotool click 1
sleep 1.5
check "a click at twice Apply's position writes the mouse" \
  test "$(grep -c '^set page' "$scratch/wire-2.trace")" -gt 0
stop

echo "$passes checks passed, $failures failed"
[ "$failures" -eq 0 ]

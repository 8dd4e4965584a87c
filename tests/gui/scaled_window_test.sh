#!/usr/bin/env bash
# The Linux tray program at the desktop scales users set (QT_SCALE_FACTOR) on a private X server:
# the window is the skin's size times the scale, and a real click at the scaled position of a
# report-rate stop, then of Apply, writes the mouse: the places the controller hears of are where
# the pictures are drawn. At 200 % the captions are drawn at the screen's resolution: their edges
# have far fewer in-between grey levels than the same caption drawn at 100 % and stretched to
# twice the size (ImageMagick measures them). Then two screens side by side, the right one at twice
# the scale of the left (QT_SCREEN_SCALE_FACTORS): the window moved from the left to the right is
# drawn anew at 200 %, as sharp as one started there, and its clicks land at the new places.
# Run it in a network namespace of its own (tests/support/own-network).
#   scaled_window_test.sh BUILD_DIR
build=$1
. "$(dirname "$0")/../support/program-test.sh"
copy_program "$build" tarnix-q8 tarnix-q8.png config.bin str.ini
# Wide enough for two screens of 2000 x 1500; kept as it is between the programs (-noreset), so
# that the screens made with xrandr stay.
start_x_server 4000x1500 -noreset

scaled() { awk -v v="$1" -v s="$scale" 'BEGIN { printf "%d", v * s + 0.5 }'; }

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

# scale, the report rate's stop (its centre in the skin), the mouse's report-rate code after Apply
while read -r scale stop code; do
  QT_SCALE_FACTOR=$scale "$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" \
    --trace="$scratch/trace-$scale" &
  program=$!
  keep $program
  window=$(window_named 30 "^Tarnix Q8$") || exit 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # The page is drawn once the mouse is read (its five pages): its captions are on the screen then.
  read_whole() { [ "$(grep -c "^get page" "$scratch/trace-$scale")" -ge 5 ]; }
  wait_for 10 "the mouse read at start-up" read_whole
  sleep 0.3
  import -window "$window" "$scratch/at-$scale.png"
  check "at $scale the window is the skin's size times the scale ($WIDTH x $HEIGHT)" \
    test "$WIDTH" = "$(scaled 876)" -a "$HEIGHT" = "$(scaled 648)"
  for point in "$stop 209" "700 633"; do  # the stop, then Apply
    read -r x y <<<"$point"
    xdotool mousemove $((X + $(scaled "$x"))) $((Y + $(scaled "$y")))
    sleep 0.3
    xdotool click 1
    sleep 0.5
  done
  rate() { od -An -tu1 -N1 "$scratch/mouse-state.bin" | tr -d ' '; }
  written() { [ "$(rate)" = "$code" ]; }
  check "at $scale a click on the stop and on Apply writes report-rate code $code" \
    wait_for 10 "report-rate code $code in the mouse" written
  xdotool mousemove $((X + $(scaled 859))) $((Y + $(scaled 14))) click 1  # the close button
  check "at $scale the close button ends the program" \
    wait_exit 5 "the program at $scale to end on its close button" "$program"
  kill "$program" 2>/dev/null
done <<'SCALES'
1 721 2
1.25 649 4
1.5 793 1
2 577 8
SCALES

# "Report Rate Setting" on the panel's header, at (500, 162) to (616, 182) in the skin's pixels.
convert "$scratch/at-1.png" -crop 116x20+500+162 +repage -resize 200% "$scratch/stretched.png"
sharp=$(blurred_share "$scratch/at-2.png" 232x40+1000+324)
stretched=$(blurred_share "$scratch/stretched.png" 232x40+0+0)
echo "caption edges: $sharp per mille in between at 200 %, $stretched stretched from 100 %"
check "at 2 the caption's glyphs are sharper than a stretched one" \
  test $((sharp * 3)) -lt $((stretched * 2))

# --- Two screens: the window moved to one of another scale ---------------------------------------
xrandr --setmonitor LEFT 2000/500x1500/375+0+0 screen >/dev/null
xrandr --setmonitor RIGHT 2000/500x1500/375+2000+0 none
QT_SCREEN_SCALE_FACTORS="LEFT=1;RIGHT=2" "$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" &
program=$!
keep $program
window=$(window_named 30 "^Tarnix Q8$") || exit 1
size_is() { eval "$(xdotool getwindowgeometry --shell "$window")"; [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ]; }
xdotool windowmove "$window" 100 100
check "on the left screen the window is the skin's size" \
  wait_for 10 "the window at 876 x 648 on the left screen" size_is 876 648
xdotool windowmove "$window" 2100 100
check "moved to the right screen the window is twice the skin's size" \
  wait_for 10 "the window at 1752 x 1296 on the right screen" size_is 1752 1296
eval "$(xdotool getwindowgeometry --shell "$window")"
sleep 0.5  # the page drawn anew at the new size
import -window "$window" "$scratch/moved.png"
moved=$(blurred_share "$scratch/moved.png" 232x40+1000+324)
echo "caption edges after the move: $moved per mille in between"
check "after the move the caption's glyphs are sharper than a stretched one" \
  test $((moved * 3)) -lt $((stretched * 2))
scale=2
for point in "721 209" "700 633"; do  # the 250 Hz stop, then Apply
  read -r x y <<<"$point"
  xdotool mousemove $((X + $(scaled "$x"))) $((Y + $(scaled "$y")))
  sleep 0.3
  xdotool click 1
  sleep 0.5
done
rate() { od -An -tu1 -N1 "$scratch/mouse-state.bin" | tr -d ' '; }
written_2() { [ "$(rate)" = 2 ]; }
check "after the move a click on the stop and on Apply writes report-rate code 2" \
  wait_for 10 "report-rate code 2 in the mouse" written_2
xdotool mousemove $((X + $(scaled 859))) $((Y + $(scaled 14))) click 1  # the close button
check "after the move the close button ends the program" \
  wait_exit 5 "the moved program to end on its close button" "$program"

finish

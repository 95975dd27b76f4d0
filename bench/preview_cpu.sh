#!/usr/bin/env bash
# Preview CPU cost: Orvanel showing the simulated camera at 1280x1024, 15 fps (video-window and GDI display
# modes), against GStreamer's videotestsrc alone and videotestsrc ! videoscale ! ximagesink into a 750x600
# window, all measured in one run on one Xvfb screen. CPU is the process's user + system time over the
# measuring period, in percent of one core.
#   bench/preview_cpu.sh [build folder, default build/default] [seconds, default 10]
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build/default}"
seconds="${2:-10}"
program="$PWD/$build/bin/Orvanel"
[[ -x "$program" ]] || { echo "no $program: build first" >&2; exit 1; }

# The program reads Orvanel.ini beside itself: each mode runs from a scratch folder holding a copy of the
# executable, links to the rest of the build's files and its own settings.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
folder() {
  local dir="$scratch/$1"
  mkdir -p "$dir"
  for file in "$PWD/$build/bin/"*; do
    [[ "$(basename "$file")" == Orvanel.ini ]] || ln -s "$file" "$dir/"
  done
  rm "$dir/Orvanel" && cp "$program" "$dir/Orvanel"
  printf '[Orvanel]\nbShow=%s\n' "$2" >"$dir/Orvanel.ini"
  echo "$dir/Orvanel"
}
video_window="$(folder video-window 0)"
gdi="$(folder gdi 1)"

measure() { # measure SETTLE COMMAND...: runs COMMAND, waits SETTLE s, prints its CPU % over $seconds s
  local settle="$1"
  shift
  "$@" >/dev/null 2>&1 &
  local pid=$! tick
  tick="$(getconf CLK_TCK)"
  sleep "$settle"
  local before after
  before="$(awk '{print $14 + $15}' "/proc/$pid/stat")"
  sleep "$seconds"
  after="$(awk '{print $14 + $15}' "/proc/$pid/stat")"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v t=$((after - before)) -v hz="$tick" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * t / hz / s }'
}

# A screen of its own: Xvfb picks a free display number and writes it to the pipe.
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xvfb <&3
read -r display <&3
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT
export DISPLAY=":$display"

caps="video/x-raw,width=1280,height=1024,framerate=15/1"
window="$(measure 4 "$video_window")"
gdi_mode="$(measure 4 "$gdi")"
source_only="$(measure 1 gst-launch-1.0 -q videotestsrc is-live=true ! "$caps,format=BGRx" ! fakesink)"
pipeline="$(measure 1 gst-launch-1.0 -q videotestsrc is-live=true ! "$caps" ! videoscale \
  ! video/x-raw,width=750,height=600 ! ximagesink)"

row() { printf '%-48s %6s %%  %s\n' "$1" "$2" "$3"; }
ratio() { awk -v a="$1" -v b="$pipeline" 'BEGIN { printf "%.2f x the display pipeline", a / b }'; }
row "Orvanel, video-window mode" "$window" "$(ratio "$window")"
row "Orvanel, GDI mode" "$gdi_mode" "$(ratio "$gdi_mode")"
row "videotestsrc ! fakesink" "$source_only" ""
row "videotestsrc ! videoscale ! ximagesink 750x600" "$pipeline" ""

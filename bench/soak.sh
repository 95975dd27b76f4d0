#!/usr/bin/env bash
# Soak: Orvanel on an Xvfb screen of its own, driven through X input for N minutes with a mix of what a
# person does (snapshots, recordings, resolution changes, Edit mode, language, full screen), sampled every
# ten seconds for resident memory, threads and open descriptors. Prints the samples, resident memory at the
# start, after the warm-up and at the end, its least-squares slope over the samples after the warm-up, the
# range of threads and descriptors there, whether every recording (ffmpeg) and snapshot (djpeg, ImageMagick)
# decodes, and the program's exit status once Quit is clicked. The warm-up is the first four rounds of the
# action mix: by then every action has run four times (plugins loaded, the first recordings written, both
# languages drawn) and eight snapshots have filled the seven thumbnails, which keep their pictures.
#   bench/soak.sh [minutes, default 10] [build folder, default build/default]
# The build folder may be a copy of one (its bin/ folder), so the tree can be rebuilt while a soak runs.
# Not a test: it runs as long as asked and judges nothing; the figures are for a person to read.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes="${1:-10}"
build="$(realpath "${2:-build/default}")"
[[ -x "$build/bin/Orvanel" ]] || { echo "no $build/bin/Orvanel: build first" >&2; exit 1; }

# The program runs from a scratch folder: copies of the executable and its settings (snapshots saved in
# the scratch folder), links to the rest of the build's files, and a folder for the recordings. It lies
# outside /tmp: as a recording's path is typed, the save dialog lists every folder on it, and the thousands
# of entries others keep adding to /tmp would make each dialog's work grow while the soak runs.
scratch="$(mktemp -d -p /var/tmp orvanel-soak.XXXXXX)"
for file in "$build/bin/"*; do
  ln -s "$file" "$scratch/"
done
for file in Orvanel Orvanel.ini; do
  rm "$scratch/$file" && cp "$build/bin/$file" "$scratch/$file"
done
mkdir "$scratch/clips" "$scratch/shots"
sed -i "s|^strSavePath=.*|strSavePath=$scratch/shots/|" "$scratch/Orvanel.ini"

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xvfb <&3
read -r display <&3
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT
export DISPLAY=":$display"

# The libraries too come from the scratch folder, not from the build folder the program was linked in.
(cd "$scratch" && LD_LIBRARY_PATH="$scratch" exec ./Orvanel >"$scratch/program.log" 2>&1) &
pid=$!
sleep 5

# Screen points of the main window's controls (the window sits at 128,128 without a window manager).
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }
preview=(600 500)
size_up=(1112 267)
size_down=(972 267)
quit=(1111 212)
first_thumbnail=(223 838)
preview_edit=(1043 838) # EDIT in the preview, VIDEO in the Edit view
negative=(1063 548)
undo=(979 251)
key() { click "${preview[@]}"; xdotool key "$1"; sleep 1; }

recordings=0
record() { # F6, the save dialog answered with the file's name, a few seconds of recording, F6 again
  recordings=$((recordings + 1))
  key F6
  sleep 1
  xdotool type --delay 40 "$scratch/clips/soak$recordings.avi"
  sleep 0.3
  xdotool key Return
  sleep 4
  key F6
  sleep 1
}

actions=(snapshot snapshot record resolution edit language fullscreen)
warmup_rounds=4
act() {
  case "$1" in
    snapshot) key F5 ;;
    record) record ;;
    resolution) click "${size_down[@]}"; sleep 2; click "${size_up[@]}"; sleep 2 ;;
    edit) # the first snapshot in the Edit view, made negative and back, then the preview again
      click "${first_thumbnail[@]}"; sleep 2; click "${negative[@]}"; sleep 1; click "${undo[@]}"; sleep 1
      click "${preview_edit[@]}"; sleep 1 ;;
    language) key F7; sleep 1; key F7 ;;
    fullscreen) key F11; sleep 1; key F11 ;;
  esac
}

sample() { # seconds RSS-MiB threads descriptors
  local rss threads fds
  rss="$(awk '/^VmRSS/ {print $2 / 1024}' "/proc/$pid/status")"
  threads="$(awk '/^Threads/ {print $2}' "/proc/$pid/status")"
  fds="$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)"
  echo "$1 $rss $threads $fds"
}

samples="$scratch/samples"
start=$SECONDS
next_sample=0
count=0
warmup="" # seconds into the soak when the warm-up ended
echo "seconds rss_mib threads fds"
while ((SECONDS - start < minutes * 60)); do
  kill -0 "$pid" 2>/dev/null || { echo "the program ended during the soak:" >&2; cat "$scratch/program.log" >&2; exit 1; }
  if ((SECONDS - start >= next_sample)); then
    sample $((SECONDS - start)) | tee -a "$samples"
    next_sample=$((next_sample + 10))
  fi
  act "${actions[count % ${#actions[@]}]}"
  count=$((count + 1))
  if ((count == warmup_rounds * ${#actions[@]})); then
    warmup=$((SECONDS - start))
  fi
done
sample $((SECONDS - start)) | tee -a "$samples"

echo "actions: $count, recordings: $recordings"
if [[ -z "$warmup" ]]; then
  echo "too short for a slope: the warm-up takes $warmup_rounds rounds of ${#actions[@]} actions"
else
  awk -v warmup="$warmup" '
    NR == 1 { first = $2 }
    { last = $2; if ($2 > peak) peak = $2 }
    $1 >= warmup { n++; x += $1; y += $2; xx += $1 * $1; xy += $1 * $2
                   if (n == 1) { settled = $2; tmin = tmax = $3; fmin = fmax = $4 }
                   if ($3 < tmin) tmin = $3; if ($3 > tmax) tmax = $3
                   if ($4 < fmin) fmin = $4; if ($4 > fmax) fmax = $4 }
    END { printf "RSS: %.1f MiB at the start, %.1f after the warm-up, %.1f at the end, peak %.1f\n",
                 first, settled, last, peak
          if (n < 2) { print "too short for a slope after the warm-up"; exit }
          slope = (n * xy - x * y) / (n * xx - x * x)
          printf "after %d s of warm-up (%d samples): RSS slope %.2f MiB/hour; threads %d..%d; descriptors %d..%d\n",
                 warmup, n, slope * 3600, tmin, tmax, fmin, fmax }' "$samples"
fi

decodes() { # decodes NAME COMMAND...: whether COMMAND reads the file without an error
  local name="$1" errors
  shift
  if errors="$("$@" 2>&1 >/dev/null)" && [[ -z "$errors" ]]; then
    echo "$name: decodes"
  else
    echo "$name: DOES NOT DECODE: $errors"
  fi
}
for clip in "$scratch"/clips/*.avi; do
  if [[ -e "$clip" ]]; then
    decodes "$(basename "$clip")" ffmpeg -v error -i "$clip" -f null -
  fi
done
snapshots=0
while IFS= read -r -d '' picture; do
  snapshots=$((snapshots + 1))
  case "$picture" in
    *.jpg) decodes "${picture#"$scratch"/}" djpeg -outfile /dev/null "$picture" ;;
    *) decodes "${picture#"$scratch"/}" identify -regard-warnings "$picture" ;;
  esac
done < <(find "$scratch/shots" -type f \( -name '*.jpg' -o -name '*.bmp' \) -print0)
echo "snapshot files: $snapshots"

click "${quit[@]}"
for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
if kill -0 "$pid" 2>/dev/null; then
  echo "the program did not end after Quit"
  kill "$pid"
fi
wait "$pid" && echo "exit status 0" || echo "exit status $?"

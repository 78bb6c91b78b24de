#!/usr/bin/env bash
# Cold start of the editor on a virtual display: from process start to the
# main window's first paint after the start-up sequence, with the simulated
# 49-key controller connected and its bank downloaded; and the peak resident
# memory of that run. Prints every run, then median and spread.
#   tests/bench/measure_editor_start.sh [build/release/editor/app/ZELVorpad] [runs]
set -euo pipefail
editor=${1:-build/release/editor/app/ZELVorpad}
runs=${2:-15}
[ -x "$editor" ] || { echo "no editor at $editor" >&2; exit 1; }

work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1

mkdir -p "$work"/{home,config,data,runtime} && chmod 700 "$work/runtime"
export DISPLAY=$display HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime VORPAD_MEASURE_STARTUP=1
unset QT_QPA_PLATFORM

times=() ; rss=()
for i in $(seq 0 "$runs"); do
  start=$(date +%s%3N)
  out=$("$editor" --simulate=49 2>/dev/null)
  paint=$(sed -n 's/^first-paint-epoch-ms //p' <<<"$out")
  peak=$(sed -n 's/^peak-rss-kb //p' <<<"$out")
  [ -n "$paint" ] || { echo "run $i: no first paint reported" >&2; exit 1; }
  # The first run writes the simulated controller's state file; not counted.
  if [ "$i" -gt 0 ]; then
    times+=($(( paint - start ))); rss+=("$peak")
    echo "run $i: $(( paint - start )) ms to first paint, peak RSS $(( peak / 1024 )) MB"
  fi
done

python3 - "${times[*]}" "${rss[*]}" <<'PY'
import statistics, sys
t = [int(x) for x in sys.argv[1].split()]
r = [int(x) / 1024 for x in sys.argv[2].split()]
print(f"first paint: median {statistics.median(t):.0f} ms, min {min(t)} ms, max {max(t)} ms, "
      f"stdev {statistics.pstdev(t):.1f} ms over {len(t)} runs")
print(f"peak RSS: median {statistics.median(r):.1f} MB, max {max(r):.1f} MB")
PY

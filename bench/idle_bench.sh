#!/usr/bin/env bash
# The idle cost of the real game: the Release program under xvfb-run (a 1024 x 768 screen, no
# window manager, so the window is shown 1:1) from empty settings and data folders, driven with
# xdotool to the title, the main menu, the map and level 1 (easy, its tutorial standing), and
# left alone for a while on each. Per screen: the process's CPU share (user + system time from
# /proc over the wall time), presents per second (the SDL back end's count, written to the file
# named by QUOLL_PRESENT_STATS), the CPU time per present (the figure to compare on a busy
# machine, where the presents per second vary) and the peak resident memory so far (VmHWM); plus the time from
# the start to the first frame shown (wall time and the process's CPU time). Each present path is
# measured in the same run, one after the other: "surface" (the default: the window's surface for
# frames of its size) and "renderer" (QUOLL_PRESENT=renderer, SDL's GPU renderer for every
# frame); "former" (asked for with --paths) is the renderer with every 3D scene drawn
# (QUOLL_D3D_SCENE_MEMORY=off), as the game presented before the window's surface was used.
# Output: JSON in Google Benchmark's shape on standard output; progress on standard error.
# Usage: bench/idle_bench.sh [--game <petriglow>] [--data <game folder>] [--seconds N]
#                            [--paths "surface renderer"] [--repeat N] [--shots <folder> [--perf]]
# --shots keeps a screenshot (xwd, from x11-apps) of each screen as <folder>/<path>-<run>/<screen>.xwd;
# with --perf also a profile of each screen's stay (perf record, from linux-perf) beside it.
# Needs xvfb-run and xdotool (scripts/deps.sh bench installs them).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
game="$root/build/bench/main/petriglow"
data=""
seconds=10
paths="surface renderer"
repeat=1
shots=""
while [ $# -gt 0 ]; do
  case "$1" in
    --game) game="$2"; shift 2 ;;
    --data) data="$2"; shift 2 ;;
    --seconds) seconds="$2"; shift 2 ;;
    --paths) paths="$2"; shift 2 ;;
    --repeat) repeat="$2"; shift 2 ;;
    --shots) shots="$2"; shift 2 ;;
    --perf) export IDLE_BENCH_PERF=1; shift ;;
    *) echo "usage: $0 [--game program] [--data folder] [--seconds N] [--paths \"surface renderer\"] [--repeat N] [--shots folder [--perf]]" >&2; exit 2 ;;
  esac
done
# The game's data lies beside the build's main folder unless named.
[ -n "$data" ] || data="$(cd "$(dirname "$game")/.." && pwd)/gamedata"
for tool in xvfb-run xdotool; do
  command -v "$tool" > /dev/null || { echo "error: $tool is not installed (scripts/deps.sh bench)" >&2; exit 1; }
done
[ -x "$game" ] || { echo "error: no game program at $game (build with -DCMAKE_BUILD_TYPE=Release)" >&2; exit 1; }
[ -d "$data/data" ] || { echo "error: no game data in $data" >&2; exit 1; }

# Group 1's node: the middle of its rectangle in the map's layout data, as the flow scripts find it.
read -r GROUP1_X GROUP1_Y < <(awk '$1 == "group1" { print $2 + int($4 / 2), $3 + int($5 / 2) }' \
  "$root/data/art/textures/map/mapcoords.txt")
[ -n "${GROUP1_Y:-}" ] || { echo "error: group1 is not in data/art/textures/map/mapcoords.txt" >&2; exit 1; }
export GROUP1_X GROUP1_Y

work="$(mktemp -d "${TMPDIR:-/tmp}/idle_bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# One run, inside the X server: prints one "screen cpu presents memory" line a screen.
cat > "$work/drive.sh" << 'DRIVE'
#!/usr/bin/env bash
# usage: drive.sh <game> <data> <seconds> <home> [<folder for a screenshot of each screen>]
set -euo pipefail
game="$1"; data="$2"; seconds="$3"; home="$4"; shots="${5:-}"
export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" QUOLL_PRESENT_STATS="$home/presents"
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
log="$XDG_DATA_HOME/Nordwick/PetriGlowSaga/GameLog.txt"
ticks=$(getconf CLK_TCK)
start=$(date +%s%N)
"$game" "-changedir=$data" > "$home/output.txt" 2>&1 &
pid=$!
finish() { kill "$pid" 2> /dev/null || true; wait "$pid" 2> /dev/null || true; }
trap finish EXIT

now() { date +%s%N; }
# Waits until the game's log has a flow line holding the text (at most 120 s).
wait_flow() {
  local tries=0
  until grep -q "$1" "$log" 2> /dev/null; do
    tries=$((tries + 1))
    if [ $tries -gt 1200 ] || ! kill -0 "$pid" 2> /dev/null; then
      echo "error: the game never reached \"$1\"" >&2; cat "$home/output.txt" >&2; exit 1
    fi
    sleep 0.1
  done
}
cpu() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
presents() { local n; n=$(tr -d " \n" 2> /dev/null < "$QUOLL_PRESENT_STATS") || true; echo "${n:-0}"; }
peak() { awk '/^VmHWM/ { print $2 }' "/proc/$pid/status"; }
click() { xdotool mousemove "$1" "$2"; sleep 0.05; xdotool click 1; }
# Leaves the game alone for the given seconds and prints the screen's line.
measure() {
  local t0 c0 p0 t1 c1 p1
  xdotool mousemove 1000 10
  t0=$(now); c0=$(cpu); p0=$(presents)
  if [ -n "$shots" ] && [ -n "${IDLE_BENCH_PERF:-}" ]; then
    perf record -q -g -p "$pid" -o "$shots/$1.perf" -- sleep "$seconds" > /dev/null 2>&1 || sleep "$seconds"
  else
    sleep "$seconds"
  fi
  t1=$(now); c1=$(cpu); p1=$(presents)
  [ -z "$shots" ] || xwd -root -silent -out "$shots/$1.xwd" || true
  awk -v s="$1" -v c=$((c1 - c0)) -v p=$((p1 - p0)) -v w=$((t1 - t0)) -v hz="$ticks" -v m="$(peak)" \
    'BEGIN { printf "%s %.4f %.2f %d\n", s, (c / hz) / (w / 1e9), p / (w / 1e9), m }'
}

# The first frame: the first present counted.
until [ "$(presents)" -gt 0 ]; do
  kill -0 "$pid" 2> /dev/null || { echo "error: the game ended before its first frame" >&2; cat "$home/output.txt" >&2; exit 1; }
  sleep 0.005
done
echo "first_frame_ms $(( ($(now) - start) / 1000000 )) $(( $(cpu) * 1000 / ticks ))"
wait_flow "pop LoadState"
sleep 1
measure title
# The title's click; the first start asks for a name.
click 512 600
wait_flow "push CreateProfileState"
sleep 1
xdotool type ann; xdotool key Return
wait_flow "change StartLoadState MainMenuState"
sleep 2
measure main_menu
# Play, easy, the opening comic page by page.
click 455 207
wait_flow "push ComplexityState"
sleep 1
click 512 437
wait_flow "push ComicsState"
until grep -q "pop ComicsState" "$log"; do
  sleep 1.5
  click 900 728
done
wait_flow "change MainMenuState LevelMapState"
# The map's intro plays first (about 25 s).
sleep 28
measure map
# Group 1's fan, then level 1 (the fan's up-left cell), with the pointer kept inside the open fan.
xdotool mousemove "$GROUP1_X" "$GROUP1_Y"; sleep 1.5
xdotool mousemove $((GROUP1_X - 25)) $((GROUP1_Y - 30)); sleep 0.3
click $((GROUP1_X - 53)) $((GROUP1_Y - 48))
wait_flow "change LoadLevelState PlayLevelState"
sleep 5
measure level
DRIVE
chmod +x "$work/drive.sh"

# Keeps the run away from other copies of the game (their single-instance check) where a
# private network namespace can be had.
isolate=""
unshare -rn true > /dev/null 2>&1 && isolate="unshare -rn"

results="$work/results"
for ((r = 1; r <= repeat; r++)); do
  for path in $paths; do
    home="$work/home-$path-$r"
    mkdir -p "$home"
    shot=""
    if [ -n "$shots" ]; then shot="$(mkdir -p "$shots/$path-$r" && cd "$shots/$path-$r" && pwd)"; fi
    echo "idle_bench: $path, run $r" >&2
    present="" memory=""
    case "$path" in
      surface) ;;
      renderer) present=renderer ;;
      former) present=renderer memory=off ;;
      *) echo "error: no present path $path (surface, renderer, former)" >&2; exit 2 ;;
    esac
    env -u QUOLL_PLATFORM -u SDL_VIDEODRIVER -u SDL_AUDIODRIVER QUOLL_PRESENT="$present" \
      QUOLL_D3D_SCENE_MEMORY="$memory" SDL_AUDIODRIVER=dummy \
      $isolate xvfb-run -a -s "-screen 0 1024x768x24" "$work/drive.sh" "$game" "$data" "$seconds" "$home" $shot \
      | sed "s/^/$path $r /" >> "$results" || echo "idle_bench: the $path run $r stopped early" >&2
  done
done

# Google Benchmark's JSON: one entry per path and screen (and repetition), the figures as counters.
awk -v date="$(date -Iseconds)" -v host="$(hostname)" -v cpus="$(nproc)" '
  BEGIN {
    printf "{\n  \"context\": {\"date\": \"%s\", \"host_name\": \"%s\", \"num_cpus\": %d, \"library_build_type\": \"release\"},\n", date, host, cpus
    printf "  \"benchmarks\": ["
  }
  {
    sep = n++ ? "," : ""
    if ($3 == "first_frame_ms")
      printf "%s\n    {\"name\": \"Idle_%s/start_to_first_frame\", \"run_name\": \"Idle_%s/start_to_first_frame\", \"run_type\": \"iteration\", \"repetition_index\": %d, \"iterations\": 1, \"real_time\": %d, \"cpu_time\": %d, \"time_unit\": \"ms\"}", sep, $1, $1, $2 - 1, $4, $5
    else
      printf "%s\n    {\"name\": \"Idle_%s/%s\", \"run_name\": \"Idle_%s/%s\", \"run_type\": \"iteration\", \"repetition_index\": %d, \"iterations\": 1, \"real_time\": 0, \"cpu_time\": 0, \"time_unit\": \"ms\", \"cpu_share\": %s, \"presents_per_second\": %s, \"cpu_ms_per_present\": %.3f, \"peak_memory_kib\": %s}", sep, $1, $3, $1, $3, $2 - 1, $4, $5, ($5 > 0 ? 1000 * $4 / $5 : 0), $6
  }
  END { printf "\n  ]\n}\n" }
' "$results"

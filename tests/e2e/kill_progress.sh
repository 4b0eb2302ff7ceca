#!/bin/sh
# Kills the game (SIGKILL) at random moments of the nearly-passed play-through, while it plays
# and while it quits, and counts what each kill left of the player's files: torn, lost and reset
# files, and a score table behind a profile, as the files stand and as the next start reads them
# (fixturegen --check). Run by hand, not by CTest: it takes a while.
#
# usage: tests/e2e/kill_progress.sh <build folder> [kills (200)] [seed]
# The build folder is one with the game, fixturegen and the generated data (a Release build
# shows the real game's timing). Needs unshare -rn or no other copy of the game running.
set -eu
build=$(cd "$1" && pwd)
kills=${2:-200}
seed=${3:-$$}
source=$(cd "$(dirname "$0")/../.." && pwd)
game="$build/main/petriglow"
fixturegen="$build/tools/fixturegen/fixturegen"
gamedir="$build/run"
levels="$build/gamedata/data/levels"
[ -x "$game" ] || game=$(find "$build" -name petriglow -type f -perm -u+x | head -n 1)
[ -x "$fixturegen" ] && [ -d "$gamedir" ] && [ -f "$levels/15.bin" ] || { echo "no game, fixturegen or data in $build" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/kill_progress.XXXXXX")
trap 'rm -rf "$work"' EXIT
isolate=""
unshare -rn true 2>/dev/null && isolate="unshare -rn"

"$fixturegen" --levels "$levels" --home "$work/fixture" nearly-passed
folder_of() { echo "$1/data/Nordwick/PetriGlowSaga"; }

# One run of the whole play-through from a fresh copy of the fixture; $2: seconds before the
# kill (empty: no kill). Prints the seconds the run took.
run() {
    home=$1
    rm -rf "$home" && cp -a "$work/fixture" "$home"
    start=$(date +%s.%N)
    HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" QUOLL_PLATFORM=headless \
        QUOLL_HEADLESS_SCRIPT="$source/tests/e2e/flow/nearly_passed.script" QUOLL_REPLAY_DIGESTS="$home" \
        $isolate "$game" "-changedir=$gamedir" > "$home/output.txt" 2>&1 &
    pid=$!
    if [ -n "${2:-}" ]; then
        sleep "$2"
        kill -KILL $pid 2>/dev/null || true
        # The game itself when the isolation started it as a child.
        pkill -KILL -P $pid 2>/dev/null || true
    fi
    wait $pid 2>/dev/null || true
    echo "$(date +%s.%N) - $start" | bc
}

length=$(run "$work/timing")
echo "one play-through takes ${length}s; $kills kills, seed $seed"
awk -v seed="$seed" -v n="$kills" -v length="$length" 'BEGIN {
    srand(seed)
    # Half the kills anywhere in the play-through, half in its last fifth (the quit).
    for (i = 0; i < n; i++) printf "%.3f\n", (i % 2 == 0 ? rand() : 0.8 + 0.2 * rand()) * length
}' > "$work/moments"

total_torn=0; total_lost=0; total_reset=0; total_behind=0
next_torn=0; next_lost=0; next_reset=0; next_behind=0; failed=0; i=0
while read -r moment; do
    i=$((i + 1))
    run "$work/kill" "$moment" > /dev/null
    line=$("$fixturegen" --check "$(folder_of "$work/kill")" | tee "$work/check.txt" | head -n 1) || failed=$((failed + 1))
    set -- $line
    # files: torn T lost L reset R behind B; next start: torn T lost L reset R behind B
    total_torn=$((total_torn + $3)); total_lost=$((total_lost + $5)); total_reset=$((total_reset + $7))
    total_behind=$((total_behind + ${9%;}))
    next_torn=$((next_torn + ${13})); next_lost=$((next_lost + ${15})); next_reset=$((next_reset + ${17}))
    next_behind=$((next_behind + ${19}))
    if [ "$(wc -l < "$work/check.txt")" -gt 1 ]; then
        echo "kill $i at ${moment}s:"; sed -n '2,$p' "$work/check.txt"
    fi
done < "$work/moments"
echo "kills: $i (seed $seed)"
echo "as the files stand: torn $total_torn, lost $total_lost, reset $total_reset, score table behind $total_behind"
echo "at the next start: torn $next_torn, lost $next_lost, reset $next_reset, score table behind $next_behind"
echo "kills after which the next start lost or reset progress: $failed"

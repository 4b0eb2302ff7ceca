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
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
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
        case $2 in
        quit+*)
            # A moment of the quit: that long after the last state left.
            while kill -0 $pid 2>/dev/null && ! grep -q "pop RootState" "$(folder_of "$home")/GameLog.txt" 2>/dev/null; do
                sleep 0.002
            done
            sleep "${2#quit+}" ;;
        *) sleep "$2" ;;
        esac
        kill -KILL $pid 2>/dev/null || true
        # The game itself when the isolation started it as a child.
        pkill -KILL -P $pid 2>/dev/null || true
    else
        # The timing run notes when the quit begins (the last state leaves).
        while kill -0 $pid 2>/dev/null && ! grep -q "pop RootState" "$(folder_of "$home")/GameLog.txt" 2>/dev/null; do
            sleep 0.002
        done
        echo "$(date +%s.%N) - $start" | bc > "$home.quit"
    fi
    status=0
    wait $pid 2>/dev/null || status=$?
    echo "$(date +%s.%N) - $start" | bc
    # Where the kill landed: before the game's log had its first state, while it played, while
    # it quit (after the last state left), or after the game had ended by itself.
    log="$(folder_of "$home")/GameLog.txt"
    if [ "$status" -ne 137 ]; then phase=ended
    elif grep -q "pop RootState" "$log" 2>/dev/null; then phase=quit
    elif grep -q "\[FLOW\]" "$log" 2>/dev/null; then phase=play
    else phase=start; fi
    echo "$phase" > "$home.phase"
}

length=$(run "$work/timing")
quit=$(cat "$work/timing.quit")
echo "one play-through takes ${length}s, its quit begins at ${quit}s; $kills kills, seed $seed"
awk -v seed="$seed" -v n="$kills" -v span="$length" -v quit="$quit" 'BEGIN {
    srand(seed)
    # Half the kills anywhere in the play-through, half while it quits.
    for (i = 0; i < n; i++)
        if (i % 2 == 0) printf "%.3f\n", rand() * span
        else printf "quit+%.4f\n", rand() * (span - quit)
}' > "$work/moments"

total_torn=0; total_lost=0; total_reset=0; total_behind=0
next_torn=0; next_lost=0; next_reset=0; next_behind=0; failed=0; i=0
while read -r moment; do
    i=$((i + 1))
    run "$work/kill" "$moment" > /dev/null
    phase=$(cat "$work/kill.phase")
    eval "phase_$phase=\$((\${phase_$phase:-0} + 1))"
    line=$("$fixturegen" --check "$(folder_of "$work/kill")" | tee "$work/check.txt" | head -n 1) || failed=$((failed + 1))
    set -- $line
    # files: torn T lost L reset R behind B; next start: torn T lost L reset R behind B
    total_torn=$((total_torn + $3)); total_lost=$((total_lost + $5)); total_reset=$((total_reset + $7))
    total_behind=$((total_behind + ${9%;}))
    next_torn=$((next_torn + ${13})); next_lost=$((next_lost + ${15})); next_reset=$((next_reset + ${17}))
    next_behind=$((next_behind + ${19}))
    if [ "$(wc -l < "$work/check.txt")" -gt 1 ]; then
        echo "kill $i at ${moment}s ($phase):"; sed -n '2,$p' "$work/check.txt"
    fi
done < "$work/moments"
echo "runs: $i (seed $seed); killed at start ${phase_start:-0}, during play ${phase_play:-0}, while quitting ${phase_quit:-0}; ended before the kill ${phase_ended:-0}"
echo "as the files stand: torn $total_torn, lost $total_lost, reset $total_reset, score table behind $total_behind"
echo "at the next start: torn $next_torn, lost $next_lost, reset $next_reset, score table behind $next_behind"
echo "kills after which the next start lost or reset progress: $failed"

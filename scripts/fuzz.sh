#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (AddressSanitizer and
# UndefinedBehaviourSanitizer on) in build/fuzz, then runs each for the given number of
# seconds, starting from a copy of its corpus in build/fuzz/corpus/<name> (new inputs that
# libFuzzer finds land there; the checked-in corpus stays as it is). Crashes are written to
# build/fuzz/crashes/, each target's output to build/fuzz/logs/<name>.txt. A target that does
# not build is reported and the others still run. The last lines sum up the executions of each
# target. Usage:
#   scripts/fuzz.sh <seconds per target> [target names, e.g. resources_xml sound_ogg]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?"usage: scripts/fuzz.sh <seconds per target> [target ...]"}
shift
scripts/deps.sh fuzz
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DQUOLL_FUZZ=ON -DQUOLL_TESTS=OFF
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  # Every fuzz program the build knows, whether or not it has been built yet.
  while read -r program; do
    names+=("${program#fuzz_}")
  done < <(ninja -C build/fuzz -t targets all | sed -n 's|^fuzz/\(fuzz_[a-z0-9_]*\): CXX_EXECUTABLE_LINKER.*|\1|p' | sort)
fi
failed=()
built=()
# Every target is built on its own, so that one that does not link leaves the others to run.
if ! cmake --build build/fuzz --target "${names[@]/#/fuzz_}" -j 4 -- -k 0; then
  echo "some fuzz targets did not build; the others run" >&2
fi
for name in "${names[@]}"; do
  if [ -x build/fuzz/fuzz/fuzz_"$name" ]; then
    built+=("$name")
  else
    failed+=("$name (did not build)")
  fi
done
mkdir -p build/fuzz/crashes build/fuzz/logs
export QUOLL_PLATFORM=headless
summary=()
for name in "${built[@]}"; do
  corpus=build/fuzz/corpus/$name
  log=build/fuzz/logs/$name.txt
  mkdir -p "$corpus"
  if [ -d fuzz/corpus/"$name" ]; then
    cp -rn fuzz/corpus/"$name"/. "$corpus"/
  fi
  echo "== $name for ${seconds}s"
  status=0
  build/fuzz/fuzz/fuzz_"$name" -max_total_time="$seconds" -artifact_prefix=build/fuzz/crashes/"$name"- \
    "$corpus" > "$log" 2>&1 || status=$?
  # libFuzzer ends a clean run with "Done <n> runs in <s> second(s)".
  runs=$(sed -n 's/^Done \([0-9]*\) runs in.*/\1/p' "$log" | tail -n 1)
  grep -E '^(INFO: seed|#[0-9]+ +(INITED|DONE))|^Done |ERROR|SUMMARY' "$log" || true
  if [ "$status" -ne 0 ]; then
    failed+=("$name")
    summary+=("$(printf '%-24s failed (status %d; %s)' "$name" "$status" "$log")")
  else
    summary+=("$(printf '%-24s %12s runs' "$name" "${runs:-?}")")
  fi
done
echo "== executions per target (${seconds}s each)"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]} (inputs in build/fuzz/crashes/, output in build/fuzz/logs/)" >&2
  exit 1
fi

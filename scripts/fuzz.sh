#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (AddressSanitizer and
# UndefinedBehaviourSanitizer on) in build/fuzz, then runs each for the given number of
# seconds, starting from a copy of its corpus in build/fuzz/corpus/<name> (new inputs that
# libFuzzer finds land there; the checked-in corpus stays as it is). Crashes are written to
# build/fuzz/crashes/. Usage:
#   scripts/fuzz.sh <seconds per target> [target names, e.g. resources_xml sound_ogg]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?"usage: scripts/fuzz.sh <seconds per target> [target ...]"}
shift
scripts/deps.sh fuzz
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DQUOLL_FUZZ=ON -DQUOLL_TESTS=OFF
cmake --build build/fuzz --target fuzz_targets -j 4
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for program in build/fuzz/fuzz/fuzz_*; do
    names+=("$(basename "$program" | sed 's/^fuzz_//')")
  done
fi
failed=()
mkdir -p build/fuzz/crashes
export QUOLL_PLATFORM=headless
for name in "${names[@]}"; do
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  if [ -d fuzz/corpus/"$name" ]; then
    cp -rn fuzz/corpus/"$name"/. "$corpus"/
  fi
  echo "== $name for ${seconds}s"
  if ! build/fuzz/fuzz/fuzz_"$name" -max_total_time="$seconds" -artifact_prefix=build/fuzz/crashes/"$name"- \
    "$corpus"; then
    failed+=("$name")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]} (inputs in build/fuzz/crashes/)" >&2
  exit 1
fi

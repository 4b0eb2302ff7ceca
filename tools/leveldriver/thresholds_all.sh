#!/bin/sh
# The whole thresholds run: every campaign level text, normal and easy, through
# `leveldriver thresholds`, which writes the thresholds into the text, the level's row into the
# README's levels table and the batch's first won game into tests/content/replays; as many levels
# at once as the machine has cores.
#   tools/leveldriver/thresholds_all.sh <leveldriver> [jobs]
set -eu
driver=$(realpath "$1")
jobs=${2:-$(nproc)}
cd "$(dirname "$0")/../.."
mkdir -p tests/content/replays/easy
for folder in normal easy; do
  for level in $(seq 1 70); do
    echo "$folder $level"
  done
done | xargs -P "$jobs" -L 1 sh -c '
  folder=""; [ "$1" = easy ] && folder="easy/"
  exec "$0" thresholds "data/levels/src/$folder$2.txt" --level-number "$2" --readme README.md \
      --replay "tests/content/replays/$folder$2.replay" > /dev/null' "$driver"

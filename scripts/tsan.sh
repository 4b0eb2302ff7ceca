#!/usr/bin/env bash
# Builds the suites that run threads with ThreadSanitizer (and no AddressSanitizer, which cannot
# be combined with it) in build/tsan and runs them through CTest: the app, display, resources,
# sound and platform suites, the game shell's (the start-up loading thread that builds fonts,
# groups and particles while the splash and title show, the resource manager's group loader),
# and one whole game recorded and replayed (the fresh install, on the 3D path whose replay draws
# in bands on four threads). Extra arguments go to ctest for the suites and leave the whole game
# out, for example
#   scripts/tsan.sh -R Threads --repeat until-fail:20
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUOLL_SANITIZE=OFF -DQUOLL_TESTS=ON \
  -DCMAKE_C_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
cmake --build build/tsan --target test_app test_display test_resources test_sound test_platform replay_session \
  quoll_crash_reporter display_demo window_smoke test_shell test_playdata test_dialogdata test_playflow \
  petriglow gamedata -j 4
# The crash catcher reports from the signal handler of the failing thread by design (its tests
# die on purpose): calls there are not reported.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 report_signal_unsafe=0 suppressions=$PWD/scripts/tsan.supp ${TSAN_OPTIONS:-}"
cd build/tsan
ctest --output-on-failure -j 4 -L 'app|display|resources|sound|platform|shell' "$@"
if [ $# -eq 0 ]; then
  ctest --output-on-failure -R '^e2e_flow_fresh_install_3d$'
fi

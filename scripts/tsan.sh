#!/usr/bin/env bash
# Builds the application tests with ThreadSanitizer (and no AddressSanitizer, which cannot be
# combined with it) in build/tsan, then runs the thread tests: every GoogleTest case whose
# suite name starts with "Threads". Extra arguments go to the test program, for example
#   scripts/tsan.sh --gtest_repeat=20
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUOLL_SANITIZE=OFF -DQUOLL_TESTS=ON \
  -DCMAKE_C_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
cmake --build build/tsan --target test_app -j 4
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
cd build/tsan/tests/app
./test_app --gtest_filter='Threads*' "$@"

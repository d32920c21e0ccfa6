#!/usr/bin/env bash
# Builds the host, the plug-in builds, quillo and the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitize/ and runs the test suite there. Any memory
# error, leak or undefined behaviour fails the run. Expects scripts/setup.sh to have run.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build-sanitize
jobs=$(nproc 2>/dev/null || echo 2)
# -O1 keeps build and run times within CI's budget while the reports keep their lines.
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLO_SANITIZE=ON \
  -DQUILLO_BUILD_BENCH=OFF "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" \
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1"
cmake --build "$dir" -j"$jobs"

# The test programs run quillo from build-sanitize/bin, which loads the sanitized plug-in
# from build-sanitize/lib: the whole chain is instrumented.
suppressions="$PWD/scripts/sanitizer"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:print_stacktrace=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$suppressions/ubsan.supp"
ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 600

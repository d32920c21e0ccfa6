#!/usr/bin/env bash
# Builds the libFuzzer programs (fuzz/) with clang into build-fuzz/ and runs each one, or only
# TARGET, for SECONDS (default 600). New corpus entries, crash inputs and logs go to
# $QUILLO_FUZZ_WORK (default /tmp/quillo-fuzz), never into the repository; the seed corpora in
# fuzz/corpus/ are only read.
#
#   scripts/run-fuzz.sh [TARGET] [SECONDS]
#   TARGET: mayaAscii uvInfoFile vertexGroup featherJson featherRib featherObj
#
# Exits non-zero when a target found something (its crash input is named in the summary).
set -euo pipefail
cd "$(dirname "$0")/.."

all_targets=(mayaAscii uvInfoFile vertexGroup featherJson featherRib featherObj)
targets=("${all_targets[@]}")
seconds=600
if [ $# -ge 1 ] && [ -n "$1" ] && [ "$1" != all ]; then
  targets=("$1")
fi
if [ $# -ge 2 ]; then
  seconds=$2
fi
for target in "${targets[@]}"; do
  if [[ ! " ${all_targets[*]} " =~ " ${target} " ]]; then
    echo "unknown fuzz target '$target'; one of: ${all_targets[*]}" >&2
    exit 2
  fi
done

run_as_root=()
if [ "$(id -u)" -ne 0 ]; then
  run_as_root=(sudo)
fi
apt_install() {
  "${run_as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${run_as_root[@]}" apt-get install -y -qq --no-install-recommends "$@"
}

# The project's own packages (and its first build) come from setup.sh's list; clang and its
# libFuzzer runtime are the fuzz build's own.
if ! command -v cmake >/dev/null || ! command -v ninja >/dev/null; then
  scripts/setup.sh
fi
if ! command -v clang++ >/dev/null; then
  apt_install clang
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' \
  > "$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  major=$(clang++ -dumpversion | cut -d. -f1)
  apt_install "libclang-rt-${major}-dev"
fi

jobs=$(nproc 2>/dev/null || echo 2)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLO_FUZZ=ON -DQUILLO_BUILD_TESTS=OFF -DQUILLO_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_all

work=${QUILLO_FUZZ_WORK:-/tmp/quillo-fuzz}
status=0
for target in "${targets[@]}"; do
  seeds=fuzz/corpus/$target
  case $target in
    featherJson | featherRib | featherObj) seeds=fuzz/corpus/featherDescription ;;
  esac
  max_len=4096
  [ "$target" = mayaAscii ] && max_len=32768
  out=$work/$target
  mkdir -p "$out/corpus"
  echo "== $target: $seconds s, log $out/fuzz.log"
  # ASan's leak check runs at exit and per input; a stuck input is a finding after 20 s.
  if build-fuzz/bin/fuzz_"$target" "$out/corpus" "$seeds" -max_total_time="$seconds" \
    -timeout=20 -rss_limit_mb=3072 -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix="$out/" >"$out/fuzz.log" 2>&1; then
    result=clean
  else
    result="FOUND: $(ls -t "$out"/crash-* "$out"/leak-* "$out"/timeout-* "$out"/oom-* \
      2>/dev/null | head -1)"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/fuzz.log")
  corpus=$(find "$out/corpus" -type f | wc -l)
  echo "   $result; ${runs:-?} executions; corpus $corpus new files (+ seeds in $seeds)"
done
exit $status

#!/usr/bin/env bash
# Sets everything up, then runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
# setup.sh installs Blender, Slurm and munge: their tests must run here, not skip.
export QUILLO_REQUIRE_BLENDER=1 QUILLO_REQUIRE_SLURM=1
ctest --test-dir build --output-on-failure -j"$jobs"

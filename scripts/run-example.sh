#!/usr/bin/env bash
# Sets everything up, then runs the headless program: it loads the plug-in the way Maya does
# and lists what it registered.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build/bin/quillo render examples/planeAndCube.ma -o build/example.png "$@"

#!/usr/bin/env bash
# Sets everything up, then runs the headless program: it loads the plug-in the way Maya does
# and draws the feather example (three guide surfaces, one feather node, and a feather system
# growing a hundred feathers from them over a curved surface) to build/example.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build/bin/quillo render examples/featherGuides.ma -o build/example.png "$@"

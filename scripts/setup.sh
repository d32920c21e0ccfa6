#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing), then configures and
# builds everything into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkg-config
  libnoise-dev libosmesa6-dev libpng-dev libnanoflann-dev zlib1g-dev
  googletest libgtest-dev libbenchmark-dev
  # For the tests that run the exports through real consumers: Blender imports the OBJ (about
  # 75 s to install), and a one-node Slurm cluster runs a split export (about 10 s).
  blender slurm-wlm munge
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  run_as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    run_as_root=(sudo)
  fi
  "${run_as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${run_as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"

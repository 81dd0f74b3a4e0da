#!/usr/bin/env bash
# Installs what is missing, builds, and runs the two-node demo on this host (examples/road):
# a C++ perception node and a Python arm node exchange the package's types over Fast DDS,
# discovery on 127.0.0.1, data in shared memory. Fails unless every message arrived and reads the same on both sides.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$repo_root/build}"

bash "$repo_root/scripts/setup.sh"
bash "$repo_root/scripts/build.sh"
bash "$repo_root/examples/road/run.sh" "$build_dir"

#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$repo_root/build}"

bash "$repo_root/scripts/setup.sh"
bash "$repo_root/scripts/build.sh" "$@"
ctest --test-dir "$build_dir" --output-on-failure -j2

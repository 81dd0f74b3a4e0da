#!/usr/bin/env bash
# Configures and builds the whole tree into build/ (or $BUILD_DIR), warnings as errors. Extra
# arguments go to the configure step, e.g. `bash scripts/build.sh -DCORVANTHELIS_SANITIZE=ON`.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$repo_root/build}"

cmake -S "$repo_root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCORVANTHELIS_WARNINGS_AS_ERRORS=ON "$@"
cmake --build "$build_dir" -j2

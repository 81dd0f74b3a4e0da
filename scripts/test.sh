#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the suite itself, the same suite under
# AddressSanitizer and UBSan, and the concurrency tests under ThreadSanitizer.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$repo_root/build}"

bash "$repo_root/scripts/setup.sh"
bash "$repo_root/scripts/build.sh" "$@"
ctest --test-dir "$build_dir" --output-on-failure -j2

# Memory and undefined-behaviour faults. The allocation-failure tests skip here: the sanitizer
# owns malloc, so the injector cannot stand in front of it.
BUILD_DIR="$build_dir-asan" bash "$repo_root/scripts/build.sh" -DCORVANTHELIS_SANITIZE=address
ctest --test-dir "$build_dir-asan" --output-on-failure -j2

# Data races when several threads make the first calls of the handles at once.
cmake -S "$repo_root" -B "$build_dir-tsan" -DCMAKE_BUILD_TYPE=Release -DCORVANTHELIS_SANITIZE=thread
cmake --build "$build_dir-tsan" -j2 --target dispatch_first_use_test introspection_cpp_first_use_test
ctest --test-dir "$build_dir-tsan" --output-on-failure -L concurrency

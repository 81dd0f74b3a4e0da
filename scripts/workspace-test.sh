#!/usr/bin/env bash
# The workspace road, as a robot developer meets the package (tests/workspace/colcon_workspace.sh):
#   1. a colcon workspace without ROS 2: the package with its stand-ins, and a downstream package;
#   2. the stand-ins alone, installed as a prefix laid out as ROS 2 Humble's, and a colcon
#      workspace over it with that environment sourced: the build against an installed ROS 2.
# Each step builds everything from scratch (14 to 16 minutes in all on two busy cores), which
# would take .ci/run past its budget: this is why it is not part of scripts/test.sh.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$repo_root/scripts/setup.sh" colcon python3-colcon-ros python3-colcon-cmake \
  python3-colcon-bash python3-colcon-library-path

echo "=== 1. a colcon workspace without ROS 2"
bash "$repo_root/tests/workspace/colcon_workspace.sh"

echo "=== 2. the stand-ins as a Humble prefix, and a colcon workspace over it"
work="$(mktemp -d "${TMPDIR:-/tmp}/corvanthelis-humble.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cmake -S "$repo_root" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DCORVANTHELIS_HUMBLE_PREFIX=ON \
  -DCORVANTHELIS_WARNINGS_AS_ERRORS=ON >"$work/configure.log" ||
  { cat "$work/configure.log"; exit 1; }
cmake --build "$work/build" -j2 >"$work/build.log" || { tail -n 60 "$work/build.log"; exit 1; }
cmake --install "$work/build" --prefix "$work/humble" >/dev/null
bash "$repo_root/tests/workspace/colcon_workspace.sh" --ros "$work/humble"
echo "workspace road: 2 passed, 0 failed"

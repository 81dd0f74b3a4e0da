#!/usr/bin/env bash
# colcon_workspace.sh [--ros <prefix>]
#
# A colcon workspace as a robot developer makes one: the package and examples/downstream in
# src/, `colcon build` with BUILD_TESTING off and neither GoogleTest nor Google Benchmark to be
# found, then `source install/setup.bash` and what the workspace gives its user: configure
# said why it chose the stand-ins or an installed ROS 2, the downstream programs run from PATH,
# Python imports the classes and converts through their capsules, and AMENT_PREFIX_PATH and
# the ament index find the package with every interface (check_ros_package.py).
#
# With --ros <prefix> the workspace is built over the ROS 2 installation <prefix> (its
# setup.bash sourced first, as on the robot), and nothing the package installs may carry the
# name of a package that installation has.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
ros_prefix=""
if [[ "${1:-}" == "--ros" ]]; then
  ros_prefix="$(cd "$2" && pwd)"
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/corvanthelis-workspace.XXXXXX")"
# Kept when a step fails, for a look at what was built.
trap 'status=$?; if ((status == 0)); then rm -rf "$work"; else echo "kept $work" >&2; fi' EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# The setup scripts read variables they may not find set.
source_setup() {
  set +u
  # shellcheck source=/dev/null
  source "$1"
  set -u
}

expected_choice="the stand-ins in platform/, since no ROS_DISTRO"
if [[ -n "$ros_prefix" ]]; then
  source_setup "$ros_prefix/setup.bash"
  expected_choice="the installed runtimes and interface packages, since ROS_DISTRO=humble is set"
fi

mkdir -p "$work/src"
ln -s "$repo" "$work/src/corvanthelis_interfaces"
ln -s "$repo/examples/downstream" "$work/src/corvanthelis_downstream"
echo "== colcon build in $work"
(cd "$work" && colcon build --cmake-args -DBUILD_TESTING=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON) \
  >"$work/colcon.log" 2>&1 || { tail -n 60 "$work/colcon.log"; fail "colcon build"; }
grep -F -- "-- ROS 2: $expected_choice" "$work/colcon.log" ||
  fail "configure did not say it took $expected_choice"
grep -F -- "-- Tests, benchmarks and fuzz targets are not built" "$work/colcon.log" ||
  fail "configure did not say why the tests are not built"

echo "== source install/setup.bash"
source_setup "$work/install/setup.bash"
prefix="$work/install/corvanthelis_interfaces"
site="$(cd "$prefix"/lib/python3*/site-packages && pwd)"
python="$(sed -n 's/^CORVANTHELIS_PYTHON_EXECUTABLE:FILEPATH=//p' \
  "$work/build/corvanthelis_interfaces/CMakeCache.txt")"
[[ ":$AMENT_PREFIX_PATH:" == *":$prefix:"* ]] || fail "AMENT_PREFIX_PATH lacks $prefix: $AMENT_PREFIX_PATH"
[[ ":$PYTHONPATH:" == *":$site:"* ]] || fail "PYTHONPATH lacks $site: $PYTHONPATH"

echo "== the downstream programs, from PATH"
for program in detect_trash_c detect_trash_cpp; do
  [[ "$(command -v "$program")" == "$work/install/corvanthelis_downstream/bin/$program" ]] ||
    fail "$program is not the workspace's"
  echo "-- $program"
  "$program"
done

echo "-- detect_trash.py with $python"
output="$("$python" "$repo/examples/downstream/detect_trash.py")"
echo "$output"
grep -qxF "package: $site/corvanthelis_interfaces/__init__.py" <<<"$output" ||
  fail "the script did not import the workspace's package"

echo "== the package as ROS 2 tools find it"
"$python" "$repo/tests/workspace/check_ros_package.py" "$prefix" ${ros_prefix:+--ros "$ros_prefix"}

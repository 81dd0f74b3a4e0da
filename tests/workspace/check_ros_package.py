"""Checks the installed package as ROS 2 tools find it, with nothing but the environment a
sourced workspace gives: the first prefix on AMENT_PREFIX_PATH whose ament index has the
package is `prefix`; its index lists every interface of the catalogue, each definition is
where the tools read it, and the run dependencies name the interface packages it needs.

With --ros <prefix> (a ROS 2 installation sourced below the workspace), every package that
prefix's index lists is found there and nowhere earlier, and nothing installed under the
package's prefix carries one of their names: no stand-in was installed beside the package.

    python check_ros_package.py <prefix> [--ros <prefix>]
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'catalogue'))
import catalogue  # noqa: E402

INDEX = os.path.join('share', 'ament_index', 'resource_index')


def prefix_of(package):
    """Where the index lookup of ROS 2 tools finds `package`, or None."""
    for prefix in os.environ.get('AMENT_PREFIX_PATH', '').split(os.pathsep):
        if prefix and os.path.isfile(os.path.join(prefix, INDEX, 'packages', package)):
            return os.path.realpath(prefix)
    return None


def resource(prefix, kind, package):
    with open(os.path.join(prefix, INDEX, kind, package), encoding='utf-8') as file:
        return file.read()


def carries(component, name):
    """Whether a file or folder called `component` belongs to the package `name` by its name:
    the package's folder, its libraries, its extension modules, its CMake files."""
    return (component == name or component.startswith((f'lib{name}.', f'lib{name}__',
                                                       f'{name}_s__', f'{name}Config')))


def check_package(prefix):
    failures = []
    found = prefix_of(catalogue.PACKAGE)
    if found != prefix:
        return [f'AMENT_PREFIX_PATH finds {catalogue.PACKAGE} in {found}, not in {prefix}']
    listed = resource(prefix, 'rosidl_interfaces', catalogue.PACKAGE).splitlines()
    expected = [f'{kind}/{name}.{kind}' for kind, name in catalogue.INTERFACES]
    if listed != expected:
        failures.append(f'the index lists {listed}, not the {len(expected)} interfaces {expected}')
    for line in listed:
        if not os.path.isfile(os.path.join(prefix, 'share', catalogue.PACKAGE, line)):
            failures.append(f'the index lists {line}, which share/{catalogue.PACKAGE}/ lacks')
    needed = set(resource(prefix, 'package_run_dependencies', catalogue.PACKAGE).split(';'))
    missing = [package for package in catalogue.STAND_INS if package not in needed]
    if missing:
        failures.append(f'the run dependencies lack {missing}')
    return failures


def check_no_stand_ins(prefix, ros_prefix):
    failures = []
    names = sorted(os.listdir(os.path.join(ros_prefix, INDEX, 'packages')))
    missing = [package for package in catalogue.STAND_INS if package not in names]
    if missing:
        failures.append(f'{ros_prefix} lists no {missing}')
    for name in names:
        found = prefix_of(name)
        if found != ros_prefix:
            failures.append(f'AMENT_PREFIX_PATH finds {name} in {found}, not in {ros_prefix}')
    for folder, folders, files in os.walk(prefix):
        for component in folders + files:
            owners = [name for name in names if carries(component, name)]
            if owners:
                path = os.path.relpath(os.path.join(folder, component), prefix)
                failures.append(f'{path} carries the name of {owners[0]}')
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('prefix')
    parser.add_argument('--ros')
    arguments = parser.parse_args()
    prefix = os.path.realpath(arguments.prefix)
    failures = check_package(prefix)
    if arguments.ros:
        failures += check_no_stand_ins(prefix, os.path.realpath(arguments.ros))
    for failure in failures:
        print(f'FAILED: {failure}', file=sys.stderr)
    if failures:
        return 1
    print(f'{catalogue.PACKAGE} in {prefix}: {len(catalogue.INTERFACES)} interfaces indexed')
    return 0


if __name__ == '__main__':
    sys.exit(main())

"""Prints, for every extension module of every package in a Python tree (or for the modules
named), its own attributes in order, one module per line. tests/install/check_install.sh runs it
on the prefix's site-packages and then, for the same modules, on the build's tree, and compares
the two listings.

    python module_attributes.py <tree> [<package.module>...]
"""

import importlib
import os
import sys
import sysconfig

# What the interpreter gives every extension module besides the module's own attributes.
STANDARD = {'__name__', '__doc__', '__package__', '__loader__', '__spec__', '__file__'}


def extension_modules(tree):
    suffix = sysconfig.get_config_var('EXT_SUFFIX')
    modules = sorted(f'{package}.{name[:-len(suffix)]}'
                     for package in os.listdir(tree) if os.path.isdir(os.path.join(tree, package))
                     for name in os.listdir(os.path.join(tree, package)) if name.endswith(suffix))
    if not modules:
        sys.exit(f'no extension modules ending in {suffix} in {tree}')
    return modules


def main(tree, modules):
    for name in modules:
        module = importlib.import_module(name)
        if not module.__file__.startswith(os.path.join(tree, '')):
            sys.exit(f'{name} came from {module.__file__}, not from {tree}')
        attributes = [attribute for attribute in vars(module) if attribute not in STANDARD]
        print(f'{name} ({len(attributes)}): {" ".join(attributes)}')


if __name__ == '__main__':
    main(os.path.abspath(sys.argv[1]), sys.argv[2:] or extension_modules(sys.argv[1]))

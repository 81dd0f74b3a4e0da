"""Finds the C type support of an interface package for its Python message classes."""

import importlib

# The extension module that carries a package's create, destroy, convert and type-support
# entry points sits inside the package and is named after the type support that serves it.
TYPESUPPORT = 'rosidl_typesupport_c'


def type_support_module_name(pkg_name):
    return f'{pkg_name}.{pkg_name}_s__{TYPESUPPORT}'


def import_type_support(pkg_name):
    """Import and return the type-support extension module of the package `pkg_name`.

    Raises ImportError naming the module when it cannot be imported, for example because the
    package was installed without its extension modules.
    """
    module_name = type_support_module_name(pkg_name)
    try:
        return importlib.import_module(module_name)
    except ImportError as error:
        raise ImportError(
            f"the C type support of '{pkg_name}' is not available: cannot import "
            f"'{module_name}' ({error})", name=module_name) from error

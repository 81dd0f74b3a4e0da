"""The C entry points behind the extension modules' capsules, reached from Python as the client
library reaches them: the pointers taken out of the capsules and cast to the documented
function types; and the C serialization support behind a type-support capsule, through the
examples' CDR bridge."""

import contextlib
import ctypes
import importlib
import os

# The serialization support behind a type-support record, reached as a middleware reaches it.
from corvanthelis_cdr_bridge import deserialize, provider, serialize  # noqa: F401

PACKAGE = 'corvanthelis_interfaces'

_get_pointer = ctypes.pythonapi.PyCapsule_GetPointer
_get_pointer.restype = ctypes.c_void_p
_get_pointer.argtypes = [ctypes.py_object, ctypes.c_char_p]

CREATE = ctypes.CFUNCTYPE(ctypes.c_void_p)
DESTROY = ctypes.CFUNCTYPE(None, ctypes.c_void_p)
# The conversions run Python code, so they are called with the interpreter lock held, and
# ctypes raises whatever exception they leave standing, also after a true result.
CONVERT_FROM_PY = ctypes.PYFUNCTYPE(ctypes.c_bool, ctypes.py_object, ctypes.c_void_p)
CONVERT_TO_PY = ctypes.PYFUNCTYPE(ctypes.py_object, ctypes.c_void_p)


def pointer(capsule, name=None):
    """The capsule's pointer; a name other than the capsule's own fails with ValueError."""
    return _get_pointer(capsule, name)


def library_file(name):
    """The file of a shared library of the build, found on LD_LIBRARY_PATH like the loader."""
    for folder in os.environ.get('LD_LIBRARY_PATH', '').split(':'):
        candidate = os.path.join(folder, name)
        if folder and os.path.isfile(candidate):
            return candidate
    raise FileNotFoundError(f'{name} is on no folder of LD_LIBRARY_PATH')


def type_support_module(support='rosidl_typesupport_c', package=PACKAGE):
    return importlib.import_module(f'{package}.{package}_s__{support}')


def message_class(structure):
    return getattr(importlib.import_module(structure.module), structure.name)


class Entry:
    """The create, destroy and convert functions and the type-support record of one structure."""

    def __init__(self, create, destroy, convert_from_py, convert_to_py, type_support):
        self.create = CREATE(pointer(create))
        self.destroy = DESTROY(pointer(destroy))
        self.convert_from_py = CONVERT_FROM_PY(pointer(convert_from_py))
        self.convert_to_py = CONVERT_TO_PY(pointer(convert_to_py))
        self.type_support = pointer(type_support)

    @classmethod
    def of_class(cls, message_class):
        """Through the capsules the class keeps once its type support is imported."""
        type(message_class).__import_type_support__()
        return cls(message_class._CREATE_ROS_MESSAGE, message_class._DESTROY_ROS_MESSAGE,
                   message_class._CONVERT_FROM_PY, message_class._CONVERT_TO_PY,
                   message_class._TYPE_SUPPORT)

    @contextlib.contextmanager
    def message(self):
        """A new C structure, destroyed when the block ends."""
        address = self.create()
        assert address, 'create returned null'
        try:
            yield address
        finally:
            self.destroy(address)

    @contextlib.contextmanager
    def from_py(self, message):
        """A new C structure filled from `message`; the conversion must succeed."""
        with self.message() as address:
            assert self.convert_from_py(message, address), 'the conversion returned false'
            yield address

    def round_trip(self, message):
        with self.from_py(message) as address:
            return self.convert_to_py(address)


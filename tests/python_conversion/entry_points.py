"""The C entry points behind the extension modules' capsules, reached from Python as the client
library reaches them: the pointers taken out of the capsules and cast to the documented
function types. Also the C type supports behind a type-support capsule: the serialization
record, through a small C++ bridge, and the introspection tables."""

import contextlib
import ctypes
import importlib
import os

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
    def of_module(cls, module, infix):
        return cls(*(getattr(module, f'{operation}_msg__{infix}') for operation in (
            'create_ros_message', 'destroy_ros_message', 'convert_from_py', 'convert_to_py',
            'type_support')))

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


# --- The type supports behind a type-support record ------------------------------------------

class _MessageTypeSupport(ctypes.Structure):
    _fields_ = [('typesupport_identifier', ctypes.c_char_p), ('data', ctypes.c_void_p),
                ('func', ctypes.c_void_p)]


_HANDLE_FUNCTION = ctypes.CFUNCTYPE(ctypes.c_void_p, ctypes.c_void_p, ctypes.c_char_p)


def provider(record, identifier):
    """The record of the support `identifier`, asked of a dispatch record as a client asks it."""
    handle_function = _HANDLE_FUNCTION(_MessageTypeSupport.from_address(record).func)
    provided = handle_function(record, identifier.encode())
    assert provided, f'no {identifier} record'
    return provided


def _bridge():
    bridge = ctypes.CDLL(library_file('libcorvanthelis_cdr_bridge.so'))
    bridge.cdr_bridge_size.restype = ctypes.c_size_t
    bridge.cdr_bridge_size.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    bridge.cdr_bridge_serialize.restype = ctypes.c_size_t
    bridge.cdr_bridge_serialize.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p,
                                            ctypes.c_size_t]
    bridge.cdr_bridge_deserialize.restype = ctypes.c_bool
    bridge.cdr_bridge_deserialize.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_size_t,
                                              ctypes.c_void_p]
    return bridge


_BRIDGE = _bridge()


def serialize(type_support, address):
    """The CDR bytes the C serialization library writes for the structure at `address`."""
    record = provider(type_support, 'rosidl_typesupport_fastrtps_c')
    capacity = _BRIDGE.cdr_bridge_size(record, address) + 8
    buffer = (ctypes.c_uint8 * capacity)()
    written = _BRIDGE.cdr_bridge_serialize(record, address, buffer, capacity)
    assert written, 'the C serialization refused the structure'
    return bytes(buffer[:written])


def deserialize(type_support, data, address):
    record = provider(type_support, 'rosidl_typesupport_fastrtps_c')
    buffer = (ctypes.c_uint8 * len(data)).from_buffer_copy(data)
    assert _BRIDGE.cdr_bridge_deserialize(record, buffer, len(data), address), \
        'the C serialization could not read its own bytes'

"""Python's side of the CDR bridge (cdr_bridge.cpp): the C serialization support of a message
type, reached from the type-support record that its class's capsule holds, as a middleware
reaches it, and its callbacks called through the bridge library."""

import ctypes


class _MessageTypeSupport(ctypes.Structure):
    _fields_ = [('typesupport_identifier', ctypes.c_char_p), ('data', ctypes.c_void_p),
                ('func', ctypes.CFUNCTYPE(ctypes.c_void_p, ctypes.c_void_p, ctypes.c_char_p))]


def provider(record, identifier):
    """The record of the support `identifier`, asked of a dispatch record as clients ask it."""
    provided = _MessageTypeSupport.from_address(record).func(record, identifier.encode())
    if not provided:
        raise LookupError(f'no {identifier} support behind the record')
    return provided


def _load():
    bridge = ctypes.CDLL('libcorvanthelis_cdr_bridge.so')
    bridge.cdr_bridge_size.restype = ctypes.c_size_t
    bridge.cdr_bridge_size.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    bridge.cdr_bridge_serialize.restype = ctypes.c_size_t
    bridge.cdr_bridge_serialize.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p,
                                            ctypes.c_size_t]
    bridge.cdr_bridge_deserialize.restype = ctypes.c_bool
    bridge.cdr_bridge_deserialize.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_size_t,
                                              ctypes.c_void_p]
    return bridge


_BRIDGE = _load()


def serialize(type_support, address):
    """The CDR bytes (members only) that the C serialization support writes for the structure
    at `address`; `type_support` is the type's dispatch record."""
    record = provider(type_support, 'rosidl_typesupport_fastrtps_c')
    capacity = _BRIDGE.cdr_bridge_size(record, address)
    buffer = (ctypes.c_uint8 * capacity)()
    written = _BRIDGE.cdr_bridge_serialize(record, address, buffer, capacity)
    if not written:
        raise ValueError('the C serialization support refused the structure')
    return bytes(buffer[:written])


def deserialize(type_support, data, address):
    """Reads `data` into the initialised structure at `address`."""
    record = provider(type_support, 'rosidl_typesupport_fastrtps_c')
    buffer = (ctypes.c_uint8 * len(data)).from_buffer_copy(data)
    if not _BRIDGE.cdr_bridge_deserialize(record, buffer, len(data), address):
        raise ValueError('the C serialization support could not read the bytes')

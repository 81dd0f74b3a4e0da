"""Fills a C structure from a Python message object through the C introspection tables and
nothing else: a second way from Python values into C, independent of the conversion library,
against whose result the conversions' structures are compared."""

import ctypes

from entry_points import provider

_ACCESSOR = ctypes.CFUNCTYPE(ctypes.c_void_p, ctypes.c_void_p, ctypes.c_size_t)
_RESIZE = ctypes.CFUNCTYPE(ctypes.c_bool, ctypes.c_void_p, ctypes.c_size_t)


class _MessageMember(ctypes.Structure):
    _fields_ = [
        ('name_', ctypes.c_char_p),
        ('type_id_', ctypes.c_uint8),
        ('string_upper_bound_', ctypes.c_size_t),
        ('members_', ctypes.c_void_p),
        ('is_array_', ctypes.c_bool),
        ('array_size_', ctypes.c_size_t),
        ('is_upper_bound_', ctypes.c_bool),
        ('offset_', ctypes.c_uint32),
        ('default_value_', ctypes.c_void_p),
        ('size_function', ctypes.c_void_p),
        ('get_const_function', ctypes.c_void_p),
        ('get_function', _ACCESSOR),
        ('fetch_function', ctypes.c_void_p),
        ('assign_function', ctypes.c_void_p),
        ('resize_function', _RESIZE),
    ]


class _MessageMembers(ctypes.Structure):
    _fields_ = [
        ('message_namespace_', ctypes.c_char_p),
        ('message_name_', ctypes.c_char_p),
        ('member_count_', ctypes.c_uint32),
        ('size_of_', ctypes.c_size_t),
        ('members_', ctypes.POINTER(_MessageMember)),
        ('init_function', ctypes.c_void_p),
        ('fini_function', ctypes.c_void_p),
    ]


_TYPE_MESSAGE = 18
_TYPE_STRING = 16
_SCALARS = {1: ctypes.c_float, 2: ctypes.c_double, 6: ctypes.c_bool, 7: ctypes.c_uint8,
            8: ctypes.c_uint8, 9: ctypes.c_int8, 10: ctypes.c_uint16, 11: ctypes.c_int16,
            12: ctypes.c_uint32, 13: ctypes.c_int32, 14: ctypes.c_uint64, 15: ctypes.c_int64}
_PLACEHOLDER = b'structure_needs_at_least_one_member'

assign_string = ctypes.CDLL('librosidl_runtime_c.so').rosidl_runtime_c__String__assign
assign_string.restype = ctypes.c_bool
assign_string.argtypes = [ctypes.c_void_p, ctypes.c_char_p]


def _members(introspection_record):
    data = ctypes.c_void_p.from_address(introspection_record + ctypes.sizeof(ctypes.c_char_p))
    return _MessageMembers.from_address(data.value)


def fill(type_support, address, message):
    """Fills the initialised structure at `address` from `message`; `type_support` is the
    dispatch record of the structure's type."""
    _fill(_members(provider(type_support, 'rosidl_typesupport_introspection_c')), address, message)


def _fill(members, address, message):
    for index in range(members.member_count_):
        member = members.members_[index]
        field = address + member.offset_
        if member.name_ == _PLACEHOLDER:
            ctypes.c_uint8.from_address(field).value = 0
            continue
        value = getattr(message, member.name_.decode())
        if not member.is_array_:
            _fill_element(member, field, value)
            continue
        if member.array_size_ == 0 or member.is_upper_bound_:
            assert member.resize_function(field, len(value))
        for item_index, item in enumerate(value):
            _fill_element(member, member.get_function(field, item_index), item)


def _fill_element(member, address, value):
    if member.type_id_ == _TYPE_MESSAGE:
        _fill(_members(member.members_), address, value)
    elif member.type_id_ == _TYPE_STRING:
        assert assign_string(address, value.encode())
    else:
        _SCALARS[member.type_id_].from_address(address).value = value


def member_address(type_support, address, name):
    """Where the member `name` of the structure at `address` is, by the introspection table."""
    members = _members(provider(type_support, 'rosidl_typesupport_introspection_c'))
    for index in range(members.member_count_):
        if members.members_[index].name_ == name.encode():
            return address + members.members_[index].offset_
    raise KeyError(name)

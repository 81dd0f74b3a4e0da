// The module every Python message class of a package imports: the rules that each kind of
// field follows and the metaclasses that fetch a class's C entry points. It is the Python
// twin of the serialization `wire` header: written once per package, so that the generated
// classes are lists of calls in field order and a package needs nothing but itself and the
// import helper at run time.

#include "emit/py_messages.hpp"

#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc::py_messages {

GeneratedFile runtime_module(const Package& package) {
  CodeWriter out(4);
  out.append(package_banner(package, "#"));
  out.append(R"PY(
"""Rules that every message class of this package follows.

Each kind of field is checked here once, so that a generated class is a list of calls in field
order. A value of the wrong kind raises TypeError and one out of range raises ValueError; no
check relies on assert, which ``python -O`` removes.
"""

import array
import math

# The largest finite float32; beyond it the C side would have no value to store.
_FLOAT32_MAX = 3.4028234663852886e38

# Where the extension module keeps a class's entry points: its attribute prefix, by the name
# of the class attribute that holds the capsule.
_MESSAGE_CAPSULES = (
    ('_CREATE_ROS_MESSAGE', 'create_ros_message_msg__'),
    ('_CONVERT_FROM_PY', 'convert_from_py_msg__'),
    ('_CONVERT_TO_PY', 'convert_to_py_msg__'),
    ('_DESTROY_ROS_MESSAGE', 'destroy_ros_message_msg__'),
    ('_TYPE_SUPPORT', 'type_support_msg__'),
)
_SERVICE_CAPSULES = (('_TYPE_SUPPORT', 'type_support_srv__'),)
_ACTION_CAPSULES = (('_TYPE_SUPPORT', 'type_support_action__'),)


class _TypeSupportMetaclass(type):
    """Imports a class's C entry points from its package's type support on request.

    The metaclass of each generated class sets _PACKAGE, _INFIX (the name part that the
    extension module's attributes share) and _USES (the classes whose entry points a client
    needs together with this one, so that importing one readies the whole tree).
    """

    _CAPSULES = ()
    _PACKAGE = None
    _INFIX = None
    _USES = ()

    @classmethod
    def __import_type_support__(cls):
        if cls.__dict__.get('_TYPE_SUPPORT') is not None:
            return
        from rosidl_generator_py import import_type_support
        module = import_type_support(cls._PACKAGE)
        capsules = {}
        for attribute, prefix in cls._CAPSULES:
            name = prefix + cls._INFIX
            try:
                capsules[attribute] = getattr(module, name)
            except AttributeError:
                raise ImportError(
                    f"the type support of {cls._PACKAGE} has no '{name}': it was built from "
                    'other definitions than these message classes') from None
        for used in cls._USES:
            type(used).__import_type_support__()
        # Stored last, so that a failure leaves the class as unimported as it was.
        for attribute, capsule in capsules.items():
            setattr(cls, attribute, capsule)


class MessageMetaclass(_TypeSupportMetaclass):
    _CAPSULES = _MESSAGE_CAPSULES
    _CREATE_ROS_MESSAGE = None
    _CONVERT_FROM_PY = None
    _CONVERT_TO_PY = None
    _DESTROY_ROS_MESSAGE = None
    _TYPE_SUPPORT = None


class ServiceMetaclass(_TypeSupportMetaclass):
    _CAPSULES = _SERVICE_CAPSULES
    _TYPE_SUPPORT = None


class ActionMetaclass(_TypeSupportMetaclass):
    _CAPSULES = _ACTION_CAPSULES
    _TYPE_SUPPORT = None


def not_a_message(cls):
    """Raised by service and action classes, which only group their messages."""
    raise TypeError(f'{cls.__name__} is not a message and has no instances; '
                    'use the message classes it holds')


def check_keywords(message, kwargs):
    fields = type(message)._fields_and_field_types
    for name in kwargs:
        if name not in fields:
            raise TypeError(f'{type(message).__name__}() got an unexpected keyword argument '
                            f"'{name}'")


def message_eq(message, other):
    if type(other) is not type(message):
        return NotImplemented
    return all(getattr(message, name) == getattr(other, name)
               for name in type(message)._fields_and_field_types)


def message_repr(message):
    cls = type(message)
    # The private module that defines the class is not where users import it from.
    path = cls.__module__.split('.')
    if path[-1].startswith('_'):
        path.pop()
    fields = ', '.join(f'{name}={getattr(message, name)!r}'
                       for name in cls._fields_and_field_types)
    return f"{'.'.join(path)}.{cls.__name__}({fields})"


def _kind_of(value):
    return type(value).__name__


def _is_int(value):
    return isinstance(value, int) and not isinstance(value, bool)


def _float32_out_of_range(value):
    return abs(value) > _FLOAT32_MAX and not math.isinf(value)


def boolean(name, value):
    if not isinstance(value, bool):
        raise TypeError(f"field '{name}' takes a bool, not {_kind_of(value)}")
    return value


def integer(name, value, low, high):
    if not _is_int(value):
        raise TypeError(f"field '{name}' takes an int, not {_kind_of(value)}")
    if not low <= value <= high:
        raise ValueError(f"field '{name}' takes an int from {low} to {high}, not {value}")
    return value


def floating(name, value, single=False):
    if not isinstance(value, float):
        raise TypeError(f"field '{name}' takes a float, not {_kind_of(value)}")
    if single and _float32_out_of_range(value):
        raise ValueError(f"field '{name}' takes a float32, which {value!r} exceeds")
    return value


def string(name, value, bound=None):
    if not isinstance(value, str):
        raise TypeError(f"field '{name}' takes a str, not {_kind_of(value)}")
    if bound is not None and len(value) > bound:
        raise ValueError(f"field '{name}' takes at most {bound} characters, not {len(value)}")
    return value


def message(name, value, cls):
    if not isinstance(value, cls):
        raise TypeError(f"field '{name}' takes a {cls.__name__}, not {_kind_of(value)}")
    return value


def _check_length(name, count, size, bound):
    if size is not None and count != size:
        raise ValueError(f"field '{name}' takes exactly {size} items, not {count}")
    if bound is not None and count > bound:
        raise ValueError(f"field '{name}' takes at most {bound} items, not {count}")


def _list_of(name, value, what, accepts, size, bound):
    if not isinstance(value, (list, tuple)):
        raise TypeError(f"field '{name}' takes a list of {what}, not {_kind_of(value)}")
    for item in value:
        if not accepts(item):
            raise TypeError(f"field '{name}' takes a list of {what}, found {_kind_of(item)}")
    _check_length(name, len(value), size, bound)
    return value if isinstance(value, list) else list(value)


def message_list(name, value, cls, size=None, bound=None):
    return _list_of(name, value, cls.__name__, lambda item: isinstance(item, cls), size, bound)


def boolean_list(name, value, size=None, bound=None):
    return _list_of(name, value, 'bool', lambda item: isinstance(item, bool), size, bound)


def string_list(name, value, string_bound=None, size=None, bound=None):
    items = _list_of(name, value, 'str', lambda item: isinstance(item, str), size, bound)
    for item in items:
        string(name, item, string_bound)
    return items


def _array_items(name, value, typecode, what):
    # A str iterates as characters, which would only fail later with a less helpful message.
    if not isinstance(value, str):
        try:
            return list(value)
        except TypeError:
            pass
    raise TypeError(f"field '{name}' takes an array.array('{typecode}') or an iterable of "
                    f'{what}, not {_kind_of(value)}')


def _array(name, value, typecode, size, bound, check_items):
    if isinstance(value, array.array) and value.typecode == typecode:
        result = value
    elif typecode == 'B' and isinstance(value, (bytes, bytearray)):
        result = array.array('B', value)
    else:
        result = array.array(typecode, check_items(value))
    _check_length(name, len(result), size, bound)
    return result


def integer_array(name, value, typecode, low, high, size=None, bound=None):
    """An array.array of the typecode is kept as it is; bytes fill a uint8 array; any other
    iterable of ints is copied into a new array."""
    def check_items(value):
        items = _array_items(name, value, typecode, 'int')
        for item in items:
            if not _is_int(item):
                raise TypeError(f"field '{name}' takes ints, found {_kind_of(item)}")
        if items and not (low <= min(items) and max(items) <= high):
            raise ValueError(f"field '{name}' takes ints from {low} to {high}")
        return items
    return _array(name, value, typecode, size, bound, check_items)


def float_array(name, value, typecode, size=None, bound=None):
    """An array.array of the typecode is kept as it is; any other iterable of floats is copied
    into a new array."""
    def check_items(value):
        items = _array_items(name, value, typecode, 'float')
        for item in items:
            if not isinstance(item, float):
                raise TypeError(f"field '{name}' takes floats, found {_kind_of(item)}")
            if typecode == 'f' and _float32_out_of_range(item):
                raise ValueError(f"field '{name}' takes float32 values, which {item!r} exceeds")
        return items
    return _array(name, value, typecode, size, bound, check_items)
)PY");
  return {naming::py_runtime_file(package.name), out.text()};
}

}  // namespace idlc::py_messages

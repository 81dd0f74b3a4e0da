"""What a field of a message holds, as one object per field in the SLOT_TYPES of its class.

Tools that know no message type in advance (printing a message as YAML, filling one from a
dictionary) walk a class's __slots__ and SLOT_TYPES side by side: a NamespacedType names the
message class to import, an AbstractNestedType holds elements of its value_type. Descriptions
compare equal when they describe the same type.
"""

# Every name a basic type can have; get_fields_and_field_types() of the message classes spells
# the same types the same way.
_BASIC_TYPES = (
    'boolean', 'octet', 'char', 'wchar', 'float', 'double', 'long double',
    'int8', 'uint8', 'int16', 'uint16', 'int32', 'uint32', 'int64', 'uint64',
)


def _positive(what, value):
    if not isinstance(value, int) or isinstance(value, bool):
        raise TypeError(f'{what} must be an int, not {type(value).__name__}')
    if value <= 0:
        raise ValueError(f'{what} must be positive, not {value}')
    return value


def _hashable(value):
    return tuple(value) if isinstance(value, list) else value


class AbstractType:
    """Any type a field can have."""

    def __eq__(self, other):
        if type(other) is not type(self):
            return NotImplemented
        return vars(self) == vars(other)

    def __hash__(self):
        return hash((type(self).__name__,
                     tuple((name, _hashable(value)) for name, value in vars(self).items())))

    def __repr__(self):
        arguments = ', '.join(repr(value) for value in vars(self).values())
        return f'{type(self).__name__}({arguments})'


class BasicType(AbstractType):
    """A number, a boolean or an octet, by its name: 'uint8', 'double', 'boolean', ..."""

    def __init__(self, typename):
        if typename not in _BASIC_TYPES:
            raise ValueError(f'not a basic type: {typename!r}')
        self.typename = typename


class AbstractGenericString(AbstractType):
    """A text, bounded or not."""


class UnboundedString(AbstractGenericString):
    """A text of any length."""


class BoundedString(AbstractGenericString):
    """A text of at most maximum_size characters."""

    def __init__(self, maximum_size):
        self.maximum_size = _positive('maximum_size', maximum_size)


class NamespacedType(AbstractType):
    """A message type: the class `name` of the module that '.'.join(namespaces) names, e.g.
    NamespacedType(['geometry_msgs', 'msg'], 'Pose')."""

    def __init__(self, namespaces, name):
        namespaces = list(namespaces)
        if not all(isinstance(namespace, str) for namespace in namespaces):
            raise TypeError('namespaces must be strings')
        if not isinstance(name, str):
            raise TypeError(f'name must be a str, not {type(name).__name__}')
        self.namespaces = namespaces
        self.name = name

    def namespaced_name(self):
        return (*self.namespaces, self.name)


class AbstractNestedType(AbstractType):
    """A container of elements of value_type: a fixed array or a sequence."""

    def __init__(self, value_type):
        if not isinstance(value_type, AbstractType) or isinstance(value_type, AbstractNestedType):
            raise TypeError(f'the elements cannot be of type {value_type!r}')
        self.value_type = value_type


class Array(AbstractNestedType):
    """Exactly `size` elements."""

    def __init__(self, value_type, size):
        super().__init__(value_type)
        self.size = _positive('size', size)


class AbstractSequence(AbstractNestedType):
    """Any number of elements, bounded or not."""


class UnboundedSequence(AbstractSequence):
    """Any number of elements."""


class BoundedSequence(AbstractSequence):
    """At most maximum_size elements."""

    def __init__(self, value_type, maximum_size):
        super().__init__(value_type)
        self.maximum_size = _positive('maximum_size', maximum_size)

"""The Python classes of the package and its stand-in dependencies, found by import, and
random or default values for their fields by the type each class reports.

Shared by the Python tests: the round trips need random messages of every type, the class
tests walk every class. Which classes there must be, and under which names, comes from the
test catalogue (catalogue.py).
"""

import array
import importlib
import math
import random
import re
import struct

import catalogue as interfaces
from catalogue import KINDS, PACKAGE, PACKAGES  # noqa: F401

# What a class keeps of its extension module, in the order the module holds them.
CLASS_ATTRIBUTES = ('_CREATE_ROS_MESSAGE', '_DESTROY_ROS_MESSAGE', '_CONVERT_FROM_PY',
                    '_CONVERT_TO_PY', '_TYPE_SUPPORT')


def capsules(row):
    """For the class of a catalogue row, each class attribute with the name of the module's
    attribute it takes: five for a structure, the type support alone for a service or an
    action."""
    names = interfaces.names_of('python_module_capsules', row)
    attributes = CLASS_ATTRIBUTES if isinstance(row, interfaces.Structure) else ('_TYPE_SUPPORT',)
    return dict(zip(attributes, names, strict=True))


# The package's structures by the full class name the C class check expects, its services and
# actions by their class, each with its capsules.
STRUCTURES = [(s.full_class_name, capsules(s)) for s in interfaces.STRUCTURES]
SERVICES = [(s.path, capsules(s)) for s in interfaces.SERVICES]
ACTIONS = [(a.path, capsules(a)) for a in interfaces.ACTIONS]


def load(path):
    """The class at 'pkg.kind.Name' or 'pkg.kind._module.Name'."""
    module, _, name = path.rpartition('.')
    return getattr(importlib.import_module(module), name)


def _exported(package):
    for kind in KINDS:
        try:
            module = importlib.import_module(f'{package}.{kind}')
        except ModuleNotFoundError:
            continue
        for name in module.__all__:
            yield getattr(module, name)


def _is_message(cls):
    return callable(getattr(cls, 'get_fields_and_field_types', None))


def message_classes(package):
    """Every message class of a package (messages, requests, responses, action parts)."""
    return [cls for cls in _exported(package) if _is_message(cls)]


def all_message_classes():
    return [cls for package in PACKAGES for cls in message_classes(package)]


def service_classes(package):
    return [cls for cls in _exported(package)
            if not _is_message(cls) and hasattr(cls, 'Request')]


def action_classes(package):
    return [cls for cls in _exported(package) if hasattr(cls, 'Goal')]


# The member an empty structure gets in C; the class has no such field.
PLACEHOLDER = 'structure_needs_at_least_one_member'
# How the classes report the primitive types the definitions spell otherwise.
REPORTED_PRIMITIVES = {'float64': 'double', 'float32': 'float', 'bool': 'boolean', 'byte': 'octet'}


def reported_type(definition_type):
    """A field type as the classes report it, from its spelling in a definition."""
    element, bracket, size = definition_type.partition('[')
    element = REPORTED_PRIMITIVES.get(element, element)
    if not bracket:
        return element
    return f'sequence<{element}>' if size == ']' else f'{element}[{size}'


_FIELD_TYPE = re.compile(
    r'^(?:sequence<(?P<seq>[^,>]+)(?:, (?P<bound>\d+))?>|(?P<elem>[^\[]+)(?:\[(?P<size>\d+)\])?)$')
_STRING = re.compile(r'^string(?:<=(?P<bound>\d+))?$')

INTEGER_RANGES = {
    'int8': (-2**7, 2**7 - 1), 'uint8': (0, 2**8 - 1), 'octet': (0, 2**8 - 1),
    'int16': (-2**15, 2**15 - 1), 'uint16': (0, 2**16 - 1),
    'int32': (-2**31, 2**31 - 1), 'uint32': (0, 2**32 - 1),
    'int64': (-2**63, 2**63 - 1), 'uint64': (0, 2**64 - 1),
}
TYPECODES = {'int8': 'b', 'uint8': 'B', 'octet': 'B', 'int16': 'h', 'uint16': 'H',
             'int32': 'i', 'uint32': 'I', 'int64': 'q', 'uint64': 'Q',
             'float': 'f', 'double': 'd'}


class FieldType:
    """A reported field type taken apart: element, and whether it is a fixed array
    (size), a bounded sequence (bound) or an unbounded one."""

    def __init__(self, text):
        match = _FIELD_TYPE.match(text)
        if not match:
            raise ValueError(f'not a field type: {text!r}')
        self.text = text
        self.element = match['seq'] or match['elem']
        self.is_sequence = match['seq'] is not None
        self.size = int(match['size']) if match['size'] else None
        self.bound = int(match['bound']) if match['bound'] else None
        string = _STRING.match(self.element)
        self.string_bound = int(string['bound']) if string and string['bound'] else None
        self.is_string = string is not None
        self.is_nested = '/' in self.element
        self.is_container = self.is_sequence or self.size is not None

    def nested_class(self):
        package, name = self.element.split('/')
        for cls in message_classes(package):
            if cls.__name__ == name:
                return cls
        raise LookupError(f'no class for {self.element}')


def fields(cls):
    return [(name, FieldType(text)) for name, text in cls.get_fields_and_field_types().items()]


def zero(field_type):
    """The default of a field without a default in its definition."""
    element = field_type.element
    if field_type.is_nested:
        item = field_type.nested_class()()
    elif field_type.is_string:
        item = ''
    elif element == 'boolean':
        item = False
    elif element in ('float', 'double'):
        item = 0.0
    else:
        item = 0
    if field_type.size is not None:
        items = [field_type.nested_class()() if field_type.is_nested else item
                 for _ in range(field_type.size)]
    elif field_type.is_sequence:
        items = []
    else:
        return item
    return array.array(TYPECODES[element], items) if element in TYPECODES else items


def _random_float(rng, element):
    if element == 'float':
        return struct.unpack('f', struct.pack('f', rng.uniform(-1e6, 1e6)))[0]
    # Any finite double, so that a round trip is checked bit for bit.
    while True:
        value = struct.unpack('d', rng.getrandbits(64).to_bytes(8, 'little'))[0]
        if math.isfinite(value):
            return value


def _random_text(rng, length):
    # Valid UTF-8 without NUL, from several planes, but no surrogates.
    alphabet = [chr(c) for c in (*range(0x20, 0x7f), 0xe9, 0x4e2d, 0x1f600)]
    return ''.join(rng.choice(alphabet) for _ in range(length))


def _random_item(rng, field_type):
    element = field_type.element
    if field_type.is_nested:
        return random_message(field_type.nested_class(), rng)
    if field_type.is_string:
        return _random_text(rng, rng.randint(0, field_type.string_bound or 12))
    if element == 'boolean':
        return rng.random() < 0.5
    if element in ('float', 'double'):
        return _random_float(rng, element)
    low, high = INTEGER_RANGES[element]
    return rng.choice((low, high, rng.randint(low, high)))


def random_value(field_type, rng):
    if not field_type.is_container:
        return _random_item(rng, field_type)
    count = field_type.size
    if count is None:
        count = rng.randint(0, field_type.bound or 4)
    items = [_random_item(rng, field_type) for _ in range(count)]
    if field_type.element in TYPECODES:
        return array.array(TYPECODES[field_type.element], items)
    return items


def random_message(cls, rng=None):
    rng = rng or random.Random(0)
    return cls(**{name: random_value(field_type, rng) for name, field_type in fields(cls)})

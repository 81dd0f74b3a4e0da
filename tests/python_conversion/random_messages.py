"""Message objects with random contents, built from what each class reports of its fields, so
that one generator serves every type of the package and of the packages it nests."""

import importlib
import random
import re
import struct

_INTEGERS = {
    'octet': (0, 2**8 - 1), 'uint8': (0, 2**8 - 1), 'int8': (-2**7, 2**7 - 1),
    'uint16': (0, 2**16 - 1), 'int16': (-2**15, 2**15 - 1),
    'uint32': (0, 2**32 - 1), 'int32': (-2**31, 2**31 - 1),
    'uint64': (0, 2**64 - 1), 'int64': (-2**63, 2**63 - 1),
}
# Values whose bits a careless copy would change: signs of zero, the smallest subnormal, the
# extremes. NaN is left out, since it equals nothing, itself included.
_FLOATS = [0.0, -0.0, 5e-324, -5e-324, 1.7976931348623157e308, -1.7976931348623157e308,
           1.0 / 3.0, 2.0**-1022]
# Letters of one to four UTF-8 bytes; no NUL, which a C string cannot carry.
_LETTERS = 'azAZ09 _-.' + 'éßñ' + '日本語' + '🦀🤖'

_SEQUENCE = re.compile(r'sequence<(.+?)(?:, (\d+))?>')
_ARRAY = re.compile(r'(.+)\[(\d+)\]')
_STRING = re.compile(r'w?string(?:<=(\d+))?')


class RandomMessages:
    def __init__(self, seed):
        self._random = random.Random(seed)

    def message(self, message_class):
        """A new object of `message_class` with every field set to a random value."""
        message = message_class()
        for name, field_type in message_class.get_fields_and_field_types().items():
            setattr(message, name, self.value(field_type))
        return message

    def value(self, field_type):
        sequence = _SEQUENCE.fullmatch(field_type)
        if sequence:
            bound = int(sequence.group(2)) if sequence.group(2) else 4
            return [self._element(sequence.group(1)) for _ in range(self._random.randint(0, bound))]
        array = _ARRAY.fullmatch(field_type)
        if array:
            return [self._element(array.group(1)) for _ in range(int(array.group(2)))]
        return self._element(field_type)

    def _element(self, element_type):
        chance = self._random.random()
        if element_type == 'boolean':
            return chance < 0.5
        if element_type in _INTEGERS:
            low, high = _INTEGERS[element_type]
            if chance < 0.3:
                return self._random.choice((low, high))
            return self._random.randint(low, high)
        if element_type in ('float', 'double'):
            if chance < 0.3:
                value = self._random.choice(_FLOATS)
            else:
                value = self._random.uniform(-1e6, 1e6)
            # float32 members hold only what survives a round to single precision
            return value if element_type == 'double' else _to_single(value)
        string = _STRING.fullmatch(element_type)
        if string:
            bound = int(string.group(1)) if string.group(1) else 12
            length = self._random.randint(0, bound)
            return ''.join(self._random.choice(_LETTERS) for _ in range(length))
        return self.message(nested_class(element_type))


def _to_single(value):
    try:
        return struct.unpack('<f', struct.pack('<f', value))[0]
    except OverflowError:
        return 0.0


def nested_class(qualified):
    """The class of a nested type reported as 'pkg/Name': a message of the package, or one of
    an action's own structures."""
    package, name = qualified.split('/')
    for kind in ('msg', 'srv', 'action'):
        try:
            module = importlib.import_module(f'{package}.{kind}')
        except ImportError:
            continue
        if hasattr(module, name):
            return getattr(module, name)
        # An action's Goal, Result and Feedback live in the action's module, not in the kind's
        # exports.
        for attribute in vars(module).values():
            owner = getattr(attribute, '__module__', None)
            if owner and hasattr(importlib.import_module(owner), name):
                return getattr(importlib.import_module(owner), name)
    raise LookupError(f'no class for {qualified}')

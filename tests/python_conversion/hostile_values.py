"""Python values and classes no message class would ever hold or be, drawn from a seeded
generator for every field of every type: what a careless or hostile caller can hand the
conversions once it bypasses the classes' validation, by duck typing or by the private slots.

Every value is made once; the tests convert the same objects many times, so that a reference a
conversion keeps shows in the objects' reference counts."""

import array
import math

import message_catalogue
from fixtures import LyingLength


class Odd(Exception):
    """Raised by hostile objects, so that it cannot be mistaken for the conversions' own."""


# --- values that are not what they claim -------------------------------------------------------

class IntSub(int):
    pass


class IntRefusingConversion(int):
    def __index__(self):
        raise Odd('__index__')

    def __int__(self):
        raise Odd('__int__')


class FloatSub(float):
    pass


class StrSub(str):
    def __str__(self):
        raise Odd('__str__')

    def encode(self, *arguments):
        raise Odd('encode')


class ListSub(list):
    pass


class ListLongerThanItsItems(list):
    def __len__(self):
        return super().__len__() + 2


class TupleSub(tuple):
    pass


class ArraySub(array.array):
    pass


class BytesSub(bytes):
    pass


class FailingIteration:
    def __len__(self):
        return 3

    def __iter__(self):
        yield from ()
        raise Odd('__iter__')


class FailingLength:
    def __len__(self):
        raise Odd('__len__')

    def __iter__(self):
        return iter(())


class IndexedOnly:
    """A sequence by __getitem__ alone: iterable, without a length."""

    def __init__(self, items):
        self.items = items

    def __getitem__(self, index):
        return self.items[index]


def nested_lists(depth):
    value = []
    for _ in range(depth):
        value = [value]
    return value


NOT_NUMBERS = [None, 'text', b'\x01', [], (), {}, object(), 1j, Ellipsis, array.array('i', [1]),
               math.nan]
INTEGERS = [-1, 0, 2**31, -2**31 - 1, 2**32 + 5, 2**63, -2**63 - 1, 2**64, 2**200, -2**200,
            IntSub(7), IntSub(-1), True, IntRefusingConversion(3), 1.5, '7']
BOOLS = [True, False, 0, 1, 2, IntSub(1), 1.0, 'True']
FLOATS = [math.nan, math.inf, -math.inf, -0.0, 5e-324, FloatSub(1.5), FloatSub(math.nan), 1,
          2**1000, True, '1.0']
STRINGS = ['', '\0', 'a\0b', '\ud800', 'ok\udfffok', 'é' * 1000, '🦀' * 50, 'x' * 100_000,
           StrSub('sub'), b'bytes', bytearray(b'x'), 5, ['a']]


def odd_containers(items):
    """Containers of `items`, and things that only look like containers."""
    return [list(items), tuple(items), ListSub(items), TupleSub(items), ListLongerThanItsItems(items),
            LyingLength(len(items) + 3, items), LyingLength(max(len(items) - 1, 0), items),
            LyingLength(-1, items), LyingLength(2**62, items), FailingIteration(), FailingLength(),
            IndexedOnly(list(items)), (item for item in items), {0: None}, set(), 'abc',
            nested_lists(200), range(5), None, 7]


def odd_buffers():
    """Buffers of odd lengths and of other item formats than the field's."""
    return [b'', b'\x01\x02\x03', bytearray(12), BytesSub(b'\0' * 8), memoryview(bytes(16))[::2],
            memoryview(bytes(16)).cast('i', (2, 2)), array.array('b', [1, 2, 3, 4, 5]),
            array.array('h', [1]), array.array('q', [2**40]), array.array('f', [1.5, math.nan]),
            array.array('d', [math.nan, -0.0]), array.array('u', 'ab'), ArraySub('i', [1, 2]),
            ArraySub('d', [math.inf])]


# --- look-alikes --------------------------------------------------------------------------------

def duck(cls, class_name=None, module=None, bases=(), namespace=None, **fields):
    """An object of a plain class named and placed like `cls` (or as given), holding the fields
    of a default `cls` object except those given: it passes the class check without the class's
    validation."""
    plain = type(class_name if class_name is not None else cls.__name__, bases,
                 dict(namespace or {}, __module__=module if module is not None else cls.__module__))
    message = plain()
    default = cls()
    for name in cls.get_fields_and_field_types():
        if name not in (namespace or {}):
            setattr(message, name, getattr(default, name))
    for name, value in fields.items():
        setattr(message, name, value)
    return message


def raising_property(exception_type, *arguments):
    """A property whose every read raises a new exception: raising one instance again would
    pile up its traceback."""
    def get(self):
        raise exception_type(*arguments)
    return property(get)


def odd_classes(cls, rng):
    """Objects of `cls`'s type by name only, whose classes or attributes misbehave."""
    fields = list(cls.get_fields_and_field_types())
    failing = rng.choice(fields) if fields else 'absent'
    return [
        duck(cls, class_name=cls.__name__ + 'Träsh'),
        duck(cls, class_name=cls.__name__ + '日本' * 20),
        duck(cls, class_name=cls.__name__ + 'x' * 10_000),
        duck(cls, class_name='T'),
        duck(cls, module=5),
        duck(cls, module=StrSub(cls.__module__)),
        duck(cls, module=cls.__module__ + '\0tail'),
        duck(cls, module=''),
        duck(cls, namespace={failing: raising_property(Odd, failing)}),
        duck(cls, namespace={failing: raising_property(MemoryError)}),
        duck(cls, namespace={failing: raising_property(RecursionError)}),
        duck(cls, namespace={'__getattribute__': _failing_getattribute}),
        duck(cls, namespace={'__class__': raising_property(Odd, '__class__')}),
        duck(cls, namespace={'__class__': property(lambda self: _Nameless())}),
        duck(cls, namespace={'__class__': property(lambda self: _NameIsNotText())}),
    ]


def _failing_getattribute(self, name):
    if name.startswith('__'):
        return object.__getattribute__(self, name)
    raise Odd(name)


class _Nameless:
    __module__ = 'corvanthelis_interfaces'

    def __getattribute__(self, name):
        if name == '__name__':
            raise AttributeError(name)
        return object.__getattribute__(self, name)


class _NameIsNotText:
    __name__ = 7


# --- the generator ------------------------------------------------------------------------------

class HostileValues:
    """Hostile objects for the conversions from Python, drawn with a fixed seed."""

    MAX_DEPTH = 2

    def __init__(self, rng):
        self._rng = rng

    def field_values(self, field_type, depth=0):
        """Values that a field of this type must survive: wrong types, odd values of the right
        type, containers and buffers that lie, and messages that hold hostile values."""
        if field_type.is_container:
            element = self._element_values(field_type, depth + 1)
            items = self._rng.sample(element, min(3, len(element)))
            values = odd_containers(items)
            if field_type.element in message_catalogue.TYPECODES:
                values += odd_buffers()
            if field_type.is_nested:
                # mostly good elements, with a hostile one among them
                good = [message_catalogue.zero(_scalar(field_type)) for _ in range(3)]
                values += [good[:1] + [item] + good[1:] for item in items]
            return values
        return self._element_values(field_type, depth)

    def _element_values(self, field_type, depth):
        element = field_type.element
        if field_type.is_nested:
            return self._message_values(field_type.nested_class(), depth)
        if field_type.is_string:
            return STRINGS + NOT_NUMBERS
        if element == 'boolean':
            return BOOLS + NOT_NUMBERS
        if element in ('float', 'double'):
            return FLOATS + NOT_NUMBERS
        return INTEGERS + NOT_NUMBERS

    def _message_values(self, cls, depth):
        values = [None, 5, 'text', object(), cls, cls(), duck(cls)]
        if depth >= self.MAX_DEPTH:
            return values
        values += self.odd_class_objects(cls, count=2)
        for name, field_type in message_catalogue.fields(cls):
            hostile = self._rng.choice(self.field_values(field_type, depth + 1))
            values.append(duck(cls, **{name: hostile}))
        return values

    def odd_class_objects(self, cls, count):
        return self._rng.sample(odd_classes(cls, self._rng), count)

    def cases(self, cls, per_field=5):
        """(what, object) pairs for the conversion of `cls`: each field hostile in turn, in a
        look-alike and in the private slot of a real object; every field hostile at once; and
        objects whose class misbehaves."""
        cases = []
        fields = message_catalogue.fields(cls)
        for name, field_type in fields:
            values = self.field_values(field_type)
            for value in self._rng.sample(values, min(per_field, len(values))):
                cases.append((f'{name} = {_describe(value)}', duck(cls, **{name: value})))
            real = cls()
            value = self._rng.choice(values)
            setattr(real, '_' + name, value)
            cases.append((f'real object, _{name} = {_describe(value)}', real))
        for round_ in range(2):
            every = {name: self._rng.choice(self.field_values(field_type))
                     for name, field_type in fields}
            cases.append((f'every field hostile ({round_})', duck(cls, **every)))
        for odd in odd_classes(cls, self._rng):
            cases.append((f'class {_describe(type(odd))}', odd))
        return cases


def _scalar(field_type):
    """The element type of a container field, as a field type of its own."""
    return message_catalogue.FieldType(field_type.element)


def _describe(value):
    try:
        text = repr(value)
    except Exception as error:  # a hostile object may refuse even that
        text = f'<unprintable: {error!r}>'
    text = f'{type(value).__name__}: {text}'
    return text if len(text) < 80 else text[:77] + '...'

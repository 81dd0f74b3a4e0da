"""Hostile values in every field of every type, and hostile classes for the conversions back:
whatever they meet, the conversions return a result or raise a Python exception. Nothing
crashes, and nothing is left behind: over many rounds the reference counts of every value and
class involved, the interpreter's allocated blocks and the C library's heap stay flat."""

import array
import ctypes
import gc
import random
import sys
import unittest

import message_catalogue
from catalogue import STRUCTURES
from entry_points import Entry, message_class
from hostile_values import HostileValues, Odd

SEED = 10
WARM_UP = 3
ROUNDS = 25
# A conversion that kept one block would leave one per round, in every stretch of rounds; the
# interpreter's free lists and caches fill up now and then, and then stay.
BLOCK_SLACK = 100
HEAP_SLACK = 4096
STRETCHES = 4


class _MallInfo2(ctypes.Structure):
    _fields_ = [(name, ctypes.c_size_t) for name in (
        'arena', 'ordblks', 'smblks', 'hblks', 'hblkhd', 'usmblks', 'fsmblks', 'uordblks',
        'fordblks', 'keepcost')]


_mallinfo2 = ctypes.CDLL(None).mallinfo2
_mallinfo2.restype = _MallInfo2


def heap_in_use():
    """Bytes the C library's allocator has handed out: the C structures' strings and sequences
    live there, and so do the interpreter's larger objects."""
    info = _mallinfo2()
    return info.uordblks + info.hblkhd


def classes():
    return [(structure, message_class(structure)) for structure in STRUCTURES]


class Flat(unittest.TestCase):
    def assert_flat(self, run_round, watched, what):
        """Runs the rounds and checks that they keep no reference to any watched object, and
        that the memory in use does not grow in every stretch of rounds."""
        for _ in range(WARM_UP):
            run_round()
        gc.collect()
        counts = [sys.getrefcount(value) for value in watched]
        for _ in range(STRETCHES):
            blocks, heap = sys.getallocatedblocks(), heap_in_use()
            for _ in range(ROUNDS):
                run_round()
            gc.collect()
            grown = (sys.getallocatedblocks() - blocks, heap_in_use() - heap)
            if grown[0] < BLOCK_SLACK and grown[1] < HEAP_SLACK:
                break
        else:
            self.fail(f'{what}: {grown[0]} blocks and {grown[1]} bytes more after each of '
                      f'{STRETCHES} stretches of {ROUNDS} rounds')
        kept = [(value, before, after) for value, before, after in zip(
            watched, counts, [sys.getrefcount(value) for value in watched]) if before != after]
        self.assertEqual(kept, [], f'{what}: references kept')


# The conversions take the message by its address: ctypes would look at a py_object argument's
# class itself, and some of these objects refuse to name theirs.
_FROM_PY_BY_ADDRESS = ctypes.PYFUNCTYPE(ctypes.c_bool, ctypes.c_void_p, ctypes.c_void_p)


def from_py_by_address(converter):
    return _FROM_PY_BY_ADDRESS(ctypes.cast(converter.convert_from_py, ctypes.c_void_p).value)


def _convert_from_py(converter, convert, message):
    """True, or the exception the conversion raised."""
    with converter.message() as address:
        try:
            return convert(id(message), address)
        except Exception as error:  # every kind the conversions may raise
            return error


# What a conversion from Python may raise besides the hostile objects' own Odd.
_RAISED_FROM_PY = (TypeError, ValueError, OverflowError, AttributeError, BufferError, MemoryError,
                   RuntimeError, Odd)


def _shared(value):
    """Objects whose reference counts the rest of the interpreter moves too."""
    return (value is None or value is True or value is False or value is Ellipsis
            or (type(value) is int and -5 <= value <= 256)
            or (type(value) in (str, bytes, tuple) and len(value) <= 1)
            or (type(value) is str and sys.intern(value) is value))


def parts(value, depth=4):
    """The value and what it holds: the items of containers, the fields of messages. Only the
    value's real type is asked, never the object itself, which may lie about its class."""
    yield value
    if depth == 0:
        return
    kind = type(value)
    if issubclass(kind, (list, tuple, set)):
        inner = list(value)
    elif issubclass(kind, dict):
        inner = list(value.values())
    else:
        try:
            inner = list(object.__getattribute__(value, '__dict__').values())
        except AttributeError:
            inner = []
        if hasattr(kind, 'get_fields_and_field_types') and not issubclass(kind, type):
            inner += [getattr(value, '_' + name, None)
                      for name in kind.get_fields_and_field_types()]
    for item in inner:
        yield from parts(item, depth - 1)


class FromPython(Flat):
    def test_every_field_of_every_type_survives_hostile_values(self):
        hostile = HostileValues(random.Random(SEED))
        converted = failed = 0
        for structure, cls in classes():
            converter = Entry.of_class(cls)
            convert = from_py_by_address(converter)
            cases = hostile.cases(cls)

            def run_round():
                for _, message in cases:
                    _convert_from_py(converter, convert, message)

            with self.subTest(type=structure.name):
                for what, message in cases:
                    outcome = _convert_from_py(converter, convert, message)
                    if outcome is True:
                        converted += 1
                        continue
                    failed += 1
                    self.assertIsInstance(outcome, _RAISED_FROM_PY, f'{structure.name}, {what}')
                watched = {id(part): part for _, message in cases
                           for part in (*parts(message), type(message), type(message).__name__)
                           if not _shared(part)}
                self.assert_flat(run_round, [cls, *watched.values()], structure.name)
        print(f'\n{converted} hostile objects converted, {failed} refused', file=sys.stderr)


# --- C to Python --------------------------------------------------------------------------------

class _Refusing(Exception):
    pass


def hostile_classes(cls):
    """Classes standing in for `cls` when the conversion makes a new object: their constructor,
    their instances' attributes or the arrays these hold misbehave."""
    fields = list(cls.get_fields_and_field_types())

    class RaisingInit:
        def __init__(self):
            raise Odd('__init__')

    class NotAnObject:
        def __new__(cls_):
            return 5

    class Frozen:
        __slots__ = ()

    def refusing(field):
        def __setattr__(self, name, value):
            if name == field:
                raise _Refusing(name)
            object.__setattr__(self, name, value)
        return type(cls.__name__, (), {'__module__': cls.__module__, '__setattr__': __setattr__,
                                       '__init__': _defaults_of(cls)})

    made = [RaisingInit, NotAnObject, Frozen, None, 5]
    made += [refusing(field) for field in fields]
    made.append(type(cls.__name__, (), {'__module__': cls.__module__, '__init__': _defaults_of(cls)}))
    for field, field_type in message_catalogue.fields(cls):
        if field_type.element in message_catalogue.TYPECODES and field_type.is_sequence:
            made += [_holding(cls, field, make) for make in _odd_arrays(field_type)]
    return made


def _defaults_of(cls):
    def __init__(self):
        default = cls()
        for field in cls.get_fields_and_field_types():
            object.__setattr__(self, field, getattr(default, field))
    return __init__


def _holding(cls, field, make):
    """A class like `cls` whose new objects hold `make()` in the number array `field`."""
    defaults = _defaults_of(cls)

    def __init__(self):
        defaults(self)
        setattr(self, field, make())
    return type(cls.__name__, (), {'__module__': cls.__module__, '__init__': __init__})


class FakeArray:
    """Carries array.array's name and nothing of its promises."""

    kept = []

    def __init__(self, itemsize=4, length=0, pop=True, frombytes=True):
        self.itemsize, self.length = itemsize, length
        if not pop:
            self.pop = None
        if not frombytes:
            self.frombytes = None

    def __len__(self):
        return self.length

    def pop(self):
        if self.length <= 0:
            raise IndexError('pop from an empty array')
        self.length -= 1

    def frombytes(self, block):
        # A block kept beyond the call must stay readable after the structure is gone.
        FakeArray.kept.append((block, bytes(block)))


FakeArray.__name__ = FakeArray.__qualname__ = 'array.array'


class _ItemsizeRaises(FakeArray):
    @property
    def itemsize(self):
        raise Odd('itemsize')

    @itemsize.setter
    def itemsize(self, value):
        pass


_ItemsizeRaises.__name__ = 'array.array'


def _odd_arrays(field_type):
    width = array.array(message_catalogue.TYPECODES[field_type.element]).itemsize
    return [
        lambda: None, list, lambda: array.array('b'), lambda: array.array('f' if width == 8 else 'q'),
        lambda: _ArraySub(message_catalogue.TYPECODES[field_type.element], [1, 2]),
        lambda: _KeepingArray(message_catalogue.TYPECODES[field_type.element], [1, 2]),
        lambda: FakeArray(itemsize=width), lambda: FakeArray(itemsize=width, length=3),
        lambda: FakeArray(itemsize=width, length=5, pop=False),
        lambda: FakeArray(itemsize=width, frombytes=False),
        lambda: FakeArray(itemsize='wide'), lambda: FakeArray(itemsize=-1),
        lambda: FakeArray(itemsize=width, length=-1), lambda: _ItemsizeRaises(),
    ]


class _ArraySub(array.array):
    pass


class _KeepingArray(array.array):
    """A real array in all but its type, which keeps what frombytes is given."""

    def frombytes(self, block):
        FakeArray.kept.append((block, bytes(block)))
        super().frombytes(block)


_KeepingArray.__name__ = 'array.array'


def nested_classes(cls, seen=None):
    """(module, name) of every message class the conversion of `cls` makes besides `cls`."""
    seen = set() if seen is None else seen
    for _, field_type in message_catalogue.fields(cls):
        if field_type.is_nested:
            nested = field_type.nested_class()
            key = (nested.__module__, nested.__name__)
            if key not in seen:
                seen.add(key)
                nested_classes(nested, seen)
    return seen


class _Replaced:
    """Makes the conversions instantiate `replacement` for the class `name` of `module`."""

    def __init__(self, module, name, replacement):
        self.module, self.name, self.replacement = sys.modules[module], name, replacement

    def __enter__(self):
        self.original = getattr(self.module, self.name)
        setattr(self.module, self.name, self.replacement)

    def __exit__(self, *exception):
        setattr(self.module, self.name, self.original)


class ToPython(Flat):
    def test_every_type_survives_hostile_classes(self):
        rng = random.Random(SEED)
        made = failed = 0
        for structure, cls in classes():
            converter = Entry.of_class(cls)
            cases = [(structure.module, structure.name, replacement)
                     for replacement in hostile_classes(cls)]
            for module, name in sorted(nested_classes(cls)):
                nested = getattr(sys.modules[module], name)
                cases += [(module, name, replacement)
                          for replacement in rng.sample(hostile_classes(nested), 3)]
            with converter.from_py(message_catalogue.random_message(cls, rng)) as address:

                def run_round():
                    for module, name, replacement in cases:
                        with _Replaced(module, name, replacement):
                            try:
                                converter.convert_to_py(address)
                            except Exception:
                                pass
                    FakeArray.kept.clear()

                with self.subTest(type=structure.name):
                    for module, name, replacement in cases:
                        with _Replaced(module, name, replacement):
                            try:
                                converter.convert_to_py(address)
                                made += 1
                            except (_Refusing, Odd, TypeError, ValueError, AttributeError,
                                    RuntimeError, IndexError, OverflowError):
                                failed += 1
                    kept, FakeArray.kept = FakeArray.kept, []
                    self.assert_flat(run_round, [case[2] for case in cases
                                                 if isinstance(case[2], type)], structure.name)
            # the structure is gone now: what the arrays kept must not have been its memory
            for block, copy in kept:
                self.assertEqual(bytes(block), copy)
        print(f'\n{made} objects made by hostile classes, {failed} refused', file=sys.stderr)


if __name__ == '__main__':
    unittest.main()

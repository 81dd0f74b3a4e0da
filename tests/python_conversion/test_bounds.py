"""A bounded sequence keeps its bound on every road into the C structure: the class's setter,
the list or array the class keeps after an assignment, and the from-Python conversion, which
refuses a value that went past the class too; and the texts of the test-only package's
definitions that mean something to a template or a language arrive in Python, and through C,
as they were written."""

import array
import copy
import pickle
import unittest

from corvanthelis_every_kind.msg import Bounded, Empty, Literals
from entry_points import Entry
from geometry_msgs.msg import Point

# One element more than each bounded field of Bounded takes, and a way to add one more.
ABOVE_BOUND = {
    'flags': ([True, False, True], False),
    'octets': (array.array('B', [1, 2, 3, 4]), 5),
    'numbers': (array.array('i', [1, 2, 3]), 4),
    'names': (['a', 'b', 'c'], 'd'),
    'points': ([Point(), Point(), Point()], Point()),
    'empties': ([Empty(), Empty()], Empty()),
}


def at_bound(name):
    too_many, _ = ABOVE_BOUND[name]
    return too_many[:-1]


class BoundTest(unittest.TestCase):

    def test_the_setter_refuses_more_than_the_bound(self):
        message = Bounded()
        for name, (too_many, _) in ABOVE_BOUND.items():
            with self.subTest(field=name):
                with self.assertRaisesRegex(ValueError, f"'{name}'"):
                    setattr(message, name, too_many)
                setattr(message, name, at_bound(name))
                self.assertEqual(list(getattr(message, name)), list(at_bound(name)))

    def test_the_kept_value_refuses_to_grow_past_the_bound(self):
        growths = {
            'append': lambda value, item: value.append(item),
            'extend': lambda value, item: value.extend([item]),
            'insert': lambda value, item: value.insert(0, item),
            '+=': lambda value, item: value.__iadd__([item] if isinstance(value, list)
                                                      else type(value)(value.typecode, [item])),
            'slice': lambda value, item: value.__setitem__(slice(0, 0), [item] if isinstance(
                value, list) else array.array(value.typecode, [item])),
            '*=': lambda value, item: value.__imul__(2),
        }
        for name, (_, item) in ABOVE_BOUND.items():
            for growth, grow in growths.items():
                with self.subTest(field=name, growth=growth):
                    kept = list(at_bound(name))
                    message = Bounded(**{name: at_bound(name)})
                    with self.assertRaisesRegex(ValueError, f"'{name}'"):
                        grow(getattr(message, name), item)
                    self.assertEqual(list(getattr(message, name)), kept)
        message = Bounded(octets=b'\x01')
        with self.assertRaises(ValueError):
            message.octets.frombytes(b'\x02\x03\x04')
        message.octets.frombytes(b'\x02\x03')
        self.assertEqual(message.octets, array.array('B', [1, 2, 3]))

    def test_copies_keep_the_bound(self):
        message = Bounded(**{name: at_bound(name) for name in ABOVE_BOUND})
        for copied in (copy.copy(message), copy.deepcopy(message),
                       pickle.loads(pickle.dumps(message))):
            self.assertEqual(copied, message)
            for name, (_, item) in ABOVE_BOUND.items():
                with self.subTest(field=name):
                    with self.assertRaises(ValueError):
                        getattr(copied, name).append(item)

    def test_the_conversion_refuses_more_than_the_bound_and_names_the_field(self):
        converter = Entry.of_class(Bounded)
        for name, (too_many, _) in ABOVE_BOUND.items():
            with self.subTest(field=name):
                message = Bounded()
                # Past the setter and the kept value, as a class of another make could.
                object.__setattr__(message, f'_{name}', too_many)
                with converter.message() as address:
                    with self.assertRaisesRegex(ValueError, f"'{name}' takes at most"):
                        converter.convert_from_py(message, address)

    def test_a_value_at_the_bound_goes_through_c_and_back(self):
        converter = Entry.of_class(Bounded)
        message = Bounded(**{name: at_bound(name) for name in ABOVE_BOUND})
        back = converter.round_trip(message)
        self.assertEqual(back, message)
        with self.assertRaises(ValueError):
            back.names.append('z')


class LiteralsTest(unittest.TestCase):
    DEFAULTS = {
        'note': 'costs $5',
        'bounded_note': 'tab\there',
        'plain': 'costs$5',
        'control': 'bell\x07 and delete\x7f',
        'pair': ['$a$', 'b$'],
        'few': ['??=', '#hash', '*/'],
        'many': ['line\nbreak', '%s %d', '\u00fcn\u00efc\u00f6d\u00e9'],
    }

    def test_defaults_and_constants_are_the_definitions_text(self):
        made_in_c = Entry.of_class(Literals)
        with made_in_c.message() as address:
            from_c = made_in_c.convert_to_py(address)
        for name, expected in self.DEFAULTS.items():
            with self.subTest(field=name):
                self.assertEqual(getattr(Literals(), name), expected)
                self.assertEqual(getattr(from_c, name), expected)
        self.assertEqual(Literals.DOLLARS, 'costs $5, or $price$')
        self.assertEqual(Literals.ESCAPES, 'say "it\'s" \\ #not a comment ??= \u00fc')


if __name__ == '__main__':
    unittest.main()

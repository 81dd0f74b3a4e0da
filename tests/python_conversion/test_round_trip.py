"""Every structure, with random contents, from Python to C to CDR and back: the object comes
back equal, its numbers bit for bit, and the CDR bytes are those the C library writes for the
same values filled into C through the introspection tables instead of the conversions."""

import unittest

import catalogue
import introspection_filler
from entry_points import Entry, deserialize, message_class, serialize
from random_messages import RandomMessages

VARIANTS = 6


class RoundTrip(unittest.TestCase):
    def round_trip(self, message_type, seed):
        converter = Entry.of_class(message_type)
        messages = RandomMessages(seed)
        for variant in range(VARIANTS):
            original = messages.message(message_type)
            with self.subTest(type=message_type.__name__, variant=variant):
                with converter.from_py(original) as address:
                    written = serialize(converter.type_support, address)
                with converter.message() as address:
                    introspection_filler.fill(converter.type_support, address, original)
                    self.assertEqual(serialize(converter.type_support, address), written)
                with converter.message() as address:
                    deserialize(converter.type_support, written, address)
                    back = converter.convert_to_py(address)
                self.assertEqual(back, original)
                with converter.from_py(back) as address:
                    self.assertEqual(serialize(converter.type_support, address), written)

    def test_every_structure_of_the_package(self):
        for index, structure in enumerate(catalogue.STRUCTURES):
            self.round_trip(message_class(structure), seed=index)

    def test_every_structure_of_the_nested_packages(self):
        """The packages whose conversions ours call."""
        for index, structure in enumerate(catalogue.DEPENDENCY_STRUCTURES):
            self.round_trip(message_class(structure), seed=1000 + index)

    def test_every_kind_of_field(self):
        from corvanthelis_every_kind.msg import Empty, Kinds
        for index, message_type in enumerate((Kinds, Empty)):
            self.round_trip(message_type, seed=2000 + index)


if __name__ == '__main__':
    unittest.main()

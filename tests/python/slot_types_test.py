"""The type descriptions of SLOT_TYPES, used as the tools that know no message type in advance
use them: a walk over __slots__ and SLOT_TYPES side by side turns any message into nested
dictionaries, and a filler that imports each nested class by the namespaces of its description
builds the message again from them."""

import importlib
import random
import unittest

from rosidl_parser import definition

import catalogue as interfaces
import message_catalogue as catalogue

# The test package holds a field of every kind, bounded strings and sequences among them.
CLASSES = catalogue.all_message_classes() + catalogue.message_classes('corvanthelis_every_kind')


def to_plain(message):
    """The message as nested dictionaries and lists, by its slot types alone."""
    return {slot[1:]: _plain_value(getattr(message, slot[1:]), slot_type)
            for slot, slot_type in zip(message.__slots__, message.SLOT_TYPES, strict=True)}


def _plain_value(value, slot_type):
    if isinstance(slot_type, definition.NamespacedType):
        return to_plain(value)
    if isinstance(slot_type, definition.AbstractNestedType):
        return [_plain_value(item, slot_type.value_type) for item in value]
    return value


def message_class(namespaced_type):
    module = importlib.import_module('.'.join(namespaced_type.namespaces))
    return getattr(module, namespaced_type.name)


def set_message_fields(message, values):
    """Fills a message from nested dictionaries, making each nested message from its
    description."""
    slot_types = dict(zip(message.__slots__, message.SLOT_TYPES, strict=True))
    for name, value in values.items():
        setattr(message, name, _filled_value(value, slot_types['_' + name]))


def _filled_value(value, slot_type):
    if isinstance(slot_type, definition.NamespacedType):
        message = message_class(slot_type)()
        set_message_fields(message, value)
        return message
    if (isinstance(slot_type, definition.AbstractNestedType)
            and isinstance(slot_type.value_type, definition.NamespacedType)):
        return [_filled_value(item, slot_type.value_type) for item in value]
    return value


def spelled(slot_type):
    """A description as get_fields_and_field_types() spells the same type."""
    if isinstance(slot_type, definition.BasicType):
        return slot_type.typename
    if isinstance(slot_type, definition.BoundedString):
        return f'string<={slot_type.maximum_size}'
    if isinstance(slot_type, definition.UnboundedString):
        return 'string'
    if isinstance(slot_type, definition.NamespacedType):
        return f'{slot_type.namespaces[0]}/{slot_type.name}'
    element = spelled(slot_type.value_type)
    if isinstance(slot_type, definition.Array):
        return f'{element}[{slot_type.size}]'
    if isinstance(slot_type, definition.BoundedSequence):
        return f'sequence<{element}, {slot_type.maximum_size}>'
    return f'sequence<{element}>'


def described(package, definition_type):
    """The description of a field type as a definition file spells it, e.g. 'int32[]' or
    'geometry_msgs/Pose'; a nested type is exported by the kind of its own structure."""
    element, bracket, size = definition_type.partition('[')
    if '/' in element:
        nested_package, name = element.split('/')
        kind = next(structure.kind
                    for structure in interfaces.STRUCTURES + interfaces.DEPENDENCY_STRUCTURES
                    if (structure.package, structure.name) == (nested_package, name))
        item = definition.NamespacedType([nested_package, kind], name)
    elif element == 'string':
        item = definition.UnboundedString()
    else:
        item = definition.BasicType(catalogue.reported_type(element))
    if not bracket:
        return item
    if size == ']':
        return definition.UnboundedSequence(item)
    return definition.Array(item, int(size.rstrip(']')))


class SlotTypesTest(unittest.TestCase):

    def test_a_generic_walk_and_fill_give_back_every_message(self):
        rng = random.Random(19)
        for cls in CLASSES:
            with self.subTest(cls=cls.__name__):
                message = catalogue.random_message(cls, rng)
                plain = to_plain(message)
                rebuilt = cls()
                set_message_fields(rebuilt, plain)
                self.assertEqual(rebuilt, message)
                self.assertEqual(to_plain(rebuilt), plain)

    def test_slot_types_spell_the_reported_field_types(self):
        for cls in CLASSES:
            with self.subTest(cls=cls.__name__):
                self.assertIsInstance(cls.SLOT_TYPES, tuple)
                reported = cls.get_fields_and_field_types()
                self.assertEqual([slot[1:] for slot in cls.__slots__], list(reported))
                self.assertEqual([spelled(slot_type) for slot_type in cls.SLOT_TYPES],
                                 list(reported.values()))

    def test_slot_types_describe_the_definitions(self):
        for structure in interfaces.STRUCTURES + interfaces.DEPENDENCY_STRUCTURES:
            with self.subTest(structure=structure.name):
                cls = catalogue.load(structure.full_class_name)
                self.assertEqual(cls.SLOT_TYPES,
                                 tuple(described(structure.package, type_)
                                       for name, type_ in structure.fields
                                       if name != catalogue.PLACEHOLDER))

    def test_only_messages_have_slot_types(self):
        # The tools take a class for a message when it has SLOT_TYPES.
        for path, _ in catalogue.SERVICES + catalogue.ACTIONS:
            with self.subTest(path=path):
                self.assertFalse(hasattr(catalogue.load(path), 'SLOT_TYPES'))

    def test_descriptions_compare_by_value(self):
        pose = definition.NamespacedType(['geometry_msgs', 'msg'], 'Pose')
        self.assertEqual(pose.namespaced_name(), ('geometry_msgs', 'msg', 'Pose'))
        equal = [
            (definition.BasicType('uint8'), definition.BasicType('uint8')),
            (definition.UnboundedString(), definition.UnboundedString()),
            (definition.NamespacedType(('geometry_msgs', 'msg'), 'Pose'), pose),
            (definition.UnboundedSequence(pose),
             definition.UnboundedSequence(definition.NamespacedType(['geometry_msgs', 'msg'],
                                                                    'Pose'))),
        ]
        different = [
            (definition.BasicType('uint8'), definition.BasicType('int8')),
            (definition.BoundedString(3), definition.BoundedString(4)),
            (definition.BoundedString(3), definition.UnboundedString()),
            (definition.NamespacedType(['geometry_msgs', 'msg'], 'Point'), pose),
            (definition.Array(pose, 2), definition.BoundedSequence(pose, 2)),
            (definition.UnboundedSequence(pose), definition.BoundedSequence(pose, 2)),
            (definition.BasicType('uint8'), 'uint8'),
        ]
        for first, second in equal:
            with self.subTest(first=first, second=second):
                self.assertEqual(first, second)
                self.assertEqual(hash(first), hash(second))
        for first, second in different:
            with self.subTest(first=first, second=second):
                self.assertNotEqual(first, second)

    def test_descriptions_refuse_what_no_field_can_be(self):
        uint8 = definition.BasicType('uint8')
        for make, error in (
                (lambda: definition.BasicType('uint9'), ValueError),
                (lambda: definition.BoundedString(0), ValueError),
                (lambda: definition.BoundedString('5'), TypeError),
                (lambda: definition.Array(uint8, -1), ValueError),
                (lambda: definition.BoundedSequence(uint8, True), TypeError),
                (lambda: definition.UnboundedSequence('uint8'), TypeError),
                (lambda: definition.UnboundedSequence(definition.Array(uint8, 2)), TypeError),
                (lambda: definition.NamespacedType('geometry_msgs', 5), TypeError),
                (lambda: definition.NamespacedType([1], 'Pose'), TypeError)):
            with self.subTest(error=error), self.assertRaises(error):
                make()

    def test_the_kinds_of_descriptions(self):
        pose = definition.NamespacedType(['geometry_msgs', 'msg'], 'Pose')
        for description, bases in (
                (definition.BasicType('double'), ()),
                (definition.BoundedString(5), (definition.AbstractGenericString,)),
                (definition.UnboundedString(), (definition.AbstractGenericString,)),
                (definition.Array(pose, 2), (definition.AbstractNestedType,)),
                (definition.UnboundedSequence(pose),
                 (definition.AbstractNestedType, definition.AbstractSequence)),
                (definition.BoundedSequence(pose, 3),
                 (definition.AbstractNestedType, definition.AbstractSequence))):
            with self.subTest(description=description):
                self.assertIsInstance(description, definition.AbstractType)
                for base in (definition.AbstractGenericString, definition.AbstractNestedType,
                             definition.AbstractSequence):
                    self.assertEqual(isinstance(description, base), base in bases)


if __name__ == '__main__':
    unittest.main()

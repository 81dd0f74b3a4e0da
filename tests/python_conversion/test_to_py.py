"""From C to Python: the objects the conversions build, the arrays they refill in place, and
what they release when they fail."""

import array
import ctypes
import sys
import unittest

import catalogue
from entry_points import Entry, message_class
from fixtures import entry, look_alike, plain_class, precondition, replaced_class
from introspection_filler import assign_string, member_address

from corvanthelis_interfaces.msg import Trash, Trashes


class NewObjects(unittest.TestCase):
    def test_a_new_structure_converts_to_a_default_object(self):
        for structure in catalogue.STRUCTURES:
            message_type = message_class(structure)
            converter = Entry.of_class(message_type)
            with self.subTest(type=structure.name), converter.message() as address:
                self.assertEqual(converter.convert_to_py(address), message_type())

    def test_new_wastes_hold_empty_arrays_and_lists(self):
        with entry('DetectedWastes').message() as address:
            wastes = entry('DetectedWastes').convert_to_py(address)
        self.assertEqual((wastes.ids, wastes.class_names, wastes.detected_dis, wastes.goal_poses),
                         (array.array('i'), array.array('i'), array.array('d'), []))

    def test_extreme_integers_keep_their_sign_and_width(self):
        rows = [('ArmTask_GetResult_Response', 'status', -1),
                ('SamProcess_Response', 'process_status', 255),
                ('ElevatorButtonPose_Request', 'pixel_x', 4294967295),
                ('ElevatorButtonPose_Request', 'cmd', -2147483648)]
        for name, field, value in rows:
            with self.subTest(field=field):
                back = entry(name).round_trip(look_alike(name, **{field: value}))
                self.assertEqual(getattr(back, field), value)

    def test_the_placeholder_structure_converts_whatever_it_holds(self):
        converter = entry('TrashCloud_Request')
        with converter.message() as address:
            ctypes.c_uint8.from_address(address).value = 7
            self.assertEqual(converter.convert_to_py(address),
                             message_class(catalogue.BY_NAME['TrashCloud_Request'])())


class Text(unittest.TestCase):
    def text_of(self, raw):
        converter = entry('ArmGrab_Response')
        with converter.message() as address:
            errmsg = member_address(converter.type_support, address, 'errmsg')
            self.assertTrue(assign_string(errmsg, raw.replace(b'\0', b'#')))
            data = ctypes.c_void_p.from_address(errmsg).value
            ctypes.memmove(data, raw, len(raw))
            return converter.convert_to_py(address).errmsg

    def test_bytes_that_are_not_utf8_become_replacement_characters(self):
        self.assertEqual(self.text_of(b'ok \xff\xfe end'), 'ok \ufffd\ufffd end')

    def test_text_ends_at_its_first_nul(self):
        self.assertEqual(self.text_of(b'abc\0def'), 'abc')


class NumberArrays(unittest.TestCase):
    def test_the_objects_own_arrays_are_refilled_in_place(self):
        held = {}

        def remembered(field, typecode, items):
            def make():
                held[field] = array.array(typecode, items)
                return held[field]
            return make

        prefilled = plain_class(
            'DetectedWastes', header=lambda: None, goal_poses=list,
            ids=remembered('ids', 'i', [9, 9, 9, 9]),
            class_names=remembered('class_names', 'i', [8]),
            detected_dis=remembered('detected_dis', 'd', [1.5, 2.5]))
        source = look_alike('DetectedWastes', ids=[1, 2, 3], class_names=[],
                            detected_dis=[0.25])
        converter = entry('DetectedWastes')
        with converter.from_py(source) as address, replaced_class('DetectedWastes', prefilled):
            back = converter.convert_to_py(address)
        self.assertIs(back.ids, held['ids'])
        self.assertEqual(back.ids, array.array('i', [1, 2, 3]))
        self.assertEqual(back.class_names, array.array('i'))
        self.assertEqual(back.detected_dis, array.array('d', [0.25]))

    def test_an_array_of_another_item_size_fails_with_runtime_error(self):
        narrow = plain_class('DetectedWastes', header=lambda: None, goal_poses=list,
                             ids=lambda: array.array('i'), class_names=lambda: array.array('i'),
                             detected_dis=lambda: array.array('f'))
        converter = entry('DetectedWastes')
        with converter.message() as address, replaced_class('DetectedWastes', narrow), \
                self.assertRaisesRegex(RuntimeError, "^itemsize doesn't match expectation$"):
            converter.convert_to_py(address)

    def test_a_list_where_an_array_belongs_is_a_broken_precondition(self):
        listed = plain_class('DetectedWastes', header=lambda: None, goal_poses=list, ids=list,
                             class_names=list, detected_dis=list)
        converter = entry('DetectedWastes')
        with converter.message() as address, replaced_class('DetectedWastes', listed), \
                self.assertRaises(TypeError) as raised:
            converter.convert_to_py(address)
        self.assertEqual(str(raised.exception), precondition(
            'DetectedWastes', 'to', 'strcmp(field->ob_type->tp_name, "array.array") == 0'))


class Failures(unittest.TestCase):
    def test_a_failing_element_releases_the_list_and_the_new_object(self):
        made = []

        class PickyTrash:
            """Refuses the type 99, and counts the objects still alive."""
            def __init__(self):
                made.append(1)

            def __del__(self):
                made.pop()

            def __setattr__(self, field, value):
                if field == 'type' and value == 99:
                    raise ValueError('type 99 is refused')
                object.__setattr__(self, field, value)

        PickyTrash.__module__, PickyTrash.__name__ = 'corvanthelis_interfaces.msg._trash', 'Trash'
        source = Trashes(trashes=[Trash(type=1), Trash(type=99), Trash(type=3)])
        converter = entry('Trashes')
        with converter.from_py(source) as address:
            with replaced_class('Trash', PickyTrash), \
                    self.assertRaisesRegex(ValueError, 'type 99 is refused'):
                converter.convert_to_py(address)
            self.assertEqual(made, [])
            self.assertEqual(converter.convert_to_py(address), source)

    def test_a_module_that_cannot_be_imported_is_a_broken_precondition(self):
        structure = catalogue.BY_NAME['Trash']
        converter = entry('Trash')
        original = sys.modules[structure.module]
        sys.modules[structure.module] = None
        try:
            with converter.message() as address, self.assertRaises(TypeError) as raised:
                converter.convert_to_py(address)
        finally:
            sys.modules[structure.module] = original
        self.assertEqual(str(raised.exception), precondition('Trash', 'to', 'pymessage_module'))
        self.assertIsInstance(raised.exception.__cause__, ImportError)

    def test_a_module_without_the_class_is_a_broken_precondition(self):
        converter = entry('Trash')
        with converter.message() as address, replaced_class('Trash', None):
            delattr(sys.modules['corvanthelis_interfaces.msg._trash'], 'Trash')
            with self.assertRaises(TypeError) as raised:
                converter.convert_to_py(address)
        self.assertEqual(str(raised.exception), precondition('Trash', 'to', 'pymessage_class'))


if __name__ == '__main__':
    unittest.main()

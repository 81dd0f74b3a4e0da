"""From Python to C: what each kind of field makes of its value, where the conversion stops and
what it leaves standing. C contents are read back through the to-Python conversion, and through
the C serialization where the bytes themselves matter."""

import array
import ctypes
import math
import struct
import unittest

import catalogue
from entry_points import Entry, message_class, serialize
from fixtures import LyingLength, entry, look_alike, precondition

from corvanthelis_interfaces.msg import DetectedWastes, Trash, Trashes
from corvanthelis_interfaces.srv import DetectTrash


class Sequences(unittest.TestCase):
    wastes = entry('DetectedWastes')

    def convert(self, **fields):
        return self.wastes.round_trip(look_alike('DetectedWastes', **fields))

    def test_buffers_lists_and_tuples_give_the_same_sequence(self):
        rows = [
            ('ids', 'i', [3, 7, -2**31, 2**31 - 1]),
            ('class_names', 'i', [0, -1]),
            ('detected_dis', 'd', [0.5, -0.0, 1e300]),
        ]
        for field, typecode, values in rows:
            for value in (array.array(typecode, values), list(values), tuple(values)):
                with self.subTest(field=field, value=type(value).__name__):
                    back = getattr(self.convert(**{field: value}), field)
                    self.assertEqual(back, array.array(typecode, values))
                    self.assertEqual(back.tobytes(), array.array(typecode, values).tobytes())

    def test_empty_values_give_empty_sequences(self):
        rows = [('ids', []), ('ids', ()), ('ids', array.array('i')), ('ids', b''),
                ('goal_poses', []), ('goal_poses', ())]
        for field, value in rows:
            with self.subTest(field=field, value=value):
                self.assertEqual(len(getattr(self.convert(**{field: value}), field)), 0)

    def test_float64_arrives_bit_for_bit(self):
        patterns = [b'\x01\x00\x00\x00\x00\x00\xf8\x7f',  # a NaN with a payload
                    b'\x00\x00\x00\x00\x00\x00\x00\x80',  # -0.0
                    b'\x01\x00\x00\x00\x00\x00\x00\x00',  # the smallest subnormal
                    b'\x00\x00\x00\x00\x00\x00\xf0\xff']  # -inf
        values = array.array('d', b''.join(patterns))
        for value in (values, list(values)):
            with self.subTest(value=type(value).__name__):
                self.assertEqual(self.convert(detected_dis=value).detected_dis.tobytes(),
                                 b''.join(patterns))

    def test_a_buffer_of_whole_elements_is_taken_whatever_its_format(self):
        raw = struct.pack('<ii', 3, 7)
        for value in (raw, bytearray(raw), array.array('b', raw), memoryview(raw)):
            with self.subTest(value=type(value).__name__):
                self.assertEqual(self.convert(ids=value).ids, array.array('i', [3, 7]))

    def test_a_buffer_with_a_partial_element_is_refused(self):
        for field, value in (('ids', b'\x01\x02\x03\x04\x05'), ('detected_dis', bytearray(12)),
                             ('class_names', array.array('h', [1]))):
            with self.subTest(field=field), self.wastes.message() as address:
                with self.assertRaisesRegex(ValueError, f"'{field}'"):
                    self.wastes.convert_from_py(look_alike('DetectedWastes', **{field: value}),
                                                address)

    def test_a_value_that_cannot_be_iterated_names_the_field(self):
        rows = [('Trashes', 'trashes'), ('DetectedWastes', 'ids'), ('DetectedWastes', 'goal_poses'),
                ('DetectedWastes', 'detected_dis')]
        for name, field in rows:
            with self.subTest(field=field), entry(name).message() as address:
                with self.assertRaises(TypeError) as raised:
                    entry(name).convert_from_py(look_alike(name, **{field: 5}), address)
                self.assertEqual(str(raised.exception), f"expected a sequence in '{field}'")

    def test_a_length_that_disagrees_with_the_items_is_refused(self):
        trashes = [Trash(), Trash()]
        rows = [('trashes', LyingLength(3, trashes)), ('trashes', LyingLength(1, trashes)),
                ('ids', LyingLength(5, [1, 2])), ('ids', LyingLength(0, [1, 2]))]
        for field, value in rows:
            name = 'Trashes' if field == 'trashes' else 'DetectedWastes'
            with self.subTest(field=field, length=value.length), entry(name).message() as address:
                with self.assertRaisesRegex(ValueError, f"'{field}' has a length of"):
                    entry(name).convert_from_py(look_alike(name, **{field: value}), address)

    def test_a_list_that_shrinks_while_it_is_converted_is_never_read_past_its_end(self):
        trashes = []

        class ShrinkingTrash:
            @property
            def type(self):
                trashes.clear()
                return 1

        ShrinkingTrash.__module__, ShrinkingTrash.__name__ = Trash.__module__, 'Trash'
        for field in ('location', 'mainaxis_type', 'grab_pose', 'obb_pose', 'obb_size'):
            setattr(ShrinkingTrash, field, getattr(Trash(), field))
        trashes.extend([ShrinkingTrash(), Trash(), Trash()])
        converter = entry('Trashes')
        with converter.message() as address:
            with self.assertRaisesRegex(ValueError, "'trashes' lost items"):
                converter.convert_from_py(look_alike('Trashes', trashes=trashes), address)
            self.assertEqual(len(converter.convert_to_py(address).trashes), 3)

    def test_a_failing_element_leaves_the_full_count_and_the_elements_before_it(self):
        good = [Trash(type=1, location=2), Trash(type=3, mainaxis_type=4)]
        bad = look_alike('Trash', type=-1)
        response = look_alike('DetectTrash_Response', status=9,
                              trashes_detected=good + [bad, Trash(type=5), Trash(type=6)])
        converter = entry('DetectTrash_Response')
        with converter.message() as address:
            with self.assertRaises(OverflowError):
                converter.convert_from_py(response, address)
            back = converter.convert_to_py(address)
        self.assertEqual(back.status, 9)
        self.assertEqual(back.trashes_detected, good + [Trash()] * 3)


class Numbers(unittest.TestCase):
    def test_integers_keep_their_low_order_bits(self):
        rows = [
            ('ElevatorButtonPose_Request', dict(cmd=2**32 + 5, button_index=300, pixel_x=2**32 + 7,
                                                pixel_y=2**63),
             dict(cmd=5, button_index=44, pixel_x=7, pixel_y=0)),
            ('ArmTask_GetResult_Response', dict(status=255), dict(status=-1)),
            ('ArmTask_GetResult_Response', dict(status=-129), dict(status=127)),
            ('DetectedWastes', dict(ids=[2**32 + 5, -2**32 - 1]),
             dict(ids=array.array('i', [5, -1]))),
        ]
        for name, given, expected in rows:
            with self.subTest(name=name, given=given):
                back = entry(name).round_trip(look_alike(name, **given))
                for field, value in expected.items():
                    self.assertEqual(getattr(back, field), value)

    def test_integers_beyond_what_the_read_represents_fail_with_overflow_error(self):
        rows = [('ElevatorButtonPose_Request', 'cmd', 2**63),
                ('ElevatorButtonPose_Request', 'cmd', -2**63 - 1),
                ('ElevatorButtonPose_Request', 'button_index', -1),
                ('ElevatorButtonPose_Request', 'pixel_x', 2**64),
                ('DetectedWastes', 'ids', [1, 2**63])]
        for name, field, value in rows:
            with self.subTest(field=field, value=value), entry(name).message() as address:
                with self.assertRaises(OverflowError):
                    entry(name).convert_from_py(look_alike(name, **{field: value}), address)

    def test_bools_are_true_only_for_true(self):
        converter = entry('GrabSortedTrash_Response')
        for value in (True, False):
            back = converter.round_trip(look_alike('GrabSortedTrash_Response', isgrab_done=value))
            self.assertIs(back.isgrab_done, value)


class Strings(unittest.TestCase):
    converter = entry('ArmRelease_Response')

    def test_text_arrives_as_utf8(self):
        text = 'Grüße, 日本 🦀'
        with self.converter.from_py(look_alike('ArmRelease_Response', errmsg=text)) as address:
            self.assertIn(text.encode(), serialize(self.converter.type_support, address))
            self.assertEqual(self.converter.convert_to_py(address).errmsg, text)

    def test_text_ends_at_an_embedded_nul(self):
        back = self.converter.round_trip(look_alike('ArmRelease_Response', errmsg='abc\0def'))
        self.assertEqual(back.errmsg, 'abc')

    def test_an_unpaired_surrogate_fails_and_the_fields_before_it_stay_converted(self):
        converter = entry('DetectTrash_Response')
        response = look_alike('DetectTrash_Response', status=42, trashes_detected=[Trash(type=7)],
                              errmsg='ok\ud800')
        with converter.message() as address:
            with self.assertRaises(UnicodeEncodeError):
                converter.convert_from_py(response, address)
            back = converter.convert_to_py(address)
        self.assertEqual((back.status, back.trashes_detected, back.errmsg),
                         (42, [Trash(type=7)], ''))


class ClassCheck(unittest.TestCase):
    def test_only_the_expected_names_length_is_compared(self):
        converter = entry('Trash')
        # The name is cut to the expected length before it is compared, also inside the module
        # name, which then leaves no room for the class name.
        for longer in (look_alike('Trash', class_name='TrashExtra', type=3),
                       look_alike('Trash', module='corvanthelis_interfaces.msg._trash.Trash.x',
                                  class_name='Other', type=3)):
            with self.subTest(name=f'{type(longer).__module__}.{type(longer).__name__}'):
                self.assertEqual(converter.round_trip(longer), Trash(type=3))
        for shorter in (look_alike('Trash', class_name='Tras'),
                        look_alike('Trash', module='corvanthelis_interfaces.msg._trashes')):
            with self.subTest(name=type(shorter).__name__), converter.message() as address:
                with self.assertRaises(TypeError) as raised:
                    converter.convert_from_py(shorter, address)
                wording = ('strncmp("corvanthelis_interfaces.msg._trash.Trash", '
                           'full_classname_dest, 40) == 0')
                self.assertEqual(str(raised.exception), precondition('Trash', 'from', wording))

    def test_a_subclass_with_another_name_does_not_pass(self):
        class Rubbish(Trash):
            pass

        with entry('Trash').message() as address, self.assertRaises(TypeError):
            entry('Trash').convert_from_py(Rubbish(), address)

    def test_no_type_converts_an_object_of_another_type(self):
        # A name that begins with another type's full name passes that type's class check, so
        # a FeedbackMessage reaches the fields of its action's Feedback, and lacks them.
        objects = {structure.name: message_class(structure)() for structure in catalogue.STRUCTURES}
        for structure in catalogue.STRUCTURES:
            converter = Entry.of_class(message_class(structure))
            for other in catalogue.STRUCTURES:
                if other is structure:
                    continue
                expected = (AttributeError if other.full_class_name.startswith(
                    structure.full_class_name) else TypeError)
                with self.subTest(type=structure.name, object=other.name), \
                        converter.message() as address:
                    with self.assertRaises(expected):
                        converter.convert_from_py(objects[other.name], address)

    def test_every_structure_states_its_expected_name_and_length(self):
        for structure in catalogue.STRUCTURES:
            stranger = look_alike(structure.name, class_name='Stranger')
            converter = Entry.of_class(message_class(structure))
            with self.subTest(type=structure.name), converter.message() as address:
                with self.assertRaises(TypeError) as raised:
                    converter.convert_from_py(stranger, address)
                wording = (f'strncmp("{structure.full_class_name}", full_classname_dest, '
                           f'{len(structure.full_class_name)}) == 0')
                self.assertEqual(str(raised.exception),
                                 precondition(structure.name, 'from', wording))


class Preconditions(unittest.TestCase):
    def test_a_broken_precondition_raises_type_error_naming_condition_unit_and_function(self):
        rows = [
            ('Trash', dict(type='1'), 'PyLong_Check(field)'),
            ('GrabSortedTrash_Response', dict(isgrab_done=1), 'PyBool_Check(field)'),
            ('GrabSortedTrash_Request', dict(rot_x=1), 'PyFloat_Check(field)'),
            ('ArmGrab_Response', dict(errmsg=b'x'), 'PyUnicode_Check(field)'),
            ('DetectedWastes', dict(ids=['1']), 'PyLong_Check(item)'),
            ('DetectedWastes', dict(detected_dis=[1]), 'PyFloat_Check(item)'),
        ]
        for name, fields, wording in rows:
            converter = entry(name)
            with self.subTest(wording=wording), converter.message() as address:
                with self.assertRaises(TypeError) as raised:
                    converter.convert_from_py(look_alike(name, **fields), address)
                self.assertEqual(str(raised.exception), precondition(name, 'from', wording))

    def test_class_names_that_are_not_text_are_broken_preconditions(self):
        weird = look_alike('Trash')
        type(weird).__module__ = 5
        with entry('Trash').message() as address, self.assertRaises(TypeError) as raised:
            entry('Trash').convert_from_py(weird, address)
        self.assertEqual(str(raised.exception),
                         precondition('Trash', 'from', 'PyUnicode_Check(module_attr)'))

    def test_a_missing_field_fails_with_attribute_error(self):
        partial = look_alike('Trash')
        del partial.obb_size
        with entry('Trash').message() as address, self.assertRaises(AttributeError):
            entry('Trash').convert_from_py(partial, address)


class Placeholder(unittest.TestCase):
    def test_the_empty_request_sets_its_placeholder_to_zero(self):
        converter = entry('TrashCloud_Request')
        with converter.message() as address:
            ctypes.c_uint8.from_address(address).value = 7
            self.assertTrue(converter.convert_from_py(message_class(
                catalogue.BY_NAME['TrashCloud_Request'])(), address))
            self.assertEqual(serialize(converter.type_support, address), b'\x00')


class ThroughTheClasses(unittest.TestCase):
    def test_objects_made_by_the_classes_convert(self):
        response = DetectTrash.Response(status=3, trashes_detected=[Trash(type=2)] * 2, errmsg='x')
        self.assertEqual(entry('DetectTrash_Response').round_trip(response), response)
        wastes = DetectedWastes(ids=[1, 2], detected_dis=[math.pi])
        self.assertEqual(entry('DetectedWastes').round_trip(wastes), wastes)
        trashes = Trashes(trashes=[Trash(location=1)])
        self.assertEqual(entry('Trashes').round_trip(trashes), trashes)


if __name__ == '__main__':
    unittest.main()

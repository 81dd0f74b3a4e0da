"""The conventions every generated message class keeps, checked over every class of the
package and of its stand-in dependencies. Run also under `python -O`: no check may be an
assert."""

import array
import copy
import gc
import importlib
import pickle
import random
import sys
import unittest

import catalogue as interfaces
import message_catalogue as catalogue
from message_catalogue import INTEGER_RANGES, PLACEHOLDER, reported_type

CLASSES = catalogue.all_message_classes()

# Defaults that the definitions give; every other field starts at zero, empty or a default
# nested message.
DEFINITION_DEFAULTS = {('Quaternion', 'w'): 1.0}


def wrong_kind(field_type):
    """A value of another kind than the field takes."""
    if field_type.is_container:
        return 5
    if field_type.is_nested or field_type.is_string:
        return 5
    if field_type.element == 'boolean':
        return 1
    if field_type.element in ('float', 'double'):
        return 1
    return 1.0


class CatalogueTest(unittest.TestCase):

    def test_every_structure_has_a_class_at_the_path_the_conversions_check(self):
        self.assertEqual({cls.__name__ for cls in catalogue.message_classes(catalogue.PACKAGE)},
                         {structure.name for structure in interfaces.STRUCTURES})
        for path, _ in catalogue.STRUCTURES:
            with self.subTest(path=path):
                cls = catalogue.load(path)
                self.assertEqual(f'{cls.__module__}.{cls.__name__}', path)

    def test_stand_in_packages_have_their_classes(self):
        for package in interfaces.STAND_INS:
            structures = [structure for structure in interfaces.DEPENDENCY_STRUCTURES
                          if structure.package == package]
            with self.subTest(package=package):
                found = {cls.__name__ for cls in catalogue.message_classes(package)}
                self.assertEqual(found, {structure.name for structure in structures})
                for structure in structures:
                    cls = catalogue.load(structure.full_class_name)
                    self.assertEqual(f'{cls.__module__}.{cls.__name__}', structure.full_class_name)

    def test_services_and_actions_group_their_classes(self):
        from corvanthelis_interfaces.action import ArmTask, ArmTask_SendGoal
        from corvanthelis_interfaces.action._arm_task import ArmTask_SendGoal_Request
        from corvanthelis_interfaces.srv import MoveToGrab, MoveToGrab_Request
        from action_msgs.msg import GoalStatusArray
        from action_msgs.srv import CancelGoal
        self.assertIs(MoveToGrab.Request, MoveToGrab_Request)
        self.assertEqual(MoveToGrab.Response.__name__, 'MoveToGrab_Response')
        self.assertEqual((ArmTask.Goal.__name__, ArmTask.Result.__name__,
                          ArmTask.Feedback.__name__),
                         ('ArmTask_Goal', 'ArmTask_Result', 'ArmTask_Feedback'))
        self.assertIs(ArmTask.Impl.SendGoalService, ArmTask_SendGoal)
        self.assertIs(ArmTask.Impl.SendGoalService.Request, ArmTask_SendGoal_Request)
        self.assertEqual(ArmTask.Impl.GetResultService.Response.__name__,
                         'ArmTask_GetResult_Response')
        self.assertEqual(ArmTask.Impl.FeedbackMessage.__name__, 'ArmTask_FeedbackMessage')
        self.assertIs(ArmTask.Impl.CancelGoalService, CancelGoal)
        self.assertIs(ArmTask.Impl.GoalStatusMessage, GoalStatusArray)
        for path, _ in catalogue.SERVICES + catalogue.ACTIONS:
            with self.subTest(path=path), self.assertRaises(TypeError):
                catalogue.load(path)()

    def test_fields_are_reported_in_definition_order_with_their_types(self):
        for structure in interfaces.STRUCTURES + interfaces.DEPENDENCY_STRUCTURES:
            with self.subTest(structure=structure.name):
                reported = catalogue.load(structure.full_class_name).get_fields_and_field_types()
                self.assertEqual(list(reported.items()),
                                 [(name, reported_type(type_)) for name, type_ in structure.fields
                                  if name != PLACEHOLDER])

    def test_field_types_are_a_copy(self):
        for cls in CLASSES:
            with self.subTest(cls=cls.__name__):
                cls.get_fields_and_field_types().clear()
                self.assertEqual(len(cls.get_fields_and_field_types()),
                                 len(cls.__slots__))

    def test_constants_are_class_attributes_not_fields(self):
        from action_msgs.msg import GoalStatus
        from action_msgs.srv import CancelGoal
        from sensor_msgs.msg import PointField
        expected = {
            PointField: dict(INT8=1, UINT8=2, INT16=3, UINT16=4, INT32=5, UINT32=6, FLOAT32=7,
                             FLOAT64=8),
            GoalStatus: dict(STATUS_UNKNOWN=0, STATUS_ACCEPTED=1, STATUS_EXECUTING=2,
                             STATUS_CANCELING=3, STATUS_SUCCEEDED=4, STATUS_CANCELED=5,
                             STATUS_ABORTED=6),
            CancelGoal.Response: dict(ERROR_NONE=0, ERROR_REJECTED=1, ERROR_UNKNOWN_GOAL_ID=2,
                                      ERROR_GOAL_TERMINATED=3),
        }
        for cls, constants in expected.items():
            instance = cls()
            for name, value in constants.items():
                with self.subTest(cls=cls.__name__, name=name):
                    self.assertEqual(getattr(cls, name), value)
                    self.assertEqual(getattr(instance, name), value)
                    self.assertNotIn(name, cls.get_fields_and_field_types())
                    with self.assertRaises(AttributeError):
                        setattr(instance, name, value + 1)


class ConstructionTest(unittest.TestCase):

    def test_omitted_fields_take_their_defaults(self):
        for cls in CLASSES:
            message = cls()
            for name, field_type in catalogue.fields(cls):
                with self.subTest(cls=cls.__name__, field=name):
                    expected = DEFINITION_DEFAULTS.get((cls.__name__, name),
                                                       catalogue.zero(field_type))
                    value = getattr(message, name)
                    self.assertEqual(type(value), type(expected))
                    self.assertEqual(value, expected)

    def test_primitive_sequences_hold_arrays_of_the_width_the_conversions_expect(self):
        from corvanthelis_interfaces.msg import DetectedWastes
        message = DetectedWastes()
        self.assertEqual((message.ids.typecode, message.ids.itemsize), ('i', 4))
        self.assertEqual((message.class_names.typecode, message.class_names.itemsize), ('i', 4))
        self.assertEqual((message.detected_dis.typecode, message.detected_dis.itemsize),
                         ('d', 8))

    def test_a_new_object_makes_no_other_message_before_it_is_read(self):
        # A conversion to Python calls the class without arguments and assigns every field.
        # New objects stay among the youngest while no collection runs.
        def live_messages():
            return sum(1 for item in gc.get_objects(generation=0) if type(item) in CLASSES)
        made = []
        gc.disable()
        try:
            for cls in CLASSES:
                with self.subTest(cls=cls.__name__):
                    before = live_messages()
                    made.append(cls())
                    self.assertEqual(live_messages() - before, 1)
                    self.assertEqual(made[-1], cls())
        finally:
            gc.enable()

    def test_defaults_are_not_shared_between_instances(self):
        for cls in CLASSES:
            first, second = cls(), cls()
            for name, field_type in catalogue.fields(cls):
                if field_type.is_container or field_type.is_nested:
                    with self.subTest(cls=cls.__name__, field=name):
                        self.assertIsNot(getattr(first, name), getattr(second, name))

    def test_keywords_set_their_fields(self):
        rng = random.Random(1)
        for cls in CLASSES:
            values = {name: catalogue.random_value(field_type, rng)
                      for name, field_type in catalogue.fields(cls)}
            message = cls(**values)
            for name, value in values.items():
                with self.subTest(cls=cls.__name__, field=name):
                    self.assertEqual(getattr(message, name), value)

    def test_unknown_keywords_and_positional_arguments_are_refused(self):
        for cls in CLASSES:
            with self.subTest(cls=cls.__name__):
                with self.assertRaisesRegex(TypeError, 'no_such_field'):
                    cls(no_such_field=1)
                with self.assertRaises(TypeError):
                    cls(0)

    def test_instances_take_no_other_attributes(self):
        for cls in CLASSES:
            with self.subTest(cls=cls.__name__):
                message = cls()
                self.assertFalse(hasattr(message, '__dict__'))
                with self.assertRaises(AttributeError):
                    message.no_such_field = 1


class ValidationTest(unittest.TestCase):
    """Wrong kinds raise TypeError, values out of range ValueError, and a refused value
    leaves the field as it was."""

    def assert_refused(self, message, name, value, error):
        before = getattr(message, name)
        with self.assertRaises(error):
            setattr(message, name, value)
        self.assertIs(getattr(message, name), before)

    def test_values_of_the_wrong_kind_are_refused(self):
        for cls in CLASSES:
            message = cls()
            for name, field_type in catalogue.fields(cls):
                with self.subTest(cls=cls.__name__, field=name):
                    for value in (wrong_kind(field_type), None):
                        self.assert_refused(message, name, value, TypeError)
                        with self.assertRaises(TypeError):
                            cls(**{name: value})

    def test_integers_outside_their_range_are_refused(self):
        for cls in CLASSES:
            message = cls()
            for name, field_type in catalogue.fields(cls):
                if field_type.element not in INTEGER_RANGES:
                    continue
                low, high = INTEGER_RANGES[field_type.element]
                for value in (low - 1, high + 1):
                    with self.subTest(cls=cls.__name__, field=name, value=value):
                        if field_type.is_container:
                            value = [value] * (field_type.size or 1)
                        self.assert_refused(message, name, value, ValueError)
                        with self.assertRaises(ValueError):
                            cls(**{name: value})
                if not field_type.is_container:
                    setattr(message, name, low)
                    setattr(message, name, high)
                    self.assertEqual(getattr(message, name), high)

    def test_bools_are_not_integers_and_integers_are_not_floats(self):
        from geometry_msgs.msg import Point
        from corvanthelis_interfaces.srv import DetectTrash_Request, GrabSortedTrash_Response
        self.assert_refused(DetectTrash_Request(), 'cmd', True, TypeError)
        self.assert_refused(Point(), 'x', 1, TypeError)
        self.assert_refused(GrabSortedTrash_Response(), 'isgrab_done', 1, TypeError)

    def test_nested_fields_take_their_own_class_only(self):
        from geometry_msgs.msg import Point, Pose
        from corvanthelis_interfaces.msg import Trash
        trash = Trash()
        self.assert_refused(trash, 'grab_pose', Point(), TypeError)
        pose = Pose()
        trash.grab_pose = pose
        self.assertIs(trash.grab_pose, pose)

    def test_fixed_arrays_take_exactly_their_size(self):
        from unique_identifier_msgs.msg import UUID
        uuid = UUID()
        for count in (15, 17, 0):
            self.assert_refused(uuid, 'uuid', bytes(count), ValueError)
        uuid.uuid = bytes(range(16))
        self.assertEqual(uuid.uuid, array.array('B', range(16)))

    def test_strings_are_text(self):
        from corvanthelis_interfaces.srv import ArmGrab_Response
        response = ArmGrab_Response()
        self.assert_refused(response, 'errmsg', b'bytes', TypeError)
        response.errmsg = 'gr\u00fc\u00df \U0001f600'
        self.assertEqual(response.errmsg, 'gr\u00fc\u00df \U0001f600')

    def test_the_checks_do_not_depend_on_assert(self):
        # The same suite runs under -O as well; this records which one ran.
        self.assertIn(sys.flags.optimize, (0, 1, 2))
        from corvanthelis_interfaces.msg import Trash
        with self.assertRaises(ValueError):
            Trash(type=256)


class SequenceTest(unittest.TestCase):

    def test_int32_and_float64_sequences_take_arrays_and_iterables(self):
        from corvanthelis_interfaces.msg import DetectedWastes
        message = DetectedWastes()
        ids = array.array('i', [3, 7])
        message.ids = ids
        self.assertIs(message.ids, ids)
        for value in ([3, 7], (3, 7), iter([3, 7]), array.array('l', [3, 7]), range(3, 8, 4)):
            with self.subTest(value=value):
                message.ids = value
                self.assertEqual(message.ids, array.array('i', [3, 7]))
        message.detected_dis = [0.1, -2.5e300]
        self.assertEqual(message.detected_dis, array.array('d', [0.1, -2.5e300]))
        message.detected_dis = array.array('f', [0.5])
        self.assertEqual(message.detected_dis, array.array('d', [0.5]))

    def test_sequence_items_are_checked(self):
        from corvanthelis_interfaces.msg import DetectedWastes
        message = DetectedWastes()
        for name, value, error in (
                ('ids', [1, 2.0], TypeError),
                ('ids', [1, True], TypeError),
                ('ids', [2**31], ValueError),
                ('ids', array.array('d', [1.0]), TypeError),
                ('ids', '12', TypeError),
                ('class_names', 12, TypeError),
                ('detected_dis', [1.0, 2], TypeError),
                ('detected_dis', 'abc', TypeError),
                ('goal_poses', [object()], TypeError),
                ('goal_poses', 3, TypeError)):
            with self.subTest(name=name, value=value):
                with self.assertRaises(error):
                    setattr(message, name, value)

    def test_uint8_sequences_take_bytes(self):
        from sensor_msgs.msg import Image
        image = Image(data=b'\x00\x01\xff')
        self.assertEqual(image.data, array.array('B', [0, 1, 255]))
        image.data = bytearray(b'\x02')
        self.assertEqual(image.data, array.array('B', [2]))
        with self.assertRaises(ValueError):
            image.data = [256]

    def test_message_sequences_are_lists_of_their_class(self):
        from geometry_msgs.msg import Pose
        from corvanthelis_interfaces.msg import DetectedWastes
        poses = [Pose(), Pose()]
        message = DetectedWastes(goal_poses=poses)
        self.assertIs(message.goal_poses, poses)
        message.goal_poses = (Pose(),)
        self.assertEqual(message.goal_poses, [Pose()])


class ReprAndEqualityTest(unittest.TestCase):

    def namespace(self):
        names = {'array': array.array}
        for package in catalogue.PACKAGES:
            names[package] = importlib.import_module(package)
            for kind in catalogue.KINDS:
                try:
                    importlib.import_module(f'{package}.{kind}')
                except ModuleNotFoundError:
                    pass
        return names

    def test_repr_names_the_public_class_and_every_field(self):
        from geometry_msgs.msg import Point
        self.assertEqual(repr(Point(x=1.5, y=-0.0, z=1e-300)),
                         'geometry_msgs.msg.Point(x=1.5, y=-0.0, z=1e-300)')
        namespace = self.namespace()
        rng = random.Random(2)
        for cls in CLASSES:
            with self.subTest(cls=cls.__name__):
                message = catalogue.random_message(cls, rng)
                self.assertEqual(eval(repr(message), namespace), message)

    def test_equality_compares_every_field(self):
        rng = random.Random(3)
        for cls in CLASSES:
            message = catalogue.random_message(cls, rng)
            self.assertEqual(message, copy.deepcopy(message))
            self.assertEqual(cls(), cls())
            for name, field_type in catalogue.fields(cls):
                with self.subTest(cls=cls.__name__, field=name):
                    other = copy.deepcopy(message)
                    changed = catalogue.random_value(field_type, rng)
                    while changed == getattr(message, name):
                        changed = catalogue.random_value(field_type, rng)
                    setattr(other, name, changed)
                    self.assertNotEqual(message, other)

    def test_classes_with_the_same_fields_are_not_equal(self):
        from builtin_interfaces.msg import Duration, Time
        self.assertNotEqual(Time(), Duration())
        self.assertNotEqual(Time(), (0, 0))

    def test_copies_and_pickles_are_equal_and_independent(self):
        rng = random.Random(4)
        for cls in CLASSES:
            with self.subTest(cls=cls.__name__):
                message = catalogue.random_message(cls, rng)
                self.assertEqual(pickle.loads(pickle.dumps(message)), message)
                duplicate = copy.deepcopy(message)
                for name, field_type in catalogue.fields(cls):
                    if field_type.is_container or field_type.is_nested:
                        self.assertIsNot(getattr(duplicate, name), getattr(message, name))


if __name__ == '__main__':
    unittest.main()

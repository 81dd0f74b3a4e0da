"""Classes of field shapes that no delivered package uses: every primitive with its default,
fixed arrays, bounded sequences and strings, string arrays, constants, a class whose name
clashes with an imported one, and an empty message. The compiler writes them into a scratch
folder, which is then imported."""

import array
import filecmp
import math
import os
import subprocess
import sys
import tempfile
import unittest

PACKAGE = 'kitchen_sink'
DEFINITIONS = {
    'msg/Everything.msg': r'''
int32 ANSWER=42
string GREETING="it's \"quoted\""
float64 PI=3.14159
bool YES=True
bool b true
byte by 7
char ch 65
float32 f32 1.5
float64 f64 -0.0
int8 i8 -128
uint8 u8 255
int16 i16 -32768
uint16 u16 65535
int32 i32 -2147483648
uint32 u32 4294967295
int64 i64 -9223372036854775808
uint64 u64 18446744073709551615
string s "back\\slash, tab\t, gr\u00fc\u00df"
string<=5 short_text
bool[3] flags [true, false, true]
int16[<=4] small_ints
float32[2] pair [0.5, -1.5]
uint64[] big
string[2] names ["a", "b"]
string<=3[<=2] tags
geometry_msgs/Point[2] corners
geometry_msgs/Pose[<=3] poses
''',
    'msg/Point.msg': 'float64 x\n',
    'msg/Uses.msg': 'Point mine\ngeometry_msgs/Point theirs\nPoint[2] mine_pair\n'
                    'geometry_msgs/Point[<=2] theirs_few\n',
    'msg/Empty.msg': '# nothing\n',
    # Fields named like what a class's own code refers to.
    'msg/Names.msg': 'int32 self\nstring str\nuint8[] array\nstring<=2 len\nPoint[2] range\n'
                     'bool value\nint8 kwargs\ngeometry_msgs/Point type\n',
    'srv/Ask.srv': 'string<=4 question\n---\nint64 answer\n',
    'action/Do.action': 'int8 x\n---\n---\nfloat32 progress\n',
}
STAND_INS = ('geometry_msgs', 'unique_identifier_msgs', 'builtin_interfaces', 'action_msgs')


def compile_package(definitions_root, output):
    stand_ins = os.environ['CORVANTHELIS_STAND_INS']
    command = [os.environ['CORVANTHELIS_IDLC'], '--package', PACKAGE, '--output', output,
               '--emit', 'python']
    for package in STAND_INS:
        command += ['--search', f'{package}={os.path.join(stand_ins, package)}']
    command += [os.path.join(definitions_root, name) for name in DEFINITIONS]
    subprocess.run(command, check=True)


class GeneratedKindsTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory()
        root = cls.scratch.name
        for name, text in DEFINITIONS.items():
            path = os.path.join(root, 'definitions', PACKAGE, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, 'w', encoding='utf-8') as file:
                file.write(text.replace(r'\u00fc\u00df', '\u00fc\u00df'))
        cls.output = os.path.join(root, 'generated')
        compile_package(os.path.join(root, 'definitions', PACKAGE), cls.output)
        sys.path.insert(0, os.path.join(cls.output, 'python'))
        from kitchen_sink import msg, srv, action
        cls.msg, cls.srv, cls.action = msg, srv, action

    @classmethod
    def tearDownClass(cls):
        sys.path.remove(os.path.join(cls.output, 'python'))
        cls.scratch.cleanup()

    def test_output_is_deterministic(self):
        again = os.path.join(self.scratch.name, 'again')
        compile_package(os.path.join(self.scratch.name, 'definitions', PACKAGE), again)
        for folder, _, files in os.walk(os.path.join(self.output, 'python')):
            relative = os.path.relpath(folder, self.output)
            match, mismatch, errors = filecmp.cmpfiles(
                folder, os.path.join(again, relative), files, shallow=False)
            self.assertEqual((mismatch, errors), ([], []))

    def test_defaults_come_from_the_definitions(self):
        message = self.msg.Everything()
        expected = {
            'b': True, 'by': 7, 'ch': 65, 'f32': 1.5, 'i8': -128, 'u8': 255, 'i16': -32768,
            'u16': 65535, 'i32': -2**31, 'u32': 2**32 - 1, 'i64': -2**63, 'u64': 2**64 - 1,
            's': 'back\\slash, tab\t, gr\u00fc\u00df', 'short_text': '',
            'flags': [True, False, True], 'small_ints': array.array('h'),
            'pair': array.array('f', [0.5, -1.5]), 'big': array.array('Q'),
            'names': ['a', 'b'], 'tags': [], 'poses': [],
        }
        for name, value in expected.items():
            with self.subTest(field=name):
                self.assertEqual(getattr(message, name), value)
                # A bounded sequence's container is of a subclass that keeps its bound.
                self.assertIsInstance(getattr(message, name), type(value))
        self.assertEqual(math.copysign(1.0, message.f64), -1.0)
        from geometry_msgs.msg import Point
        self.assertEqual(message.corners, [Point(), Point()])
        self.assertIsNot(message.corners[0], message.corners[1])

    def test_constants(self):
        cls = self.msg.Everything
        self.assertEqual((cls.ANSWER, cls.GREETING, cls.PI, cls.YES),
                         (42, 'it\'s "quoted"', 3.14159, True))

    def test_reported_types(self):
        reported = self.msg.Everything.get_fields_and_field_types()
        for name, text in (('b', 'boolean'), ('by', 'octet'), ('ch', 'uint8'), ('f32', 'float'),
                           ('short_text', 'string<=5'), ('flags', 'boolean[3]'),
                           ('small_ints', 'sequence<int16, 4>'), ('pair', 'float[2]'),
                           ('names', 'string[2]'), ('tags', 'sequence<string<=3, 2>'),
                           ('corners', 'geometry_msgs/Point[2]'),
                           ('poses', 'sequence<geometry_msgs/Pose, 3>')):
            with self.subTest(field=name):
                self.assertEqual(reported[name], text)

    def test_limits_of_every_shape(self):
        from geometry_msgs.msg import Pose
        message = self.msg.Everything()
        for name, value, error in (
                ('by', 256, ValueError), ('ch', -1, ValueError),
                ('u64', 2**64, ValueError), ('i64', -2**63 - 1, ValueError),
                ('f32', 1e39, ValueError), ('pair', [1e39, 0.0], ValueError),
                ('short_text', 'abcdef', ValueError),
                ('flags', [True, False], ValueError), ('flags', [1, 0, 1], TypeError),
                ('small_ints', [1, 2, 3, 4, 5], ValueError), ('small_ints', [2**15], ValueError),
                ('names', ['a', 1], TypeError), ('names', ['a'], ValueError),
                ('tags', ['abcd'], ValueError), ('tags', ['a', 'b', 'c'], ValueError),
                ('corners', [self.msg.Point(), self.msg.Point()], TypeError),
                ('poses', [Pose()] * 4, ValueError)):
            with self.subTest(field=name, value=value):
                with self.assertRaises(error):
                    setattr(message, name, value)
        message.f32 = math.inf
        message.pair = [-math.inf, 3.4028234663852886e38]
        message.short_text = 'abcde'
        message.tags = ('abc', '')
        self.assertEqual(message.tags, ['abc', ''])

    def test_a_clashing_class_name_is_imported_under_an_alias(self):
        import geometry_msgs.msg
        uses = self.msg.Uses()
        self.assertIs(type(uses.mine), self.msg.Point)
        self.assertIs(type(uses.theirs), geometry_msgs.msg.Point)
        self.assertEqual([type(p) for p in uses.mine_pair], [self.msg.Point] * 2)
        with self.assertRaises(TypeError):
            uses.mine = geometry_msgs.msg.Point()
        uses.theirs_few = [geometry_msgs.msg.Point()]

    def test_fields_may_be_named_like_what_the_class_refers_to(self):
        import geometry_msgs.msg
        values = dict(self=-5, str='text', array=array.array('B', b'ab'), len='ok',
                      range=[self.msg.Point(x=1.0), self.msg.Point()], value=True, kwargs=-1,
                      type=geometry_msgs.msg.Point(z=2.0))
        names = self.msg.Names(**values)
        self.assertEqual({name: getattr(names, name) for name in values}, values)
        for name, wrong, error in (('self', 2**31, ValueError), ('str', b'x', TypeError),
                                   ('array', [256], ValueError), ('len', 'too long', ValueError),
                                   ('range', [self.msg.Point()], ValueError),
                                   ('value', 1, TypeError), ('type', self.msg.Point(), TypeError)):
            with self.subTest(field=name):
                with self.assertRaises(error):
                    self.msg.Names(**{name: wrong})
                with self.assertRaises(error):
                    setattr(names, name, wrong)
        self.assertEqual(self.msg.Names().range, [self.msg.Point(), self.msg.Point()])

    def test_an_empty_message_has_no_fields(self):
        empty = self.msg.Empty()
        self.assertEqual(empty.get_fields_and_field_types(), {})
        self.assertEqual(empty, self.msg.Empty())
        self.assertEqual(repr(empty), 'kitchen_sink.msg.Empty()')

    def test_services_and_actions(self):
        self.assertEqual(self.srv.Ask.Request(question='why?').question, 'why?')
        with self.assertRaises(ValueError):
            self.srv.Ask.Request(question='why not')
        self.assertEqual(self.action.Do.Feedback().progress, 0.0)
        self.assertEqual(self.action.Do.Impl.FeedbackMessage().feedback, self.action.Do.Feedback())


if __name__ == '__main__':
    unittest.main()

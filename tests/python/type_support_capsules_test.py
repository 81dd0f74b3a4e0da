"""The classes against the real type-support extension modules: every class of every package
fetches its capsules, the same objects the module holds."""

import importlib
import importlib.util
import unittest

import message_catalogue as catalogue

MODULE = f'{catalogue.PACKAGE}.{catalogue.PACKAGE}_s__rosidl_typesupport_c'
MESSAGE_ATTRIBUTES = ('_CREATE_ROS_MESSAGE', '_CONVERT_FROM_PY', '_CONVERT_TO_PY',
                      '_DESTROY_ROS_MESSAGE', '_TYPE_SUPPORT')


def is_capsule(value):
    return type(value).__name__ == 'PyCapsule'


@unittest.skipIf(importlib.util.find_spec(MODULE) is None,
                 f'the extension module {MODULE} is not built in this tree')
class CapsuleTest(unittest.TestCase):

    def test_one_import_readies_the_whole_tree(self):
        from corvanthelis_interfaces.srv import DetectTrash
        from corvanthelis_interfaces.msg import Trash
        from geometry_msgs.msg import Point, Pose, Quaternion
        DetectTrash.__import_type_support__()
        for cls in (DetectTrash, DetectTrash.Request, DetectTrash.Response, Trash, Pose, Point,
                    Quaternion):
            with self.subTest(cls=cls.__name__):
                self.assertTrue(is_capsule(cls._TYPE_SUPPORT))

    def test_every_class_holds_its_modules_capsules(self):
        module = importlib.import_module(MODULE)
        for path, infix in catalogue.STRUCTURES:
            cls = catalogue.load(path)
            cls.__import_type_support__()
            with self.subTest(path=path):
                self.assertIs(cls._TYPE_SUPPORT, getattr(module, 'type_support_msg__' + infix))
                self.assertIs(cls._CONVERT_FROM_PY,
                              getattr(module, 'convert_from_py_msg__' + infix))
        for path, infix in catalogue.SERVICES:
            cls = catalogue.load(path)
            cls.__import_type_support__()
            with self.subTest(path=path):
                self.assertIs(cls._TYPE_SUPPORT, getattr(module, 'type_support_srv__' + infix))
        for path, infix in catalogue.ACTIONS:
            cls = catalogue.load(path)
            cls.__import_type_support__()
            with self.subTest(path=path):
                self.assertIs(cls._TYPE_SUPPORT, getattr(module, 'type_support_action__' + infix))

    def test_stand_in_classes_hold_capsules(self):
        for package in catalogue.PACKAGES:
            for cls in catalogue.message_classes(package):
                cls.__import_type_support__()
                for attribute in MESSAGE_ATTRIBUTES:
                    with self.subTest(cls=cls.__name__, attribute=attribute):
                        self.assertTrue(is_capsule(getattr(cls, attribute)))


if __name__ == '__main__':
    unittest.main()

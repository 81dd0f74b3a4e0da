"""The classes against the real type-support extension modules: every class of every package
fetches its capsules, the same objects the module holds. The modules are part of every build,
so a missing one fails these tests."""

import importlib
import unittest

import message_catalogue as catalogue
from message_catalogue import CLASS_ATTRIBUTES

MODULE = f'{catalogue.PACKAGE}.{catalogue.PACKAGE}_s__rosidl_typesupport_c'


def is_capsule(value):
    return type(value).__name__ == 'PyCapsule'


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
        for path, capsules in catalogue.STRUCTURES + catalogue.SERVICES + catalogue.ACTIONS:
            cls = catalogue.load(path)
            cls.__import_type_support__()
            for attribute, name in capsules.items():
                with self.subTest(path=path, attribute=attribute):
                    self.assertIs(getattr(cls, attribute), getattr(module, name))

    def test_stand_in_classes_hold_capsules(self):
        for package in catalogue.PACKAGES:
            for cls in catalogue.message_classes(package):
                cls.__import_type_support__()
                for attribute in CLASS_ATTRIBUTES:
                    with self.subTest(cls=cls.__name__, attribute=attribute):
                        self.assertTrue(is_capsule(getattr(cls, attribute)))


if __name__ == '__main__':
    unittest.main()

"""How the classes fetch their C entry points: the import helper, the attribute names the
classes read from their package's extension module, and the readiness of a whole tree of
classes after one import. Stand-in extension modules record what is read, so this runs
whether or not the real ones are built; the real ones are checked by the capsule tests."""

import os
import sys
import tempfile
import types
import unittest

import message_catalogue as catalogue
from message_catalogue import CLASS_ATTRIBUTES
from rosidl_generator_py import import_type_support


class RecordingModule(types.ModuleType):
    """Answers every attribute with a marker naming it, and remembers what was asked."""

    def __init__(self, name, missing=()):
        super().__init__(name)
        self.read = []
        self.missing = set(missing)

    def __getattr__(self, attribute):
        if attribute.startswith('__') or attribute in self.missing:
            raise AttributeError(attribute)
        self.read.append(attribute)
        return ('capsule', self.__name__, attribute)


def install_recorders(missing=()):
    recorders = {}
    for package in catalogue.PACKAGES:
        name = f'{package}.{package}_s__rosidl_typesupport_c'
        recorders[package] = sys.modules[name] = RecordingModule(name, missing)
    return recorders


def every_class():
    return [cls for package in catalogue.PACKAGES
            for cls in (catalogue.message_classes(package) + catalogue.service_classes(package)
                        + catalogue.action_classes(package))]


def forget_imports():
    """Leaves every class as it was before its first import: its entry points read None."""
    for cls in every_class():
        for attribute in CLASS_ATTRIBUTES:
            if attribute in type(cls).__dict__:
                setattr(type(cls), attribute, None)


def imported_classes():
    return [(cls, attribute) for cls in catalogue.all_message_classes()
            for attribute in CLASS_ATTRIBUTES
            if type(cls).__dict__.get(attribute) is not None]


class ImportHelperTest(unittest.TestCase):

    def test_a_missing_package_or_module_is_named_in_the_error(self):
        with self.assertRaisesRegex(ImportError,
                                    r"'no_such_pkg\.no_such_pkg_s__rosidl_typesupport_c'"):
            import_type_support('no_such_pkg')
        with tempfile.TemporaryDirectory() as root:
            os.mkdir(os.path.join(root, 'bare_pkg'))
            open(os.path.join(root, 'bare_pkg', '__init__.py'), 'w').close()
            sys.path.insert(0, root)
            try:
                with self.assertRaises(ImportError) as caught:
                    import_type_support('bare_pkg')
            finally:
                sys.path.remove(root)
        self.assertEqual(caught.exception.name, 'bare_pkg.bare_pkg_s__rosidl_typesupport_c')
        self.assertIn("'bare_pkg'", str(caught.exception))


class ClassImportTest(unittest.TestCase):

    def tearDown(self):
        for package in catalogue.PACKAGES:
            sys.modules.pop(f'{package}.{package}_s__rosidl_typesupport_c', None)
        forget_imports()

    def test_a_missing_attribute_fails_the_import_and_leaves_the_class_unready(self):
        from corvanthelis_interfaces.msg import Trashes
        install_recorders(missing={'convert_to_py_msg__msg__trash'})
        with self.assertRaisesRegex(ImportError, 'convert_to_py_msg__msg__trash'):
            Trashes.__import_type_support__()
        self.assertIsNone(Trashes._TYPE_SUPPORT)
        self.assertIsNone(Trashes._CREATE_ROS_MESSAGE)

    def test_a_missing_extension_module_is_an_import_error(self):
        from corvanthelis_interfaces.msg import Trash
        sys.modules['corvanthelis_interfaces.corvanthelis_interfaces_s__rosidl_typesupport_c'] \
            = None
        with self.assertRaisesRegex(ImportError,
                                    'corvanthelis_interfaces_s__rosidl_typesupport_c'):
            Trash.__import_type_support__()
        self.assertIsNone(Trash._TYPE_SUPPORT)

    def test_classes_read_their_attributes_and_ready_their_whole_tree(self):
        self.assertEqual(imported_classes(), [], 'an earlier test left classes imported')
        recorders = install_recorders()

        # One class readies every class it contains, across packages, and nothing else.
        from corvanthelis_interfaces.msg import Trashes
        Trashes.__import_type_support__()
        ready = {cls.__name__ for cls, attribute in imported_classes()
                 if attribute == '_TYPE_SUPPORT'}
        self.assertEqual(ready, {'Trashes', 'Trash', 'Header', 'Time', 'Pose', 'Point',
                                 'Quaternion'})

        for cls in every_class():
            type(cls).__import_type_support__()
        rows = catalogue.STRUCTURES + catalogue.SERVICES + catalogue.ACTIONS
        for path, capsules in rows:
            cls = catalogue.load(path)
            for attribute, name in capsules.items():
                with self.subTest(path=path, attribute=attribute):
                    self.assertEqual(getattr(cls, attribute), (
                        'capsule', 'corvanthelis_interfaces.'
                        'corvanthelis_interfaces_s__rosidl_typesupport_c', name))

        # Exactly the module's attributes, each read once.
        expected = {name for _, capsules in rows for name in capsules.values()}
        read = recorders[catalogue.PACKAGE].read
        self.assertEqual(set(read), expected)
        self.assertEqual(len(read), len(expected))
        cancel = 'type_support_srv__srv__cancel_goal'
        self.assertEqual(recorders['action_msgs'].read.count(cancel), 1)
        self.assertIn('type_support_msg__msg__goal_status_array', recorders['action_msgs'].read)

        # Asking again changes nothing and reads nothing.
        from corvanthelis_interfaces.action import ArmTask
        ArmTask.__import_type_support__()
        self.assertEqual(len(read), len(expected))


if __name__ == '__main__':
    unittest.main()

"""The two extension modules and the conversion library: their attributes, capsules and
exports, against names written out in the catalogue."""

import ctypes
import datetime
import subprocess
import sysconfig
import unittest

import catalogue
from entry_points import CREATE, DESTROY, library_file, pointer, type_support_module

SUPPORTS = ('rosidl_typesupport_c', 'rosidl_typesupport_introspection_c')
# What the interpreter gives every extension module besides the module's own attributes.
CAPSULE = type(datetime.datetime_CAPI)
STANDARD = {'__name__', '__doc__', '__package__', '__loader__', '__spec__', '__file__'}

_capsule_name = ctypes.pythonapi.PyCapsule_GetName
_capsule_name.restype = ctypes.c_void_p
_capsule_name.argtypes = [ctypes.py_object]


def exported(path):
    listing = subprocess.run(['nm', '-D', '--defined-only', path], check=True,
                             capture_output=True, text=True).stdout
    return {line.split()[2] for line in listing.splitlines() if len(line.split()) == 3}


def own_attributes(module):
    return [name for name in vars(module) if name not in STANDARD]


class ExtensionModules(unittest.TestCase):
    def setUp(self):
        self.modules = {support: type_support_module(support) for support in SUPPORTS}

    def test_each_module_holds_its_capsules_in_registration_order(self):
        expected = [name for registration in catalogue.REGISTRATIONS
                    for name in registration.attributes]
        for support, module in self.modules.items():
            with self.subTest(support=support):
                self.assertEqual(own_attributes(module), expected)
                for name in expected:
                    self.assertIsInstance(getattr(module, name), CAPSULE)

    def test_modules_carry_the_name_and_documentation_of_their_definition(self):
        for module in self.modules.values():
            self.assertEqual(module.__name__, '_corvanthelis_interfaces_support')
            self.assertEqual(module.__doc__, '_corvanthelis_interfaces_doc')
            self.assertTrue(module.__file__.endswith(sysconfig.get_config_var('EXT_SUFFIX')))

    def test_capsules_have_no_name_and_both_modules_hold_the_same_entry_points(self):
        first, second = self.modules.values()
        for name in own_attributes(first):
            capsule = getattr(first, name)
            self.assertIsNone(_capsule_name(capsule), name)
            with self.assertRaises(ValueError):
                pointer(capsule, b'corvanthelis_interfaces')
            # create and destroy are each module's own small functions; the rest live in the
            # libraries both modules link
            if not name.startswith(('create_ros_message', 'destroy_ros_message')):
                self.assertEqual(pointer(capsule), pointer(getattr(second, name)), name)

    def test_type_support_capsules_hold_the_dispatch_librarys_records(self):
        dispatch = ctypes.CDLL(library_file('libcorvanthelis_interfaces__rosidl_typesupport_c.so'))
        for registration in catalogue.REGISTRATIONS:
            handle = getattr(dispatch, registration.handle)
            handle.restype = ctypes.c_void_p
            for module in self.modules.values():
                capsule = getattr(module, registration.attributes[-1])
                self.assertEqual(pointer(capsule), handle(), registration.handle)

    def test_create_and_destroy_work_through_the_capsules(self):
        module = self.modules['rosidl_typesupport_c']
        for structure in catalogue.STRUCTURES:
            create_name, destroy_name = catalogue.names_of('python_module_capsules', structure)[:2]
            create = CREATE(pointer(getattr(module, create_name)))
            destroy = DESTROY(pointer(getattr(module, destroy_name)))
            address = create()
            self.assertTrue(address, structure.name)
            destroy(address)

    def test_stand_in_packages_have_their_modules_too(self):
        for package in catalogue.STAND_INS:
            for support in SUPPORTS:
                with self.subTest(package=package, support=support):
                    module = type_support_module(support, package)
                    self.assertEqual(module.__name__, f'_{package}_support')
                    names = own_attributes(module)
                    self.assertTrue(names)
                    self.assertTrue(all(isinstance(getattr(module, name), CAPSULE)
                                        for name in names))


class Exports(unittest.TestCase):
    def test_conversion_library_exports_exactly_both_conversions_of_every_structure(self):
        path = library_file('libcorvanthelis_interfaces__rosidl_generator_py.so')
        self.assertEqual(len(catalogue.conversion_functions()), 2 * len(catalogue.STRUCTURES))
        self.assertEqual(exported(path), catalogue.conversion_functions())

    def test_modules_export_their_initialisation_and_one_registration_per_row(self):
        registrations = catalogue.exports('python_module')
        self.assertEqual(len(registrations), len(catalogue.REGISTRATIONS))
        for support in SUPPORTS:
            module = type_support_module(support)
            name = f'corvanthelis_interfaces_s__{support}'
            self.assertEqual(exported(module.__file__), registrations | {f'PyInit_{name}'})


if __name__ == '__main__':
    unittest.main()

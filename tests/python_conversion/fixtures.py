"""Objects the message classes would never make, so that the conversions meet every value and
every class their rules speak of."""

import contextlib
import importlib

import catalogue
from entry_points import Entry, message_class


class LyingLength:
    """Claims `length` items and yields `items` when iterated."""

    def __init__(self, length, items):
        self.length, self.items = length, items

    def __len__(self):
        return self.length

    def __iter__(self):
        return iter(self.items)


def entry(name):
    """The entry points of a structure of the package, through its class's capsules."""
    return Entry.of_class(message_class(catalogue.BY_NAME[name]))


def look_alike(name, class_name=None, module=None, **fields):
    """An object of a plain class with the module and name of the structure's class (or those
    given): it passes the class check without the class's validation, so any value reaches the
    conversion. Its fields start as those of a default object of the real class."""
    structure = catalogue.BY_NAME[name]
    real_class = message_class(structure)
    plain = type(class_name or structure.name, (), {'__module__': module or structure.module})
    message = plain()
    default = real_class()
    for field in real_class.get_fields_and_field_types():
        setattr(message, field, getattr(default, field))
    for field, value in fields.items():
        setattr(message, field, value)
    return message


def plain_class(name, **defaults):
    """A class named and placed like the structure's, whose new objects hold `defaults`."""
    structure = catalogue.BY_NAME[name]

    def __init__(self):
        for field, make in defaults.items():
            setattr(self, field, make())

    return type(structure.name, (), {'__module__': structure.module, '__init__': __init__})


@contextlib.contextmanager
def replaced_class(name, replacement):
    """Makes the to-Python conversion of structure `name` instantiate `replacement`."""
    structure = catalogue.BY_NAME[name]
    module = importlib.import_module(structure.module)
    original = getattr(module, structure.name)
    setattr(module, structure.name, replacement)
    try:
        yield
    finally:
        setattr(module, structure.name, original)


def precondition(name, direction, wording):
    """The TypeError text of a broken precondition in a conversion of structure `name`."""
    structure = catalogue.BY_NAME[name]
    unit = f'rosidl_generator_py/{structure.package}/{structure.kind}/_{structure.stem}_s.c'
    from_py, to_py = catalogue.names_of('rosidl_generator_py', structure)
    function = {'from': from_py, 'to': to_py}[direction]
    return f"{unit}: {function}: Assertion `{wording}' failed."

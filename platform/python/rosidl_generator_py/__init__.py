"""What generated message classes need from their client library at run time."""

from rosidl_generator_py.import_type_support_impl import import_type_support

__all__ = ['import_type_support']

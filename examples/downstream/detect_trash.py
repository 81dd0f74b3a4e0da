"""A Python client of the installed package, with nothing but the prefix's site-packages on its
path: a DetectTrash response goes into a C structure and back through the capsules its class
keeps once its type support is imported, as the ROS 2 Python client library moves messages.

    PYTHONPATH=<prefix>/lib/python3.10/site-packages python3.10 detect_trash.py
"""

import ctypes
import sys

import corvanthelis_interfaces
from corvanthelis_interfaces.msg import Trash
from corvanthelis_interfaces.srv import DetectTrash
from geometry_msgs.msg import Point, Pose

_capsule_pointer = ctypes.pythonapi.PyCapsule_GetPointer
_capsule_pointer.restype = ctypes.c_void_p
_capsule_pointer.argtypes = [ctypes.py_object, ctypes.c_char_p]


def c_function(prototype, capsule):
    return prototype(_capsule_pointer(capsule, None))


def main():
    response_class = DetectTrash.Response
    type(response_class).__import_type_support__()
    create = c_function(ctypes.CFUNCTYPE(ctypes.c_void_p), response_class._CREATE_ROS_MESSAGE)
    destroy = c_function(ctypes.CFUNCTYPE(None, ctypes.c_void_p), response_class._DESTROY_ROS_MESSAGE)
    # The conversions run Python code: PYFUNCTYPE keeps the interpreter lock and raises what
    # they leave standing.
    convert_from_py = c_function(ctypes.PYFUNCTYPE(ctypes.c_bool, ctypes.py_object, ctypes.c_void_p),
                                 response_class._CONVERT_FROM_PY)
    convert_to_py = c_function(ctypes.PYFUNCTYPE(ctypes.py_object, ctypes.c_void_p),
                               response_class._CONVERT_TO_PY)

    response = DetectTrash.Response(
        status=0,
        trashes_detected=[
            Trash(type=3, location=1, grab_pose=Pose(position=Point(x=0.42, y=-0.10, z=0.05))),
            Trash(type=5, location=2, mainaxis_type=1, obb_size=Point(x=0.06, y=0.06, z=0.12))],
        errmsg='two items found on the table')
    structure = create()
    if not structure:
        raise MemoryError('create returned no structure')
    try:
        if not convert_from_py(response, structure):
            raise RuntimeError('the response did not convert to C')
        back = convert_to_py(structure)
    finally:
        destroy(structure)

    print(f'package: {corvanthelis_interfaces.__file__}')
    print(f'type support: {_capsule_pointer(response_class._TYPE_SUPPORT, None):#x}')
    print(f'through C and back: {back!r}')
    same = back == response
    print(f'equal to the response sent: {same}')
    return 0 if same else 1


if __name__ == '__main__':
    sys.exit(main())

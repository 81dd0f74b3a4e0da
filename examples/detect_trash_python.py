"""A DetectTrash response made in Python takes the road a ROS 2 Python node gives it: into a C
structure through the capsules its class keeps, out as CDR through the C type support that the
class's type-support record leads to (corvanthelis_cdr_bridge.py beside this file), and back
from those bytes into a second C structure and a new Python object.

    PYTHONPATH=build/python LD_LIBRARY_PATH=build/lib python3.10 examples/detect_trash_python.py

Prints the CDR bytes, with the encapsulation header, as one hexadecimal line that
`corvanthelis_inspect decode corvanthelis_interfaces/srv/DetectTrash_Response` reads.
"""

import ctypes
import sys

from corvanthelis_cdr_bridge import deserialize, serialize
from corvanthelis_interfaces.msg import Trash
from corvanthelis_interfaces.srv import DetectTrash
from geometry_msgs.msg import Point, Pose, Quaternion

# Little-endian CDR, as Fast DDS puts it in front of every payload.
ENCAPSULATION = bytes([0x00, 0x01, 0x00, 0x00])

_get_pointer = ctypes.pythonapi.PyCapsule_GetPointer
_get_pointer.restype = ctypes.c_void_p
_get_pointer.argtypes = [ctypes.py_object, ctypes.c_char_p]


def entry_points(message_class):
    """The C functions and the type-support record behind the class's five capsules."""
    type(message_class).__import_type_support__()
    take = lambda capsule: _get_pointer(capsule, None)  # the capsules carry no name
    return (
        ctypes.CFUNCTYPE(ctypes.c_void_p)(take(message_class._CREATE_ROS_MESSAGE)),
        ctypes.CFUNCTYPE(None, ctypes.c_void_p)(take(message_class._DESTROY_ROS_MESSAGE)),
        # The conversions need the interpreter lock: PYFUNCTYPE keeps it and raises what they
        # leave standing.
        ctypes.PYFUNCTYPE(ctypes.c_bool, ctypes.py_object, ctypes.c_void_p)(
            take(message_class._CONVERT_FROM_PY)),
        ctypes.PYFUNCTYPE(ctypes.py_object, ctypes.c_void_p)(take(message_class._CONVERT_TO_PY)),
        take(message_class._TYPE_SUPPORT),
    )


def main():
    response = DetectTrash.Response(
        status=1,
        trashes_detected=[Trash(
            type=2, location=3, mainaxis_type=1,
            grab_pose=Pose(position=Point(x=0.5, y=-1.25, z=2.0)),
            obb_pose=Pose(orientation=Quaternion(x=0.0, y=0.0, z=0.7071, w=0.7071)),
            obb_size=Point(x=0.2, y=0.1, z=0.05))],
        errmsg='ok')
    create, destroy, convert_from_py, convert_to_py, type_support = entry_points(
        DetectTrash.Response)

    sent = create()
    received = create()
    try:
        if not convert_from_py(response, sent):
            raise RuntimeError('the response did not convert to C')
        cdr = serialize(type_support, sent)
        print(f'{len(cdr)} CDR bytes written by the C type support:', file=sys.stderr)
        print((ENCAPSULATION + cdr).hex())
        deserialize(type_support, cdr, received)
        back = convert_to_py(received)
    finally:
        destroy(received)
        destroy(sent)
    print(f'read back into Python: {back!r}', file=sys.stderr)
    print(f'equal to the response sent: {back == response}', file=sys.stderr)
    return 0 if back == response else 1


if __name__ == '__main__':
    sys.exit(main())

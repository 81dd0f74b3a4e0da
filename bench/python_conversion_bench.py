"""Times the Python conversions through the capsules the message classes keep, as the client
library calls them: number sequences taken over as buffers against the same numbers as lists,
against memcpy of their bytes, and a sequence of 1000 messages element by element.

Run from a Release build (or `cmake --build build --target python_conversion_bench`):

    PYTHONPATH=build/python LD_LIBRARY_PATH=build/lib python3.10 bench/python_conversion_bench.py
"""

import array
import ctypes
import platform
import statistics
import sys
import time

from corvanthelis_interfaces.msg import DetectedWastes, Trash, Trashes
from geometry_msgs.msg import Pose

COUNT = 1_048_576
REPETITIONS = 9

_get_pointer = ctypes.pythonapi.PyCapsule_GetPointer
_get_pointer.restype = ctypes.c_void_p
_get_pointer.argtypes = [ctypes.py_object, ctypes.c_char_p]


class Entry:
    def __init__(self, message_class):
        type(message_class).__import_type_support__()
        take = lambda capsule, kind: kind(_get_pointer(capsule, None))
        self.create = take(message_class._CREATE_ROS_MESSAGE, ctypes.CFUNCTYPE(ctypes.c_void_p))
        self.destroy = take(message_class._DESTROY_ROS_MESSAGE,
                            ctypes.CFUNCTYPE(None, ctypes.c_void_p))
        self.convert_from_py = take(message_class._CONVERT_FROM_PY, ctypes.PYFUNCTYPE(
            ctypes.c_bool, ctypes.py_object, ctypes.c_void_p))
        self.convert_to_py = take(message_class._CONVERT_TO_PY, ctypes.PYFUNCTYPE(
            ctypes.py_object, ctypes.c_void_p))


def convert_from_py(entry, message, address):
    if not entry.convert_from_py(message, address):
        raise RuntimeError('the conversion failed')


def median_seconds(run, repetitions=REPETITIONS):
    """The median time of `run()`; `run` returns the seconds of its own timed part."""
    run()
    return statistics.median(run() for _ in range(repetitions))


def time_from_py(entry, message):
    def run():
        address = entry.create()
        start = time.perf_counter()
        convert_from_py(entry, message, address)
        elapsed = time.perf_counter() - start
        entry.destroy(address)
        return elapsed
    return median_seconds(run)


def time_to_py(entry, message):
    address = entry.create()
    convert_from_py(entry, message, address)

    def run():
        start = time.perf_counter()
        entry.convert_to_py(address)
        return time.perf_counter() - start
    result = median_seconds(run)
    entry.destroy(address)
    return result


def time_call(function):
    def run():
        start = time.perf_counter()
        function()
        return time.perf_counter() - start
    return median_seconds(run)


class ListLike:
    """Passes DetectedWastes' class check while holding plain lists, which the class itself
    would turn into arrays: the conversion's item path."""


ListLike.__module__, ListLike.__name__ = DetectedWastes.__module__, 'DetectedWastes'


def bulk():
    ids = array.array('i', range(COUNT))
    distances = array.array('d', (i * 0.5 for i in range(COUNT)))
    wastes = DetectedWastes(ids=ids, detected_dis=distances)
    listed = ListLike()
    for field in DetectedWastes.get_fields_and_field_types():
        setattr(listed, field, getattr(wastes, field))
    listed.ids, listed.detected_dis = ids.tolist(), distances.tolist()
    entry = Entry(DetectedWastes)
    size = len(ids) * ids.itemsize + len(distances) * distances.itemsize

    source = ctypes.create_string_buffer(size)
    target = ctypes.create_string_buffer(size)
    memcpy = time_call(lambda: ctypes.memmove(target, source, size))
    buffer_from = time_from_py(entry, wastes)
    list_from = time_from_py(entry, listed)
    buffer_to = time_to_py(entry, wastes)
    # What handing the numbers back one object per element costs at the least: the C loop of
    # array.tolist, without any conversion around it.
    list_to = time_call(lambda: (ids.tolist(), distances.tolist()))

    print(f'DetectedWastes: {COUNT} int32 in ids and {COUNT} float64 in detected_dis, '
          f'{size} bytes')
    rows = [('memcpy of the bytes (ctypes.memmove)', memcpy),
            ('from Python, buffer path (array.array)', buffer_from),
            ('from Python, item path (lists)', list_from),
            ('to Python, arrays refilled in place', buffer_to),
            ('to Python, the same numbers as lists (array.tolist)', list_to)]
    for label, seconds in rows:
        print(f'  {label:55} {seconds * 1e3:9.3f} ms  {size / seconds / 2**30:6.2f} GiB/s')
    print(f'  from Python: list path / buffer path = {list_from / buffer_from:.1f}x; '
          f'buffer path / memcpy = {buffer_from / memcpy:.2f}x')
    print(f'  to Python: lists / arrays = {list_to / buffer_to:.1f}x; '
          f'arrays / memcpy = {buffer_to / memcpy:.2f}x')


def messages():
    count = 1000
    trashes = Trashes(trashes=[Trash(type=i % 7, location=i % 3, grab_pose=Pose())
                               for i in range(count)])
    entry = Entry(Trashes)
    from_py = time_from_py(entry, trashes)
    to_py = time_to_py(entry, trashes)
    print(f'Trashes with {count} Trash:')
    print(f'  from Python {from_py * 1e3:8.3f} ms  {from_py / count * 1e6:7.2f} us per Trash')
    print(f'  to Python   {to_py * 1e3:8.3f} ms  {to_py / count * 1e6:7.2f} us per Trash')


if __name__ == '__main__':
    print(f'Python {platform.python_version()} ({sys.executable}), {platform.machine()}, '
          f'median of {REPETITIONS} runs')
    bulk()
    messages()

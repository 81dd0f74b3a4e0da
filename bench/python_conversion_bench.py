"""Times the Python conversions through the capsules the message classes keep, as the client
library calls them: number sequences taken over as buffers against the same numbers as lists,
against memcpy of their bytes; and 1000 Trash made, converted to Python and from Python, each
against the same objects made from minimal classes.

Run from a Release build (or `cmake --build build --target python_conversion_bench`):

    build/python.sh bench/python_conversion_bench.py

`--repeat OPERATION TIMES` runs one of the Trash operations and nothing else, for counting its
instructions with `valgrind --tool=callgrind` (docs/performance.md).
"""

import array
import ctypes
import platform
import statistics
import sys
import time

from corvanthelis_interfaces.msg import DetectedWastes, Trash, Trashes
from geometry_msgs.msg import Point, Pose, Quaternion

COUNT = 1_048_576
REPETITIONS = 9
PAIRED_REPETITIONS = 41

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


class MinimalPoint:
    """The baseline: what a message costs at the least in Python, slots and a keyword
    constructor that assigns without any check."""
    __slots__ = ('x', 'y', 'z')

    def __init__(self, x=0.0, y=0.0, z=0.0):
        self.x = x
        self.y = y
        self.z = z


class MinimalQuaternion:
    __slots__ = ('x', 'y', 'z', 'w')

    def __init__(self, x=0.0, y=0.0, z=0.0, w=1.0):
        self.x = x
        self.y = y
        self.z = z
        self.w = w


class MinimalPose:
    __slots__ = ('position', 'orientation')

    def __init__(self, position=None, orientation=None):
        self.position = position
        self.orientation = orientation


class MinimalTrash:
    __slots__ = ('type', 'location', 'mainaxis_type', 'grab_pose', 'obb_pose', 'obb_size')

    def __init__(self, type=0, location=0, mainaxis_type=0, grab_pose=None, obb_pose=None,
                 obb_size=None):
        self.type = type
        self.location = location
        self.mainaxis_type = mainaxis_type
        self.grab_pose = grab_pose
        self.obb_pose = obb_pose
        self.obb_size = obb_size


def trashes(count, trash, pose, point, quaternion):
    """`count` Trash with every field given, each with its eight objects: the Trash, two Pose,
    three Point and two Quaternion."""
    def a_pose(i):
        return pose(position=point(x=i * 0.5, y=-1.0, z=2.0),
                    orientation=quaternion(x=0.0, y=0.0, z=0.6, w=0.8))
    return [trash(type=i % 7, location=i % 3, mainaxis_type=i % 2, grab_pose=a_pose(i),
                  obb_pose=a_pose(i + 1), obb_size=point(x=0.1, y=0.2, z=0.3))
            for i in range(count)]


class TrashRuns:
    """The operations on COUNT Trash that the figures compare, each made once per call: built
    from the minimal classes (the baseline) or through the classes' keyword constructors, made
    without arguments, converted to Python from one Trashes holding them, and from Python into
    a new C structure. `release` disposes of what a call made."""

    COUNT = 1000
    OPERATIONS = ('baseline', 'keywords', 'defaults', 'to_python', 'from_python')

    def __init__(self):
        self.message = Trashes(trashes=self.keywords())
        self.entry = Entry(Trashes)
        self.address = self.entry.create()
        convert_from_py(self.entry, self.message, self.address)

    def baseline(self):
        return trashes(self.COUNT, MinimalTrash, MinimalPose, MinimalPoint, MinimalQuaternion)

    def keywords(self):
        return trashes(self.COUNT, Trash, Pose, Point, Quaternion)

    def defaults(self):
        return [Trash() for _ in range(self.COUNT)]

    def to_python(self):
        return self.entry.convert_to_py(self.address)

    def from_python(self):
        target = self.entry.create()
        convert_from_py(self.entry, self.message, target)
        return target

    def release(self, operation, made):
        if operation == 'from_python':
            self.entry.destroy(made)

    def timed(self, operation):
        """A run of the operation that times the call alone, not the release of what it
        made."""
        def run():
            start = time.perf_counter()
            made = getattr(self, operation)()
            elapsed = time.perf_counter() - start
            self.release(operation, made)
            return elapsed
        return run

    def close(self):
        self.entry.destroy(self.address)


def paired(candidate, baseline, repetitions=PAIRED_REPETITIONS):
    """The median seconds of `candidate()` and of `baseline()`, and the median ratio of the two
    over runs that alternate them, so that the busy machine's drift cancels out of the ratio.
    Each returns the seconds of its own timed part."""
    candidate()
    baseline()
    pairs = []
    for repetition in range(repetitions):
        if repetition % 2:
            first = candidate()
            pairs.append((first, baseline()))
        else:
            first = baseline()
            pairs.append((candidate(), first))
    return (statistics.median(c for c, _ in pairs), statistics.median(b for _, b in pairs),
            statistics.median(c / b for c, b in pairs))


def messages():
    runs = TrashRuns()
    count = runs.COUNT
    rows = [('keyword construction, every field given', 'keywords'),
            ('Trash() without arguments', 'defaults'),
            ('to Python (a Trashes of them)', 'to_python'),
            ('from Python (a Trashes of them)', 'from_python')]
    print(f'{count} Trash, against the same {count * 8} objects made from minimal classes '
          '(slots, a keyword constructor without checks), each paired with that baseline, '
          f'median of {PAIRED_REPETITIONS} pairs:')
    for label, operation in rows:
        seconds, base, ratio = paired(runs.timed(operation), runs.timed('baseline'))
        print(f'  {label:40} {seconds / count * 1e6:7.2f} us per Trash  '
              f'(baseline {base / count * 1e6:5.2f} us)  {ratio:5.2f}x the baseline')
    runs.close()


def repeat(operation, times):
    """Runs one operation `times` times and nothing else, for counting its instructions: the
    count of 3 runs less that of 1, over 2 * COUNT, is the operation's share per Trash."""
    runs = TrashRuns()
    for _ in range(times):
        runs.release(operation, getattr(runs, operation)())
    runs.close()


if __name__ == '__main__':
    if len(sys.argv) == 4 and sys.argv[1] == '--repeat' and sys.argv[2] in TrashRuns.OPERATIONS:
        repeat(sys.argv[2], int(sys.argv[3]))
        sys.exit(0)
    if len(sys.argv) != 1:
        sys.exit(f'usage: {sys.argv[0]} [--repeat {{{",".join(TrashRuns.OPERATIONS)}}} TIMES]')
    print(f'Python {platform.python_version()} ({sys.executable}), {platform.machine()}, '
          f'median of {REPETITIONS} runs')
    bulk()
    messages()

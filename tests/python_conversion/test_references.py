"""Every reference a conversion takes is released, on success and on failure: 10^5 conversions
in each direction leave the reference counts of the values involved, the number of objects the
collector tracks and the number of memory blocks the interpreter holds where they were."""

import array
import gc
import sys
import unittest

from fixtures import entry, look_alike, plain_class, replaced_class

from corvanthelis_interfaces.msg import DetectedWastes, Trash
from corvanthelis_interfaces.srv import ArmRelease, DetectTrash, SamProcess
from geometry_msgs.msg import Point

RUNS = 100_000
WARM_UP = 1_000
# Free lists and caches of the interpreter settle by up to a few hundred blocks; a leak of one
# object per conversion would show as 10^5.
OBJECT_SLACK = 100
BLOCK_SLACK = 1000


class References(unittest.TestCase):
    def assert_flat(self, convert, watched):
        # The first calls fill the interpreter's caches: imports, attribute lookups, free lists.
        for _ in range(WARM_UP):
            convert()
        gc.collect()
        counts = [sys.getrefcount(value) for value in watched]
        tracked = len(gc.get_objects())
        blocks = sys.getallocatedblocks()
        for _ in range(RUNS):
            convert()
        gc.collect()
        self.assertEqual([sys.getrefcount(value) for value in watched], counts)
        self.assertLess(abs(len(gc.get_objects()) - tracked), OBJECT_SLACK)
        self.assertLess(abs(sys.getallocatedblocks() - blocks), BLOCK_SLACK)

    def from_py(self, name, message, failure=None):
        converter = entry(name)

        def convert():
            with converter.message() as address:
                try:
                    converter.convert_from_py(message, address)
                except Exception as error:
                    if failure is None or not isinstance(error, failure):
                        raise
                    return
            if failure is not None:
                raise AssertionError('the conversion did not fail')
        return convert

    def test_from_python_on_success(self):
        trashes = [Trash(type=1)]
        response = DetectTrash.Response(status=1, trashes_detected=trashes, errmsg='Grüße')
        wastes = DetectedWastes(ids=[1, 2, 3], detected_dis=[0.5])
        items = look_alike('DetectedWastes', ids=[1, 2, 3], class_names=(4,), detected_dis=[0.5])
        watched = [response, response.errmsg, response.trashes_detected, *trashes, wastes,
                   wastes.ids, wastes.detected_dis, items, items.ids, items.class_names, Trash]
        self.assert_flat(self.from_py('DetectTrash_Response', response), watched)
        self.assert_flat(self.from_py('DetectedWastes', wastes), watched)
        self.assert_flat(self.from_py('DetectedWastes', items), watched)

    def test_from_python_on_failure(self):
        rows = [
            ('DetectTrash_Response', look_alike('DetectTrash_Response', errmsg='\ud800'),
             UnicodeEncodeError),
            ('DetectTrash_Response',
             look_alike('DetectTrash_Response', trashes_detected=[look_alike('Trash', type=-1)]),
             OverflowError),
            ('Trashes', look_alike('Trashes', trashes=5), TypeError),
            ('DetectedWastes', look_alike('DetectedWastes', ids=b'12345'), ValueError),
            ('DetectedWastes', look_alike('DetectedWastes', detected_dis=[0.5, 1]), TypeError),
            ('Trash', look_alike('Trash', class_name='Rubbish'), TypeError),
        ]
        for name, message, failure in rows:
            with self.subTest(name=name, failure=failure.__name__):
                self.assert_flat(self.from_py(name, message, failure), [message])

    def test_to_python_on_success(self):
        rows = [('SamProcess_Response', SamProcess.Response(pixel_coords=[Point(x=1.0)])),
                ('ArmRelease_Response', ArmRelease.Response(errmsg='Grüße')),
                ('DetectedWastes', DetectedWastes(ids=[1, 2, 3], detected_dis=[0.5] * 10))]
        for name, message in rows:
            converter = entry(name)
            with self.subTest(name=name), converter.from_py(message) as address:
                self.assert_flat(lambda: converter.convert_to_py(address), [type(message), Point])

    def test_to_python_on_failure(self):
        # Fails at its last field, after every other field was made and assigned.
        narrow = plain_class('DetectedWastes', header=lambda: None, goal_poses=list,
                             ids=lambda: array.array('i'), class_names=lambda: array.array('i'),
                             detected_dis=lambda: array.array('f'))
        converter = entry('DetectedWastes')

        def convert():
            try:
                converter.convert_to_py(address)
            except RuntimeError:
                return
            raise AssertionError('the conversion did not fail')

        with converter.from_py(DetectedWastes(ids=[1], detected_dis=[0.5])) as address, \
                replaced_class('DetectedWastes', narrow):
            self.assert_flat(convert, [narrow])


if __name__ == '__main__':
    unittest.main()

"""Times the Python node API against a C++ node in another process (transport_bench's echo
peer): round trips and bursts of Trash and of DetectedWastes with 131 072 float64, from Python
to C++ and back, and the part of them that is the Python conversions through the classes'
capsules. Not run by CTest; results in docs/performance.md.

    PYTHONPATH=build/python LD_LIBRARY_PATH=build/lib python3.10 bench/python_transport_bench.py \\
        build/bench/transport_bench
"""

import array
import ctypes
import os
import statistics
import subprocess
import sys
import time

import corvanthelis_transport as transport
from corvanthelis_interfaces.msg import DetectedWastes, Trash
from geometry_msgs.msg import Point, Pose, Quaternion

DOMAIN = 52
PATIENCE = 20.0
REPETITIONS = 9

_get_pointer = ctypes.pythonapi.PyCapsule_GetPointer
_get_pointer.restype = ctypes.c_void_p
_get_pointer.argtypes = [ctypes.py_object, ctypes.c_char_p]


def sample_trash():
    pose = Pose(position=Point(x=1.0, y=2.0, z=3.0),
                orientation=Quaternion(x=0.1, y=0.2, z=0.3, w=0.9))
    return Trash(type=1, location=2, mainaxis_type=3, grab_pose=pose, obb_pose=pose,
                 obb_size=Point(x=0.3, y=0.2, z=0.1))


def sample_wastes():
    wastes = DetectedWastes(detected_dis=array.array('d', (0.001 * i for i in range(131072))))
    wastes.header.frame_id = 'camera'
    return wastes


class Echo:
    """Pings of one type and the count of their echoes."""

    def __init__(self, node, cls, name):
        self.ping = node.create_publisher(cls, f'/ping_{name}')
        self.echoes = 0

        def count(_):
            self.echoes += 1
        node.create_subscription(cls, f'/pong_{name}', count)
        if not self.ping.wait_for_subscribers(1, PATIENCE):
            raise TimeoutError(f'no echo peer for {name}')

    def handshake(self, node, message):
        """Pings until one comes back: the peer's echo writer may not know our reader yet, and
        what it writes before is lost. Stragglers settle before anything is timed."""
        deadline = time.monotonic() + PATIENCE
        while self.echoes == 0:
            if time.monotonic() > deadline:
                raise TimeoutError('the peer never echoed')
            self.ping.publish(message)
            node.spin(0.2)
        node.spin(0.5)

    def there_and_back(self, node, message, count):
        """Seconds for `count` messages to go and all their echoes to come back."""
        target = self.echoes + count
        start = time.perf_counter()
        for _ in range(count):
            self.ping.publish(message)
        deadline = time.monotonic() + PATIENCE
        while self.echoes < target:
            if time.monotonic() > deadline:
                raise TimeoutError('echoes missing')
            node.spin_once(PATIENCE)
        return time.perf_counter() - start


def conversions(cls, message):
    """Seconds for one message from Python into a new C structure (as publish() makes it), and
    from a C structure into a new Python object (as a delivery does), through the capsules."""
    type(cls).__import_type_support__()
    take = lambda capsule, kind: kind(_get_pointer(capsule, None))
    create = take(cls._CREATE_ROS_MESSAGE, ctypes.CFUNCTYPE(ctypes.c_void_p))
    destroy = take(cls._DESTROY_ROS_MESSAGE, ctypes.CFUNCTYPE(None, ctypes.c_void_p))
    from_py = take(cls._CONVERT_FROM_PY,
                   ctypes.PYFUNCTYPE(ctypes.c_bool, ctypes.py_object, ctypes.c_void_p))
    to_py = take(cls._CONVERT_TO_PY, ctypes.PYFUNCTYPE(ctypes.py_object, ctypes.c_void_p))

    def publish_side(rounds):
        start = time.perf_counter()
        for _ in range(rounds):
            address = create()
            from_py(message, address)
            destroy(address)
        return (time.perf_counter() - start) / rounds

    def delivery_side(rounds):
        address = create()
        from_py(message, address)
        start = time.perf_counter()
        for _ in range(rounds):
            to_py(address)
        elapsed = (time.perf_counter() - start) / rounds
        destroy(address)
        return elapsed
    return publish_side, delivery_side

def median(run, rounds):
    run(rounds)  # warm up
    return statistics.median(run(rounds) for _ in range(REPETITIONS))


def report(name, seconds, count, size):
    print(f'{name:<44} {seconds / count * 1e6:10.1f} us/message  '
          f'{count / seconds:10.0f} messages/s  '
          f'{2 * count * size / seconds / 2**20:8.1f} MiB/s both ways')


def main():
    peer_program = sys.argv[1]
    partition = f'python_transport_bench_{os.getpid()}'
    peer = subprocess.Popen([peer_program, '--peer', str(DOMAIN), partition], stdin=subprocess.PIPE)
    try:
        with transport.Node('python_bench', domain=DOMAIN, partition=partition) as node:
            trash, wastes = sample_trash(), sample_wastes()
            sizes = {'trash': 4 + 144, 'wastes': 4 + 8 + 8 + 4 + 7 + 1 + 16 + 4 + 8 * 131072}
            echoes = {'trash': Echo(node, Trash, 'trash'),
                      'wastes': Echo(node, DetectedWastes, 'wastes')}
            runs = (('trash', trash, 500, 1000), ('wastes', wastes, 20, 20))
            for name, message, round_trips, burst in runs:
                echo = echoes[name]
                echo.handshake(node, message)
                def trips(count, rounds):
                    return sum(echo.there_and_back(node, message, count) for _ in range(rounds))
                one = median(lambda rounds: trips(1, rounds), round_trips)
                report(f'{name}: round trip Python -> C++ -> Python', one, round_trips, sizes[name])
                many = median(lambda rounds: trips(burst, rounds), 1)
                report(f'{name}: burst of {burst} there and back', many, burst, sizes[name])
                to_c, to_python = conversions(type(message), message)
                to_c, to_python = median(to_c, round_trips), median(to_python, round_trips)
                share = (to_c + to_python) / (one / round_trips) * 100
                print(f'{name}: Python to C {to_c * 1e6:.1f} us, '
                      f'C to Python {to_python * 1e6:.1f} us '
                      f'({share:.0f} % of a round trip)')
    finally:
        peer.stdin.close()
        peer.wait(timeout=PATIENCE)


if __name__ == '__main__':
    main()

"""The Python node API against a C++ node in another process: messages from C++ to Python and
back, services both ways, a client without a server, and what the API refuses."""

import os
import subprocess
import threading
import time
import unittest

import corvanthelis_transport as transport
from corvanthelis_interfaces.msg import Trash, Trashes
from corvanthelis_interfaces.srv import DetectTrash
from geometry_msgs.msg import Point, Pose

PEER = os.environ['TRANSPORT_CPP_PEER']
# The emulator of a cross build, whose processes cannot start the build's programs themselves.
PEER_LAUNCHER = os.environ.get('TRANSPORT_PEER_LAUNCHER', '').split()
DOMAIN = int(os.environ['TRANSPORT_TEST_DOMAIN'])
PATIENCE = 20.0


def partition(name):
    """A partition no other run on this host uses."""
    return f'{name}_{os.getpid()}_{time.monotonic_ns()}'


def answer(request):
    """What the C++ peer's DetectTrash server answers (transport_test::answer)."""
    return DetectTrash.Response(
        status=request.cmd * 2 + request.cam_choice,
        errmsg=f'camera {request.cam_choice}',
        trashes_detected=[
            Trash(type=i, location=request.cmd % 256, mainaxis_type=request.cam_choice,
                  grab_pose=Pose(position=Point(x=request.cmd + 0.5 * i)),
                  obb_size=Point(z=-0.25 * i))
            for i in range(request.cmd % 4)])


def peer(*arguments):
    return subprocess.Popen([*PEER_LAUNCHER, PEER, *[str(argument) for argument in arguments]])


class RoadTest(unittest.TestCase):

    def finish(self, process):
        try:
            self.assertEqual(process.wait(timeout=PATIENCE), 0)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            self.fail('the C++ peer did not finish')

    def test_a_thousand_random_trashes_come_from_cpp_and_go_back_in_order(self):
        count = 1000
        place = partition('road_thousand')
        echoed = []
        with transport.Node('python_echo', domain=DOMAIN, partition=place) as node:
            back = node.create_publisher(Trashes, '/trashes_back')

            def echo(message):
                echoed.append(message)
                back.publish(message)

            node.create_subscription(Trashes, '/trashes_out', echo)
            process = peer('origin', DOMAIN, place, count, 20240611)
            # An echo written before our writer knows the origin's reader would be lost.
            self.assertTrue(back.wait_for_subscribers(1, PATIENCE))
            deadline = time.monotonic() + PATIENCE
            while len(echoed) < count and time.monotonic() < deadline:
                node.spin_once(0.1)
            self.assertEqual(len(echoed), count)
            self.assertTrue(back.wait_for_acknowledgments(PATIENCE))
            self.finish(process)
        # The origin checks contents and order; the stamps are random, so distinct ones show
        # that Python saw every message once.
        self.assertEqual(len({(m.header.stamp.sec, m.header.stamp.nanosec) for m in echoed}), count)

    def test_a_python_client_calls_a_cpp_server(self):
        calls = 20
        place = partition('road_python_client')
        with transport.Node('python_client', domain=DOMAIN, partition=place) as node:
            client = node.create_client(DetectTrash, '/detect_trash')
            process = peer('serve', DOMAIN, place, '/detect_trash', calls)
            self.assertTrue(client.wait_for_service(PATIENCE))
            for i in range(calls):
                request = DetectTrash.Request(cmd=100 + i, cam_choice=i % 3)
                self.assertEqual(client.call(request, PATIENCE), answer(request))
            self.finish(process)

    def test_a_cpp_client_calls_a_python_server(self):
        calls = 20
        place = partition('road_python_server')
        with transport.Node('python_server', domain=DOMAIN, partition=place) as node:
            node.create_service(DetectTrash, '/detect_trash', answer)
            process = peer('call', DOMAIN, place, '/detect_trash', calls)
            deadline = time.monotonic() + PATIENCE
            while process.poll() is None and time.monotonic() < deadline:
                node.spin_once(0.1)
            self.finish(process)

    def test_a_call_without_server_times_out_saying_so(self):
        with transport.Node('lonely', domain=DOMAIN, partition=partition('road_timeout')) as node:
            client = node.create_client(DetectTrash, '/nobody_serves_this')
            self.assertFalse(client.wait_for_service(0.2))
            with self.assertRaisesRegex(TimeoutError, 'no server'):
                client.call(DetectTrash.Request(cmd=1), 0.3)

    def test_other_threads_run_while_a_call_waits(self):
        with transport.Node('waiting', domain=DOMAIN, partition=partition('road_threads')) as node:
            client = node.create_client(DetectTrash, '/nobody_serves_this')
            ticks = []
            ticker = threading.Thread(
                target=lambda: [ticks.append(time.sleep(0.01)) for _ in range(20)])
            ticker.start()
            with self.assertRaises(TimeoutError):
                client.call(DetectTrash.Request(), 0.5)
            ticker.join()
            self.assertEqual(len(ticks), 20)

    def test_wrong_classes_and_closed_endpoints_raise(self):
        with transport.Node('strict', domain=DOMAIN, partition=partition('road_strict')) as node:
            publisher = node.create_publisher(Trashes, '/trashes')
            with self.assertRaises(TypeError):
                publisher.publish(Trash())
            with self.assertRaises(TypeError):
                node.create_publisher(object(), '/trashes')
            with self.assertRaises(TypeError):
                node.create_subscription(Trashes, '/trashes', 'not callable')
            with self.assertRaises(RuntimeError):
                node.create_publisher(Trashes, 'not a name')
            with self.assertRaises(ValueError):
                node.spin_once(-1.0)
            with self.assertRaises(TypeError):
                transport.Publisher()
            publisher.close()
            with self.assertRaises(RuntimeError):
                publisher.publish(Trashes())
        with self.assertRaises(RuntimeError):
            node.create_publisher(Trashes, '/trashes')

    def test_a_callback_that_raises_stops_spin_once_with_its_exception(self):
        place = partition('road_raise')
        with transport.Node('raising', domain=DOMAIN, partition=place) as node:
            publisher = node.create_publisher(Trashes, '/trashes')

            def fail(message):
                raise KeyError('from the callback')

            node.create_subscription(Trashes, '/trashes', fail)
            self.assertTrue(publisher.wait_for_subscribers(1, PATIENCE))
            publisher.publish(Trashes())
            with self.assertRaises(KeyError):
                node.spin_once(PATIENCE)

    def test_yaml_comes_from_the_introspection_tables(self):
        message = Trashes(trashes=[Trash(type=2)])
        message.header.frame_id = 'cam'
        text = transport.to_yaml(message)
        self.assertTrue(text.startswith(
            'header:\n  stamp:\n    sec: 0\n    nanosec: 0\n  frame_id: "cam"\n'))
        self.assertIn('trashes:\n  - type: 2\n', text)


if __name__ == '__main__':
    unittest.main()

"""The demo's Python "arm" node: asks the perception node for a detection, takes the frames it
publishes, and sends it an ArmTask goal through the action's services, following the goal's
feedback until the result comes. Prints what travels as YAML, through the introspection tables.
Ends by itself: 0 when everything came as expected, 1 when something is missing or late.

    arm_node.py <domain> <partition> <transcript folder>
"""

import os
import random
import sys
import time

import corvanthelis_transport as transport
from corvanthelis_interfaces.action import ArmTask
from corvanthelis_interfaces.msg import DetectedWastes, Trashes
from corvanthelis_interfaces.srv import DetectTrash
from unique_identifier_msgs.msg import UUID

PATIENCE = 20.0
FRAMES = 2
STAGES = 4
SUCCEEDED = 4  # action_msgs/GoalStatus


def say(line):
    print(f'[arm] {line}', flush=True)


def show(title, message):
    """Prints a message as YAML, indented under a title."""
    yaml = transport.to_yaml(message)
    indented = ''.join(f'    {line}\n' for line in yaml.splitlines())
    print(f'[arm] {title}:\n{indented}', end='', flush=True)


class Transcript:
    """What this node sent and received, as demo.sh compares it with the other node's."""

    def __init__(self, folder):
        self.root = os.path.join(folder, 'arm')
        for direction in ('sent', 'received'):
            os.makedirs(os.path.join(self.root, direction), exist_ok=True)

    def note(self, direction, channel, message):
        with open(os.path.join(self.root, direction, channel), 'a') as file:
            file.write(transport.to_yaml(message) + '---\n')


def spin_until(node, done, what):
    deadline = time.monotonic() + PATIENCE
    while not done():
        if time.monotonic() > deadline:
            raise TimeoutError(f'{what} did not come in time')
        node.spin_once(0.1)


def call(client, request, transcript, channel, title):
    transcript.note('sent', f'{channel}_request', request)
    try:
        response = client.call(request, PATIENCE)
    except TimeoutError as failure:
        raise TimeoutError(f'no reply to {title}: {failure}') from None
    transcript.note('received', f'{channel}_reply', response)
    show(f'{title} reply', response)
    return response


def run(node, transcript):
    frames = {'trashes': [], 'detected_wastes': []}
    feedback = []

    def receive(channel, title):
        def on_message(message):
            frames[channel].append(message)
            transcript.note('received', channel, message)
            show(f'{title} #{len(frames[channel])}', message)
        return on_message

    def on_feedback(message):
        feedback.append(message)
        transcript.note('received', 'feedback', message)
        say(f'feedback: stage {message.feedback.run_stage}')

    node.create_subscription(Trashes, '/trashes', receive('trashes', 'Trashes on /trashes'))
    node.create_subscription(DetectedWastes, '/detected_wastes',
                             receive('detected_wastes', 'DetectedWastes on /detected_wastes'))
    node.create_subscription(ArmTask.Impl.FeedbackMessage,
                             transport.action_part('/arm_task', 'feedback'), on_feedback)
    detect = node.create_client(DetectTrash, '/detect_trash')
    send_goal = node.create_client(ArmTask.Impl.SendGoalService,
                                   transport.action_part('/arm_task', 'send_goal'))
    get_result = node.create_client(ArmTask.Impl.GetResultService,
                                    transport.action_part('/arm_task', 'get_result'))
    for client in (detect, send_goal, get_result):
        if not client.wait_for_service(PATIENCE):
            raise TimeoutError('the perception node did not come up')

    detection = call(detect, DetectTrash.Request(cmd=1, cam_choice=0), transcript, 'detect_trash',
                     'DetectTrash')
    spin_until(node, lambda: all(len(received) == FRAMES for received in frames.values()),
               f'{FRAMES} frames of each topic')

    goal_id = UUID(uuid=[random.randrange(256) for _ in range(16)])
    goal = ArmTask.Impl.SendGoalService.Request(goal_id=goal_id, goal=ArmTask.Goal(cmd=7))
    if not call(send_goal, goal, transcript, 'send_goal', 'ArmTask SendGoal').accepted:
        raise RuntimeError('the goal was rejected')
    result = call(get_result, ArmTask.Impl.GetResultService.Request(goal_id=goal_id), transcript,
                  'get_result', 'ArmTask GetResult')
    spin_until(node, lambda: len(feedback) == STAGES, f'{STAGES} feedback messages')

    problems = []
    if len(detection.trashes_detected) == 0:
        problems.append('the detection found nothing')
    if [message.feedback.run_stage for message in feedback] != list(range(1, STAGES + 1)):
        problems.append('the feedback stages are not 1..4 in order')
    if any(message.goal_id != goal_id for message in feedback):
        problems.append('feedback of another goal')
    if result.status != SUCCEEDED or result.result.status != 7:
        problems.append(f'the goal did not succeed (status {result.status})')
    for problem in problems:
        say(problem)
    return not problems


def main():
    domain, partition, folder = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    transcript = Transcript(folder)
    with transport.Node('arm', domain=domain, partition=partition) as node:
        try:
            ok = run(node, transcript)
        except (TimeoutError, RuntimeError) as problem:
            say(str(problem))
            ok = False
    say('done' if ok else 'FAILED')
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())

"""The Python classes of the package and its stand-in dependencies, found by import, and
random or default values for their fields by the type each class reports.

Shared by the Python tests: the round trips need random messages of every type, the class
tests walk every class.
"""

import array
import importlib
import math
import random
import re
import struct

PACKAGE = 'corvanthelis_interfaces'
STAND_INS = ('builtin_interfaces', 'std_msgs', 'geometry_msgs', 'sensor_msgs',
             'unique_identifier_msgs', 'action_msgs')
PACKAGES = STAND_INS + (PACKAGE,)
KINDS = ('msg', 'srv', 'action')

# The package's 44 structures: the full class name that the C class check expects, and the
# name part that the extension module's attributes share.
STRUCTURES = (
    ('corvanthelis_interfaces.srv._move_to_grab.MoveToGrab_Request', 'srv__move_to_grab__request'),
    ('corvanthelis_interfaces.srv._move_to_grab.MoveToGrab_Response',
     'srv__move_to_grab__response'),
    ('corvanthelis_interfaces.msg._detected_wastes.DetectedWastes', 'msg__detected_wastes'),
    ('corvanthelis_interfaces.msg._grab_trash_cloud.GrabTrashCloud', 'msg__grab_trash_cloud'),
    ('corvanthelis_interfaces.msg._trash.Trash', 'msg__trash'),
    ('corvanthelis_interfaces.msg._trashes.Trashes', 'msg__trashes'),
    ('corvanthelis_interfaces.msg._trash_info.TrashInfo', 'msg__trash_info'),
    ('corvanthelis_interfaces.msg._trash_infos.TrashInfos', 'msg__trash_infos'),
    ('corvanthelis_interfaces.srv._grab_sorted_trash.GrabSortedTrash_Request',
     'srv__grab_sorted_trash__request'),
    ('corvanthelis_interfaces.srv._grab_sorted_trash.GrabSortedTrash_Response',
     'srv__grab_sorted_trash__response'),
    ('corvanthelis_interfaces.srv._sam_process.SamProcess_Request', 'srv__sam_process__request'),
    ('corvanthelis_interfaces.srv._sam_process.SamProcess_Response',
     'srv__sam_process__response'),
    ('corvanthelis_interfaces.srv._trash_cloud.TrashCloud_Request', 'srv__trash_cloud__request'),
    ('corvanthelis_interfaces.srv._trash_cloud.TrashCloud_Response',
     'srv__trash_cloud__response'),
    ('corvanthelis_interfaces.srv._arm_release.ArmRelease_Request', 'srv__arm_release__request'),
    ('corvanthelis_interfaces.srv._arm_release.ArmRelease_Response',
     'srv__arm_release__response'),
    ('corvanthelis_interfaces.srv._arm_grab.ArmGrab_Request', 'srv__arm_grab__request'),
    ('corvanthelis_interfaces.srv._arm_grab.ArmGrab_Response', 'srv__arm_grab__response'),
    ('corvanthelis_interfaces.srv._arm_move_joints.ArmMoveJoints_Request',
     'srv__arm_move_joints__request'),
    ('corvanthelis_interfaces.srv._arm_move_joints.ArmMoveJoints_Response',
     'srv__arm_move_joints__response'),
    ('corvanthelis_interfaces.srv._detect_trash.DetectTrash_Request',
     'srv__detect_trash__request'),
    ('corvanthelis_interfaces.srv._detect_trash.DetectTrash_Response',
     'srv__detect_trash__response'),
    ('corvanthelis_interfaces.srv._elevator_button_pose.ElevatorButtonPose_Request',
     'srv__elevator_button_pose__request'),
    ('corvanthelis_interfaces.srv._elevator_button_pose.ElevatorButtonPose_Response',
     'srv__elevator_button_pose__response'),
    ('corvanthelis_interfaces.srv._arm_push_button.ArmPushButton_Request',
     'srv__arm_push_button__request'),
    ('corvanthelis_interfaces.srv._arm_push_button.ArmPushButton_Response',
     'srv__arm_push_button__response'),
    ('corvanthelis_interfaces.srv._grasp_state.GraspState_Request', 'srv__grasp_state__request'),
    ('corvanthelis_interfaces.srv._grasp_state.GraspState_Response',
     'srv__grasp_state__response'),
    ('corvanthelis_interfaces.action._arm_task.ArmTask_Goal', 'action__arm_task__goal'),
    ('corvanthelis_interfaces.action._arm_task.ArmTask_Result', 'action__arm_task__result'),
    ('corvanthelis_interfaces.action._arm_task.ArmTask_Feedback', 'action__arm_task__feedback'),
    ('corvanthelis_interfaces.action._arm_task.ArmTask_SendGoal_Request',
     'action__arm_task__send_goal__request'),
    ('corvanthelis_interfaces.action._arm_task.ArmTask_SendGoal_Response',
     'action__arm_task__send_goal__response'),
    ('corvanthelis_interfaces.action._arm_task.ArmTask_GetResult_Request',
     'action__arm_task__get_result__request'),
    ('corvanthelis_interfaces.action._arm_task.ArmTask_GetResult_Response',
     'action__arm_task__get_result__response'),
    ('corvanthelis_interfaces.action._arm_task.ArmTask_FeedbackMessage',
     'action__arm_task__feedback_message'),
    ('corvanthelis_interfaces.action._arm_task_decision.ArmTaskDecision_Goal',
     'action__arm_task_decision__goal'),
    ('corvanthelis_interfaces.action._arm_task_decision.ArmTaskDecision_Result',
     'action__arm_task_decision__result'),
    ('corvanthelis_interfaces.action._arm_task_decision.ArmTaskDecision_Feedback',
     'action__arm_task_decision__feedback'),
    ('corvanthelis_interfaces.action._arm_task_decision.ArmTaskDecision_SendGoal_Request',
     'action__arm_task_decision__send_goal__request'),
    ('corvanthelis_interfaces.action._arm_task_decision.ArmTaskDecision_SendGoal_Response',
     'action__arm_task_decision__send_goal__response'),
    ('corvanthelis_interfaces.action._arm_task_decision.ArmTaskDecision_GetResult_Request',
     'action__arm_task_decision__get_result__request'),
    ('corvanthelis_interfaces.action._arm_task_decision.ArmTaskDecision_GetResult_Response',
     'action__arm_task_decision__get_result__response'),
    ('corvanthelis_interfaces.action._arm_task_decision.ArmTaskDecision_FeedbackMessage',
     'action__arm_task_decision__feedback_message'),
)

# The package's services and actions with the name part of their type-support attribute.
SERVICES = (
    ('corvanthelis_interfaces.srv.MoveToGrab', 'srv__move_to_grab'),
    ('corvanthelis_interfaces.srv.GrabSortedTrash', 'srv__grab_sorted_trash'),
    ('corvanthelis_interfaces.srv.SamProcess', 'srv__sam_process'),
    ('corvanthelis_interfaces.srv.TrashCloud', 'srv__trash_cloud'),
    ('corvanthelis_interfaces.srv.ArmRelease', 'srv__arm_release'),
    ('corvanthelis_interfaces.srv.ArmGrab', 'srv__arm_grab'),
    ('corvanthelis_interfaces.srv.ArmMoveJoints', 'srv__arm_move_joints'),
    ('corvanthelis_interfaces.srv.DetectTrash', 'srv__detect_trash'),
    ('corvanthelis_interfaces.srv.ElevatorButtonPose', 'srv__elevator_button_pose'),
    ('corvanthelis_interfaces.srv.ArmPushButton', 'srv__arm_push_button'),
    ('corvanthelis_interfaces.srv.GraspState', 'srv__grasp_state'),
    ('corvanthelis_interfaces.action.ArmTask_SendGoal', 'action__arm_task__send_goal'),
    ('corvanthelis_interfaces.action.ArmTask_GetResult', 'action__arm_task__get_result'),
    ('corvanthelis_interfaces.action.ArmTaskDecision_SendGoal',
     'action__arm_task_decision__send_goal'),
    ('corvanthelis_interfaces.action.ArmTaskDecision_GetResult',
     'action__arm_task_decision__get_result'),
)
ACTIONS = (
    ('corvanthelis_interfaces.action.ArmTask', 'action__arm_task'),
    ('corvanthelis_interfaces.action.ArmTaskDecision', 'action__arm_task_decision'),
)


def load(path):
    """The class at 'pkg.kind.Name' or 'pkg.kind._module.Name'."""
    module, _, name = path.rpartition('.')
    return getattr(importlib.import_module(module), name)


def _exported(package):
    for kind in KINDS:
        try:
            module = importlib.import_module(f'{package}.{kind}')
        except ModuleNotFoundError:
            continue
        for name in module.__all__:
            yield getattr(module, name)


def _is_message(cls):
    return callable(getattr(cls, 'get_fields_and_field_types', None))


def message_classes(package):
    """Every message class of a package (messages, requests, responses, action parts)."""
    return [cls for cls in _exported(package) if _is_message(cls)]


def all_message_classes():
    return [cls for package in PACKAGES for cls in message_classes(package)]


def service_classes(package):
    return [cls for cls in _exported(package)
            if not _is_message(cls) and hasattr(cls, 'Request')]


def action_classes(package):
    return [cls for cls in _exported(package) if hasattr(cls, 'Goal')]


_FIELD_TYPE = re.compile(
    r'^(?:sequence<(?P<seq>[^,>]+)(?:, (?P<bound>\d+))?>|(?P<elem>[^\[]+)(?:\[(?P<size>\d+)\])?)$')
_STRING = re.compile(r'^string(?:<=(?P<bound>\d+))?$')

INTEGER_RANGES = {
    'int8': (-2**7, 2**7 - 1), 'uint8': (0, 2**8 - 1), 'octet': (0, 2**8 - 1),
    'int16': (-2**15, 2**15 - 1), 'uint16': (0, 2**16 - 1),
    'int32': (-2**31, 2**31 - 1), 'uint32': (0, 2**32 - 1),
    'int64': (-2**63, 2**63 - 1), 'uint64': (0, 2**64 - 1),
}
TYPECODES = {'int8': 'b', 'uint8': 'B', 'octet': 'B', 'int16': 'h', 'uint16': 'H',
             'int32': 'i', 'uint32': 'I', 'int64': 'q', 'uint64': 'Q',
             'float': 'f', 'double': 'd'}


class FieldType:
    """A reported field type taken apart: element, and whether it is a fixed array
    (size), a bounded sequence (bound) or an unbounded one."""

    def __init__(self, text):
        match = _FIELD_TYPE.match(text)
        if not match:
            raise ValueError(f'not a field type: {text!r}')
        self.text = text
        self.element = match['seq'] or match['elem']
        self.is_sequence = match['seq'] is not None
        self.size = int(match['size']) if match['size'] else None
        self.bound = int(match['bound']) if match['bound'] else None
        string = _STRING.match(self.element)
        self.string_bound = int(string['bound']) if string and string['bound'] else None
        self.is_string = string is not None
        self.is_nested = '/' in self.element
        self.is_container = self.is_sequence or self.size is not None

    def nested_class(self):
        package, name = self.element.split('/')
        for cls in message_classes(package):
            if cls.__name__ == name:
                return cls
        raise LookupError(f'no class for {self.element}')


def fields(cls):
    return [(name, FieldType(text)) for name, text in cls.get_fields_and_field_types().items()]


def zero(field_type):
    """The default of a field without a default in its definition."""
    element = field_type.element
    if field_type.is_nested:
        item = field_type.nested_class()()
    elif field_type.is_string:
        item = ''
    elif element == 'boolean':
        item = False
    elif element in ('float', 'double'):
        item = 0.0
    else:
        item = 0
    if field_type.size is not None:
        items = [field_type.nested_class()() if field_type.is_nested else item
                 for _ in range(field_type.size)]
    elif field_type.is_sequence:
        items = []
    else:
        return item
    return array.array(TYPECODES[element], items) if element in TYPECODES else items


def _random_float(rng, element):
    if element == 'float':
        return struct.unpack('f', struct.pack('f', rng.uniform(-1e6, 1e6)))[0]
    # Any finite double, so that a round trip is checked bit for bit.
    while True:
        value = struct.unpack('d', rng.getrandbits(64).to_bytes(8, 'little'))[0]
        if math.isfinite(value):
            return value


def _random_text(rng, length):
    # Valid UTF-8 without NUL, from several planes, but no surrogates.
    alphabet = [chr(c) for c in (*range(0x20, 0x7f), 0xe9, 0x4e2d, 0x1f600)]
    return ''.join(rng.choice(alphabet) for _ in range(length))


def _random_item(rng, field_type):
    element = field_type.element
    if field_type.is_nested:
        return random_message(field_type.nested_class(), rng)
    if field_type.is_string:
        return _random_text(rng, rng.randint(0, field_type.string_bound or 12))
    if element == 'boolean':
        return rng.random() < 0.5
    if element in ('float', 'double'):
        return _random_float(rng, element)
    low, high = INTEGER_RANGES[element]
    return rng.choice((low, high, rng.randint(low, high)))


def random_value(field_type, rng):
    if not field_type.is_container:
        return _random_item(rng, field_type)
    count = field_type.size
    if count is None:
        count = rng.randint(0, field_type.bound or 4)
    items = [_random_item(rng, field_type) for _ in range(count)]
    if field_type.element in TYPECODES:
        return array.array(TYPECODES[field_type.element], items)
    return items


def random_message(cls, rng=None):
    rng = rng or random.Random(0)
    return cls(**{name: random_value(field_type, rng) for name, field_type in fields(cls)})

"""The package's 44 structures, 15 services and 2 actions, written out from the interface
definitions independently of the interface compiler: the names every Python deliverable must
use, in the package order the extension modules register them in."""

from dataclasses import dataclass

PACKAGE = 'corvanthelis_interfaces'

MESSAGES = [
    ('DetectedWastes', 'detected_wastes'),
    ('GrabTrashCloud', 'grab_trash_cloud'),
    ('Trash', 'trash'),
    ('Trashes', 'trashes'),
    ('TrashInfo', 'trash_info'),
    ('TrashInfos', 'trash_infos'),
]
SERVICES = [
    ('MoveToGrab', 'move_to_grab'),
    ('GrabSortedTrash', 'grab_sorted_trash'),
    ('SamProcess', 'sam_process'),
    ('TrashCloud', 'trash_cloud'),
    ('ArmRelease', 'arm_release'),
    ('ArmGrab', 'arm_grab'),
    ('ArmMoveJoints', 'arm_move_joints'),
    ('DetectTrash', 'detect_trash'),
    ('ElevatorButtonPose', 'elevator_button_pose'),
    ('ArmPushButton', 'arm_push_button'),
    ('GraspState', 'grasp_state'),
]
ACTIONS = [
    ('ArmTask', 'arm_task'),
    ('ArmTaskDecision', 'arm_task_decision'),
]


@dataclass(frozen=True)
class Structure:
    kind: str   # msg, srv or action
    stem: str   # of the interface
    name: str   # the class and C structure name, e.g. ArmTask_SendGoal_Request
    infix: str  # e.g. action__arm_task__send_goal__request

    @property
    def module(self):
        return f'{PACKAGE}.{self.kind}._{self.stem}'

    @property
    def full_class_name(self):
        return f'{self.module}.{self.name}'

    @property
    def c_name(self):
        return f'{PACKAGE}__{self.kind}__{self.name}'


@dataclass(frozen=True)
class Registration:
    """One registration of the extension modules: a structure's five capsules, or the single
    type-support capsule of a service or an action."""
    function: str
    attributes: tuple
    handle: str  # the dispatch library's handle function behind the type-support capsule


def _message_registration(structure):
    operations = ('create_ros_message', 'destroy_ros_message', 'convert_from_py', 'convert_to_py',
                  'type_support')
    return Registration(
        f'_register_msg_type__{structure.infix}',
        tuple(f'{operation}_msg__{structure.infix}' for operation in operations),
        f'rosidl_typesupport_c__get_message_type_support_handle__{structure.c_name}')


def _build():
    structures, registrations = [], []

    def add(structure):
        structures.append(structure)
        registrations.append(_message_registration(structure))

    def add_service(kind, stem, infix, c_name):
        registrations.append(Registration(
            f'_register_srv_type__{infix}', (f'type_support_srv__{infix}',),
            f'rosidl_typesupport_c__get_service_type_support_handle__{PACKAGE}__{kind}__{c_name}'))

    for name, stem in MESSAGES:
        add(Structure('msg', stem, name, f'msg__{stem}'))
    for name, stem in SERVICES:
        for role in ('Request', 'Response'):
            add(Structure('srv', stem, f'{name}_{role}', f'srv__{stem}__{role.lower()}'))
        add_service('srv', stem, f'srv__{stem}', name)
    for name, stem in ACTIONS:
        infix = f'action__{stem}'
        for role, role_infix in (('Goal', 'goal'), ('Result', 'result'), ('Feedback', 'feedback')):
            add(Structure('action', stem, f'{name}_{role}', f'{infix}__{role_infix}'))
        for service, service_infix in (('SendGoal', 'send_goal'), ('GetResult', 'get_result')):
            for role in ('Request', 'Response'):
                add(Structure('action', stem, f'{name}_{service}_{role}',
                              f'{infix}__{service_infix}__{role.lower()}'))
            add_service('action', stem, f'{infix}__{service_infix}', f'{name}_{service}')
        add(Structure('action', stem, f'{name}_FeedbackMessage', f'{infix}__feedback_message'))
        registrations.append(Registration(
            f'_register_action_type__{infix}', (f'type_support_action__{infix}',),
            f'rosidl_typesupport_c__get_action_type_support_handle__{PACKAGE}__action__{name}'))
    return structures, registrations


STRUCTURES, REGISTRATIONS = _build()
BY_NAME = {structure.name: structure for structure in STRUCTURES}


def conversion_functions():
    """The 88 functions the conversion library exports."""
    return {f'{PACKAGE}__{structure.infix}__convert_{direction}_py'
            for structure in STRUCTURES for direction in ('from', 'to')}

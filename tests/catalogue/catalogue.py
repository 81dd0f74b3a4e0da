"""The rows of interfaces.def, the catalogue the C++ tests include, read for the Python tests:
the package's structures, services and actions with their names, and the names the
deliverables export."""

import os
import re
from dataclasses import dataclass, field

PACKAGE = 'corvanthelis_interfaces'
KINDS = ('msg', 'srv', 'action')


@dataclass(frozen=True)
class Names:
    """What every structure, service and action row names."""
    package: str
    kind: str    # msg, srv or action
    name: str    # the class and C structure name, e.g. ArmTask_SendGoal_Request
    c_name: str
    cpp_name: str
    infix: str   # e.g. action__arm_task__send_goal__request

    @property
    def path(self):
        """Where the row's class is exported: its kind's module."""
        return f'{self.package}.{self.kind}.{self.name}'


@dataclass(frozen=True)
class Structure(Names):
    stem: str    # of the interface
    fields: tuple = field(default=(), compare=False)  # (name, type as the definition spells it)

    @property
    def module(self):
        return f'{self.package}.{self.kind}._{self.stem}'

    @property
    def full_class_name(self):
        return f'{self.module}.{self.name}'


@dataclass(frozen=True)
class Service(Names):
    request: str
    response: str


@dataclass(frozen=True)
class Action(Names):
    send_goal: str
    get_result: str
    feedback_message: str


@dataclass(frozen=True)
class Registration:
    """One registration of the extension modules: a structure's five capsules, or the single
    type-support capsule of a service or an action."""
    function: str
    attributes: tuple
    handle: str  # the dispatch library's handle function behind the type-support capsule


_ROW = re.compile(r'^(CATALOGUE_\w+)\(', re.MULTILINE)


def _arguments(text, start):
    """The arguments of the row whose '(' is at text[start - 1], and where the row ends."""
    arguments, current, depth, at = [], '', 0, start
    while True:
        char = text[at]
        if char == '"':
            end = text.index('"', at + 1)
            current += text[at:end + 1]
            at = end + 1
            continue
        if char == '(':
            depth += 1
        elif char == ')':
            if depth == 0:
                arguments.append(current)
                return [_value(argument) for argument in arguments], at + 1
            depth -= 1
        elif char == ',' and depth == 0:
            arguments.append(current)
            current = ''
            at += 1
            continue
        current += char
        at += 1


def _value(argument):
    argument = argument.strip()
    if argument.startswith('"'):
        return ''.join(re.findall(r'"([^"]*)"', argument))
    return argument


def _rows(path):
    with open(path, encoding='utf-8') as definition:
        text = re.sub(r'//[^\n]*', '', definition.read())
    at = 0
    while match := _ROW.search(text, at):
        arguments, at = _arguments(text, match.end())
        yield match[1][len('CATALOGUE_'):], arguments


def _read(path):
    interfaces, structures, dependencies, services, actions, patterns = [], [], [], [], [], []
    fields, stem = {}, None
    order = []  # the package's structures (by index), services and actions, in file order
    for row, arguments in _rows(path):
        if row in ('INTERFACE', 'DEPENDENCY_INTERFACE'):
            stem = arguments[3]  # of the structures that follow
            if row == 'INTERFACE':
                interfaces.append(tuple(arguments[1:3]))
        elif row in ('STRUCTURE', 'DEPENDENCY_STRUCTURE'):
            package, kind, name, _, c_name, cpp_name, infix = arguments[:7]
            target = structures if row == 'STRUCTURE' else dependencies
            if row == 'STRUCTURE':
                order.append(len(structures))
            target.append((package, kind, name, c_name, cpp_name, infix, stem))
        elif row in ('FIELD', 'DEPENDENCY_FIELD'):
            package, _, structure, name, type_ = arguments
            fields.setdefault((package, structure), []).append((name, type_))
        elif row == 'SERVICE':
            services.append(Service(*arguments))
            order.append(services[-1])
        elif row == 'ACTION':
            actions.append(Action(*arguments))
            order.append(actions[-1])
        elif row in ('EXPORT', 'HANDLE'):
            patterns.append((row == 'HANDLE', *arguments))
        else:
            raise ValueError(f'{path}: no rows called CATALOGUE_{row}')

    def made(rows):
        return [Structure(*row, fields=tuple(fields.get((row[0], row[2]), ()))) for row in rows]

    structures = made(structures)
    order = [structures[row] if isinstance(row, int) else row for row in order]
    return interfaces, structures, made(dependencies), services, actions, patterns, order


# INTERFACES: (kind, Name) of each of the package's interfaces, in the order it lists them.
INTERFACES, STRUCTURES, DEPENDENCY_STRUCTURES, SERVICES, ACTIONS, _PATTERNS, _FILE_ORDER = _read(
    os.path.join(os.path.dirname(os.path.abspath(__file__)), 'interfaces.def'))
BY_NAME = {structure.name: structure for structure in STRUCTURES}
STAND_INS = tuple(dict.fromkeys(structure.package for structure in DEPENDENCY_STRUCTURES))
PACKAGES = STAND_INS + (PACKAGE,)


def _values(row):
    return {'c': row.c_name, 'cpp': row.cpp_name, 'kind': row.kind, 'name': row.name,
            'infix': row.infix}


def _filled(pattern, values):
    for key, value in values.items():
        pattern = pattern.replace('{' + key + '}', value)
    if '{' in pattern:
        raise ValueError(f'a placeholder without a value in {pattern}')
    return pattern


def _over(row):
    return {Structure: 'structure', Service: 'service', Action: 'action'}[type(row)]


def names_of(deliverable, row, handles=False):
    """The names a deliverable exports for one structure, service or action, in catalogue
    order; with `handles`, only its handle."""
    return [_filled(pattern, _values(row)) for is_handle, name, over, pattern in _PATTERNS
            if name == deliverable and over == _over(row) and (is_handle or not handles)]


def _sequence_fields():
    for structure in STRUCTURES:
        for name, type_ in structure.fields:
            if type_.endswith('[]'):
                yield structure, name


def exports(deliverable):
    """Every name the deliverable exports."""
    names = [name for row in registration_order() for name in names_of(deliverable, row)]
    names += [_filled(pattern, {**_values(structure), 'field': name})
              for _, deliverable_name, over, pattern in _PATTERNS
              if deliverable_name == deliverable and over == 'sequence_field'
              for structure, name in _sequence_fields()]
    if len(set(names)) != len(names):
        raise ValueError(f'{deliverable} names one export twice')
    return set(names)


def registration_order():
    """The package's structures, services and actions as the extension modules register them:
    by kind, msg first, and in catalogue order within a kind."""
    rows = []
    for kind in KINDS:
        rows += [row for row in _FILE_ORDER if row.kind == kind]
    return rows


REGISTRATIONS = [
    Registration(names_of('python_module', row)[0], tuple(names_of('python_module_capsules', row)),
                 names_of('rosidl_typesupport_c', row, handles=True)[0])
    for row in registration_order()]


def conversion_functions():
    """The functions the conversion library exports."""
    return exports('rosidl_generator_py')

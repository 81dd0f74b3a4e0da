// The Python message classes of a package: one module per interface with a class per
// structure (and the service or action class that groups them), and a module per kind that
// exports them.

#include <algorithm>
#include <set>

#include "emit/py_messages.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"
#include "support/literals.hpp"

namespace idlc {
namespace {

using py_messages::FieldCode;
using py_messages::LocalNames;

// A class that a module imports from another module.
struct Import {
  std::string module;
  std::string name;
  std::string local;  // the name it is bound to
};

struct ModulePlan {
  LocalNames names;
  std::vector<Import> imports;
  bool uses_array = false;
};

bool is_action(const Interface& interface) { return interface.kind == InterfaceKind::Action; }

// The action protocol's classes from action_msgs that an action module refers to.
std::vector<naming::PyClass> protocol_classes(const Interface& interface) {
  if (!is_action(interface)) return {};
  return {naming::py_action_cancel_service(), naming::py_action_status_message()};
}

// Every class the module defines is known by its name; an imported class takes its short
// name unless that is already bound, in which case it takes its qualified alias.
ModulePlan plan_module(const Interface& interface) {
  ModulePlan plan;
  std::set<std::string> taken = {"array", "_runtime", "_definition"};
  for (const Structure* structure : interface.structures) {
    plan.names[structure] = structure->name;
    taken.insert(structure->name);
  }
  for (const Service& service : interface.services) taken.insert(service.name);
  taken.insert(interface.name);
  const auto bind = [&](const std::string& module, const std::string& name,
                        const std::string& alias) {
    const std::string local = taken.count(name) == 0 ? name : alias;
    taken.insert(local);
    plan.imports.push_back({module, name, local});
    return local;
  };
  for (const Structure* structure : interface.structures) {
    for (const Field& field : structure->fields) {
      const Type& type = field.type;
      if (type.element == ElementKind::Primitive && type.primitive != Primitive::Bool &&
          type.container != Container::Single) {
        plan.uses_array = true;
      }
      if (type.element != ElementKind::Nested || plan.names.count(type.nested) != 0) continue;
      plan.names[type.nested] = bind(naming::py_module(*type.nested->owner), type.nested->name,
                                     naming::py_import_alias(*type.nested));
    }
  }
  for (const naming::PyClass& cls : protocol_classes(interface)) {
    bind(cls.module, cls.name, cls.alias);
  }
  std::sort(plan.imports.begin(), plan.imports.end(), [](const Import& a, const Import& b) {
    return a.module != b.module ? a.module < b.module : a.name < b.name;
  });
  return plan;
}

void write_imports(CodeWriter& out, const ModulePlan& plan) {
  if (plan.uses_array) {
    out.line("import array");
    out.line();
  }
  out.line("import $runtime$ as _runtime", {{"runtime", naming::py_runtime_module()}});
  out.line("import $definition$ as _definition", {{"definition", naming::py_slot_types_module()}});
  for (const Import& import : plan.imports) {
    const std::string alias = import.local == import.name ? "" : " as " + import.local;
    out.line("from $module$ import $name$$alias$",
             {{"module", import.module}, {"name", import.name}, {"alias", alias}});
  }
}

// A class attribute and the extension module's attribute whose capsule it takes.
using Capsules = std::vector<std::pair<std::string, std::string>>;

Capsules message_capsules(const Structure& structure) {
  Capsules capsules;
  for (naming::PyEntryPoint entry_point : naming::py_message_entry_points()) {
    capsules.emplace_back(naming::py_entry_point_attribute(entry_point),
                          naming::py_message_capsule(entry_point, structure));
  }
  return capsules;
}

Capsules type_support_capsule(const std::string& capsule) {
  return {{naming::py_entry_point_attribute(naming::PyEntryPoint::TypeSupport), capsule}};
}

// The metaclass names what the runtime's metaclass needs to fetch the class's entry points.
void write_metaclass(CodeWriter& out, const std::string& class_name, const std::string& package,
                     const Capsules& capsules, const std::vector<std::string>& uses) {
  out.line();
  out.line();
  out.line("class $metaclass$(_runtime.TypeSupportMetaclass):",
           {{"metaclass", naming::py_metaclass(class_name)}});
  out.indent();
  out.line("_PACKAGE = '$package$'", {{"package", package}});
  out.line("_CAPSULES = (");
  for (const auto& [attribute, capsule] : capsules) {
    out.line("    ('$attribute$', '$capsule$'),", {{"attribute", attribute}, {"capsule", capsule}});
  }
  out.line(")");
  if (uses.size() == 1) {
    out.line("_USES = ($name$,)", {{"name", uses.front()}});
  } else if (!uses.empty()) {
    out.line("_USES = (");
    for (const std::string& used : uses) out.line("    $name$,", {{"name", used}});
    out.line(")");
  }
  out.dedent();
  out.line();
  out.line();
  out.line("class $name$(metaclass=$metaclass$):",
           {{"name", class_name}, {"metaclass", naming::py_metaclass(class_name)}});
}

std::string kind_word(InterfaceKind kind) {
  switch (kind) {
    case InterfaceKind::Message: return "Message";
    case InterfaceKind::Service: return "Service";
    case InterfaceKind::Action: return "Action";
  }
  return "";
}

// "Message pkg/msg/Trash." for the interface's own class, "Trash_Goal of pkg/action/Trash."
// for the others.
void write_docstring(CodeWriter& out, const std::string& class_name, const Interface& interface) {
  const std::string path = naming::definition_path(interface);
  if (class_name == interface.name) {
    out.line("\"\"\"$word$ $path$.\"\"\"",
             {{"word", kind_word(interface.kind)}, {"path", path}});
  } else {
    out.line("\"\"\"$name$ of $path$.\"\"\"", {{"name", class_name}, {"path", path}});
  }
  out.line();
}

// Writes `head` + `expression` + `tail` as one line at `indent` columns when it fits the
// width the rest of the module has, else with the expression's arguments on a continuation
// line.
void write_wrapped(CodeWriter& out, std::size_t indent, const std::string& head,
                   const std::string& expression, const std::string& tail = "") {
  constexpr std::size_t width = 99;
  const auto open = expression.find('(');
  if (indent + head.size() + expression.size() + tail.size() <= width ||
      open == std::string::npos) {
    out.line("$head$$expression$$tail$",
             {{"head", head}, {"expression", expression}, {"tail", tail}});
  } else {
    out.line("$head$$call$", {{"head", head}, {"call", expression.substr(0, open + 1)}});
    out.line("    $arguments$$tail$", {{"arguments", expression.substr(open + 1)}, {"tail", tail}});
  }
}

using Fields = std::vector<std::pair<const Field*, FieldCode>>;

// The field's check of `value` and its store into the slot, at `indent` columns: what its
// setter does, and the constructor for a keyword argument. A value that obviously passes the
// check skips the call of its rule.
void write_check_and_store(CodeWriter& out, const Field& field, const FieldCode& code,
                           std::size_t indent) {
  const std::string slot = naming::py_slot(field);
  if (code.suspect.empty()) {
    write_wrapped(out, indent, "self." + slot + " = ", code.checked);
    return;
  }
  out.line("if $suspect$:", {{"suspect", code.suspect}});
  out.indent();
  write_wrapped(out, indent + 4, "value = ", code.checked);
  out.dedent();
  out.line("self.$slot$ = value", {{"slot", slot}});
}

void write_property(CodeWriter& out, const Field& field, const FieldCode& code) {
  const std::string slot = naming::py_slot(field);
  out.line();
  out.line("@property");
  out.line("def $name$(self):", {{"name", field.name}});
  out.indent();
  if (code.made_on_first_read) {
    out.line("try:");
    out.line("    return self.$slot$", {{"slot", slot}});
    out.line("except AttributeError:");
    out.indent();
    write_wrapped(out, 12, "self." + field.name + " = ", code.default_value);
    out.line("return self.$slot$", {{"slot", slot}});
    out.dedent();
  } else {
    out.line("return self.$slot$", {{"slot", slot}});
  }
  out.dedent();
  out.line();
  out.line("@$name$.setter", {{"name", field.name}});
  out.line("def $name$(self, value):", {{"name", field.name}});
  out.indent();
  write_check_and_store(out, field, code, 8);
  out.dedent();
}

void write_tables(CodeWriter& out, const Fields& fields) {
  if (fields.empty()) {
    out.lines(R"(__slots__ = ()

_fields_and_field_types = {}

SLOT_TYPES = ()
)");
    return;
  }
  out.line("__slots__ = (");
  for (const auto& [field, code] : fields) {
    out.line("    '$slot$',", {{"slot", naming::py_slot(*field)}});
  }
  out.line(")");
  out.line();
  out.line("_fields_and_field_types = {");
  for (const auto& [field, code] : fields) {
    out.line("    '$name$': '$type$',",
             {{"name", field->name}, {"type", naming::py_field_type(field->type)}});
  }
  out.line("}");
  out.line();
  out.line("SLOT_TYPES = (");
  out.indent();
  for (const auto& [field, code] : fields) write_wrapped(out, 8, "", code.slot_type, ",");
  out.dedent();
  out.line(")");
}

// The constructor stores the defaults that are cheap to make and leaves nested messages and
// lists to their first read, so that a class called without arguments, as a conversion from C
// calls it, builds nothing that the conversion would replace. Keyword arguments are checked in
// line rather than through the setters: a call per field would cost more than the whole
// object. `self` is positional-only, so that a field may be called `self` too.
void write_construction(CodeWriter& out, const Fields& fields) {
  out.line();
  out.line("def __init__(self, /, **kwargs):");
  out.indent();
  for (const auto& [field, code] : fields) {
    if (code.made_on_first_read) continue;
    write_wrapped(out, 8, "self." + naming::py_slot(*field) + " = ", code.default_value);
  }
  if (!fields.empty()) {
    out.line("if not kwargs:");
    out.line("    return");
  }
  for (const auto& [field, code] : fields) {
    out.line("if '$name$' in kwargs:", {{"name", field->name}});
    out.indent();
    out.line("value = kwargs.pop('$name$')", {{"name", field->name}});
    write_check_and_store(out, *field, code, 12);
    out.dedent();
  }
  out.line("if kwargs:");
  out.line("    _runtime.unexpected_keywords(self, kwargs)");
  out.dedent();
}

void write_message_body(CodeWriter& out, const Structure& structure, const ModulePlan& plan) {
  // The placeholder member exists only in C; the Python class has no fields then.
  Fields fields;
  if (!structure.has_placeholder) {
    for (const Field& field : structure.fields) {
      fields.emplace_back(&field, py_messages::field_code(field, plan.names));
    }
  }
  for (const Constant& constant : structure.constants) {
    out.line("$name$ = $value$", {{"name", constant.name}, {"value", py_literal(constant.value)}});
  }
  if (!structure.constants.empty()) out.line();
  write_tables(out, fields);
  write_construction(out, fields);
  out.lines(R"(
def __repr__(self):
    return _runtime.message_repr(self)

def __eq__(self, other):
    return _runtime.message_eq(self, other)

@classmethod
def get_fields_and_field_types(cls):
    return dict(cls._fields_and_field_types)
)");
  for (const auto& [field, code] : fields) write_property(out, *field, code);
}

void write_message(CodeWriter& out, const Structure& structure, const ModulePlan& plan) {
  std::vector<std::string> uses;
  for (const Field& field : structure.fields) {
    if (field.type.element != ElementKind::Nested) continue;
    const std::string& local = plan.names.at(field.type.nested);
    if (std::find(uses.begin(), uses.end(), local) == uses.end()) uses.push_back(local);
  }
  write_metaclass(out, structure.name, structure.package, message_capsules(structure), uses);
  out.indent();
  write_docstring(out, structure.name, *structure.owner);
  write_message_body(out, structure, plan);
  out.dedent();
}

void write_not_a_message(CodeWriter& out) {
  out.line();
  out.line("def __init__(self):");
  out.line("    _runtime.not_a_message(type(self))");
}

void write_service(CodeWriter& out, const Interface& interface, const Service& service) {
  write_metaclass(out, service.name, interface.package,
                  type_support_capsule(naming::py_service_capsule(interface, service)),
                  {service.request->name, service.response->name});
  out.indent();
  write_docstring(out, service.name, interface);
  out.line("Request = $name$", {{"name", service.request->name}});
  out.line("Response = $name$", {{"name", service.response->name}});
  write_not_a_message(out);
  out.dedent();
}

void write_action(CodeWriter& out, const Interface& action, const ModulePlan& plan) {
  const Structure& goal = action.structure(Role::Goal);
  const Structure& result = action.structure(Role::Result);
  const Structure& feedback = action.structure(Role::Feedback);
  const Structure& feedback_message = action.structure(Role::FeedbackMessage);
  const Service& send_goal = action.service(ServiceRole::SendGoal);
  const Service& get_result = action.service(ServiceRole::GetResult);
  const std::vector<naming::PyClass> protocol = protocol_classes(action);
  const auto local = [&](const naming::PyClass& cls) {
    for (const Import& import : plan.imports) {
      if (import.module == cls.module && import.name == cls.name) return import.local;
    }
    return cls.name;
  };
  const std::string cancel = local(protocol.at(0));
  const std::string status = local(protocol.at(1));
  write_metaclass(out, action.name, action.package,
                  type_support_capsule(naming::py_action_capsule(action)),
                  {goal.name, result.name, feedback.name, send_goal.name, get_result.name,
                   feedback_message.name, cancel, status});
  out.indent();
  write_docstring(out, action.name, action);
  out.line("Goal = $name$", {{"name", goal.name}});
  out.line("Result = $name$", {{"name", result.name}});
  out.line("Feedback = $name$", {{"name", feedback.name}});
  out.line();
  out.line("class Impl:");
  out.line("    SendGoalService = $name$", {{"name", send_goal.name}});
  out.line("    GetResultService = $name$", {{"name", get_result.name}});
  out.line("    FeedbackMessage = $name$", {{"name", feedback_message.name}});
  out.line("    CancelGoalService = $name$", {{"name", cancel}});
  out.line("    GoalStatusMessage = $name$", {{"name", status}});
  write_not_a_message(out);
  out.dedent();
}

GeneratedFile interface_module(const Interface& interface) {
  const ModulePlan plan = plan_module(interface);
  CodeWriter out(4);
  out.append(banner(interface, "#"));
  out.line();
  write_imports(out, plan);
  for (const Structure* structure : interface.structures) write_message(out, *structure, plan);
  for (const Service& service : interface.services) write_service(out, interface, service);
  if (is_action(interface)) write_action(out, interface, plan);
  return {naming::py_module_file(interface), out.text()};
}

// The classes a module exports: its structures, its services and the interface's own class.
std::vector<std::string> exported_classes(const Interface& interface) {
  std::vector<std::string> classes;
  if (interface.kind != InterfaceKind::Message) classes.push_back(interface.name);
  for (const Structure* structure : interface.structures) classes.push_back(structure->name);
  for (const Service& service : interface.services) {
    if (service.name != interface.name) classes.push_back(service.name);
  }
  return classes;
}

GeneratedFile kind_init(const Package& package, InterfaceKind kind) {
  CodeWriter out(4);
  out.append(package_banner(package, "#"));
  std::vector<std::string> all;
  out.line();
  for (const Interface* interface : package.interfaces) {
    if (interface->kind != kind) continue;
    for (const std::string& cls : exported_classes(*interface)) {
      out.line("from $module$ import $name$",
               {{"module", naming::py_module(*interface)}, {"name", cls}});
      all.push_back(cls);
    }
  }
  std::sort(all.begin(), all.end());
  out.line();
  out.line("__all__ = [");
  for (const std::string& cls : all) out.line("    '$name$',", {{"name", cls}});
  out.line("]");
  return {naming::py_kind_init(package.name, kind), out.text()};
}

}  // namespace

FileSet emit_python(const Package& package) {
  FileSet files;
  CodeWriter package_init(4);
  package_init.append(package_banner(package, "#"));
  files.push_back({naming::py_package_init(package.name), package_init.text()});
  for (const InterfaceKind kind :
       {InterfaceKind::Message, InterfaceKind::Service, InterfaceKind::Action}) {
    const bool present = std::any_of(package.interfaces.begin(), package.interfaces.end(),
                                     [&](const Interface* i) { return i->kind == kind; });
    if (present) files.push_back(kind_init(package, kind));
  }
  for (const Interface* interface : package.interfaces) {
    files.push_back(interface_module(*interface));
  }
  return files;
}

}  // namespace idlc

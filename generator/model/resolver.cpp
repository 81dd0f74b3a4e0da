#include "model/resolver.hpp"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "model/parser.hpp"
#include "model/values.hpp"

namespace idlc {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPlaceholder = "structure_needs_at_least_one_member";

struct MessageKey {
  std::string package;
  std::string name;
  bool operator<(const MessageKey& other) const {
    return package != other.package ? package < other.package : name < other.name;
  }
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CompileError(SourceLocation{path, 1}, "expected a readable definition file");
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

InterfaceKind kind_of_file(const std::string& path) {
  const std::string extension = fs::path(path).extension().string();
  if (extension == ".msg") return InterfaceKind::Message;
  if (extension == ".srv") return InterfaceKind::Service;
  if (extension == ".action") return InterfaceKind::Action;
  throw CompileError(SourceLocation{path, 0},
                     "expected a .msg, .srv or .action file, found '" + extension + "'");
}


class Resolver {
 public:
  Resolver(Model& model, const PackageSources& sources) : model_(model), sources_(sources) {
    for (const std::string& file : sources.files) {
      if (kind_of_file(file) == InterfaceKind::Message) {
        own_messages_[fs::path(file).stem().string()] = file;
      }
    }
  }

  const Package& run() {
    Package& package = package_named(sources_.package);
    std::set<std::string> seen;
    for (const std::string& file : sources_.files) {
      const std::string name = fs::path(file).stem().string();
      if (!seen.insert(name).second) {
        throw CompileError(SourceLocation{file, 1},
                           "expected one definition per interface name, found " + name + " twice");
      }
      const Interface* interface = kind_of_file(file) == InterfaceKind::Message
                                       ? resolve_message({sources_.package, name}, nullptr)->owner
                                       : load_interface(sources_.package, file);
      package.interfaces.push_back(interface);
    }
    return package;
  }

 private:
  Package& package_named(const std::string& name) {
    for (auto& package : model_.packages) {
      if (package.name == name) return package;
    }
    model_.packages.push_back(Package{name, {}});
    return model_.packages.back();
  }

  std::string message_file(const MessageKey& key, const SourceLocation* from) {
    if (key.package == sources_.package) {
      const auto own = own_messages_.find(key.name);
      if (own != own_messages_.end()) return own->second;
    } else {
      const auto root = sources_.search_path.find(key.package);
      if (root == sources_.search_path.end()) {
        throw CompileError(from ? *from : SourceLocation{},
                           "expected a type of a known package, found package '" + key.package +
                               "' (not among the dependencies)");
      }
      const fs::path file = fs::path(root->second) / "msg" / (key.name + ".msg");
      if (fs::exists(file)) return file.string();
    }
    throw CompileError(from ? *from : SourceLocation{},
                       "expected a known message type, found '" + key.package + "/" + key.name +
                           "'");
  }

  // Resolves a message by name, loading its file on first use. `from` is the field that
  // named it, for errors (null for the package's own files).
  const Structure* resolve_message(const MessageKey& key, const SourceLocation* from) {
    const auto done = resolved_.find(key);
    if (done != resolved_.end()) return done->second;
    if (in_progress_.count(key) != 0) {
      throw CompileError(*from, "expected a type that does not contain itself, found a cycle "
                                "through " + key.package + "/" + key.name);
    }
    in_progress_.insert(key);
    const std::string file = message_file(key, from);
    const Interface* interface = load_interface(key.package, file);
    in_progress_.erase(key);
    resolved_[key] = interface->structures.front();
    if (key.package != sources_.package) package_named(key.package).interfaces.push_back(interface);
    return interface->structures.front();
  }

  const Interface* load_interface(const std::string& package, const std::string& file) {
    const InterfaceKind kind = kind_of_file(file);
    const std::string name = fs::path(file).stem().string();
    if (name.empty() || !std::isupper(static_cast<unsigned char>(name[0])) ||
        name.find('_') != std::string::npos) {
      throw CompileError(SourceLocation{file, 1},
                         "expected an interface name in CamelCase, found '" + name + "'");
    }
    const RawDefinition definition = parse_definition(package, kind, name, file, read_file(file));

    model_.interfaces.push_back(Interface{package, kind, name, file, {}, {}});
    Interface& interface = model_.interfaces.back();
    switch (kind) {
      case InterfaceKind::Message:
        add_structure(interface, Role::Message, definition.sections[0]);
        break;
      case InterfaceKind::Service: {
        const Structure* request = add_structure(interface, Role::Request, definition.sections[0]);
        const Structure* response = add_structure(interface, Role::Response, definition.sections[1]);
        add_service(interface, ServiceRole::Service, request, response);
        break;
      }
      case InterfaceKind::Action:
        add_action(interface, definition);
        break;
    }
    return &interface;
  }

  // The goal, result and feedback carry the definition's fields; the five wrappers have the
  // fixed shape of the action protocol.
  void add_action(Interface& interface, const RawDefinition& definition) {
    const SourceLocation top{definition.file, 1};
    const Structure* goal = add_structure(interface, Role::Goal, definition.sections[0]);
    const Structure* result = add_structure(interface, Role::Result, definition.sections[1]);
    const Structure* feedback = add_structure(interface, Role::Feedback, definition.sections[2]);
    const Type uuid = nested_type(resolve_message({"unique_identifier_msgs", "UUID"}, &top));
    const Type time = nested_type(resolve_message({"builtin_interfaces", "Time"}, &top));
    const Type boolean = primitive_type(Primitive::Bool);
    const Type int8 = primitive_type(Primitive::Int8);

    const Structure* send_request = add_wrapper(
        interface, Role::SendGoalRequest, {{"goal_id", uuid}, {"goal", nested_type(goal)}}, top);
    const Structure* send_response = add_wrapper(
        interface, Role::SendGoalResponse, {{"accepted", boolean}, {"stamp", time}}, top);
    const Structure* result_request =
        add_wrapper(interface, Role::GetResultRequest, {{"goal_id", uuid}}, top);
    const Structure* result_response = add_wrapper(
        interface, Role::GetResultResponse, {{"status", int8}, {"result", nested_type(result)}},
        top);
    add_wrapper(interface, Role::FeedbackMessage,
                {{"goal_id", uuid}, {"feedback", nested_type(feedback)}}, top);
    add_service(interface, ServiceRole::SendGoal, send_request, send_response);
    add_service(interface, ServiceRole::GetResult, result_request, result_response);
  }

  static void add_service(Interface& interface, ServiceRole role, const Structure* request,
                          const Structure* response) {
    interface.services.push_back(
        Service{role_name(interface.name, role_words(role)), role, request, response});
  }

  static Type nested_type(const Structure* structure) {
    Type type;
    type.element = ElementKind::Nested;
    type.nested = structure;
    return type;
  }

  static Type primitive_type(Primitive primitive) {
    Type type;
    type.primitive = primitive;
    return type;
  }

  Structure& new_structure(Interface& interface, Role role, const SourceLocation& where) {
    model_.structures.push_back(Structure{});
    Structure& structure = model_.structures.back();
    structure.package = interface.package;
    structure.kind = interface.kind;
    structure.name = role_name(interface.name, role_words(role));
    structure.role = role;
    structure.owner = &interface;
    structure.where = where;
    interface.structures.push_back(&structure);
    return structure;
  }

  const Structure* add_wrapper(Interface& interface, Role role,
                               const std::vector<std::pair<std::string, Type>>& fields,
                               const SourceLocation& where) {
    Structure& structure = new_structure(interface, role, where);
    for (const auto& [field_name, type] : fields) {
      structure.fields.push_back(Field{field_name, type, std::nullopt, where});
    }
    return &structure;
  }

  const Structure* add_structure(Interface& interface, Role role, const RawSection& section) {
    Structure& structure = new_structure(interface, role, section.where);
    std::set<std::string> names;
    for (const RawConstant& raw : section.constants) {
      if (!names.insert(raw.name).second) {
        throw CompileError(raw.where, "expected a new constant name, found " + raw.name +
                                          " a second time");
      }
      structure.constants.push_back(resolve_constant(raw));
    }
    for (const RawField& raw : section.fields) {
      if (!names.insert(raw.name).second) {
        throw CompileError(raw.where, "expected a new field name, found " + raw.name +
                                          " a second time");
      }
      Field field{raw.name, resolve_type(raw.type, interface.package, raw.where), std::nullopt,
                  raw.where};
      if (raw.default_text) field.default_value = parse_default(field.type, *raw.default_text, raw.where);
      structure.fields.push_back(std::move(field));
    }
    if (structure.fields.empty()) {
      structure.fields.push_back(
          Field{kPlaceholder, primitive_type(Primitive::Uint8), std::nullopt, section.where});
      structure.has_placeholder = true;
    }
    return &structure;
  }

  Constant resolve_constant(const RawConstant& raw) {
    if (raw.type.container != Container::Single) {
      throw CompileError(raw.where, "expected a constant of a primitive or string type, found an "
                                    "array type for " + raw.name);
    }
    Constant constant;
    constant.name = raw.name;
    constant.where = raw.where;
    if (raw.type.package.empty() && raw.type.name == "string") {
      constant.is_string = true;
      constant.value = parse_string_value(raw.value_text, raw.type.string_bound, raw.where);
      return constant;
    }
    const auto primitive = primitive_by_name(raw.type.name);
    if (!raw.type.package.empty() || !primitive) {
      throw CompileError(raw.where, "expected a primitive or string type for constant " +
                                        raw.name + ", found '" + raw.type.name + "'");
    }
    constant.primitive = *primitive;
    constant.value = parse_primitive_value(*primitive, raw.value_text, raw.where);
    return constant;
  }

  Type resolve_type(const RawType& raw, const std::string& package, const SourceLocation& where) {
    Type type;
    type.container = raw.container;
    type.size = raw.size;
    if (raw.package.empty()) {
      if (raw.name == "string") {
        type.element = ElementKind::String;
        type.string_bound = raw.string_bound;
        return type;
      }
      if (const auto primitive = primitive_by_name(raw.name)) {
        type.primitive = *primitive;
        return type;
      }
      if (raw.name == "wstring") {
        throw CompileError(where, "expected a supported type, found 'wstring' (wide strings are "
                                  "not supported)");
      }
    }
    if (!std::isupper(static_cast<unsigned char>(raw.name[0]))) {
      throw CompileError(where, "expected a primitive type, string or a message type, found '" +
                                    raw.name + "'");
    }
    type.element = ElementKind::Nested;
    type.nested = resolve_message({raw.package.empty() ? package : raw.package, raw.name}, &where);
    return type;
  }

  Model& model_;
  const PackageSources& sources_;
  std::map<std::string, std::string> own_messages_;
  std::map<MessageKey, const Structure*> resolved_;
  std::set<MessageKey> in_progress_;
};

}  // namespace

const Package& load_package(Model& model, const PackageSources& sources) {
  return Resolver(model, sources).run();
}

}  // namespace idlc

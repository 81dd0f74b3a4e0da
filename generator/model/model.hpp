#pragma once

// The resolved model: plain data that every emitter reads and none re-parses. Nested types
// are pointers into the model, also across packages; the Model owns every structure.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "model/diagnostic.hpp"
#include "model/primitives.hpp"

namespace idlc {

struct Structure;

enum class InterfaceKind { Message, Service, Action };

// What a structure is to its interface: a message is its interface; a service has a request
// and a response; an action has its goal, result and feedback and the five structures of the
// action protocol.
enum class Role {
  Message,
  Request,
  Response,
  Goal,
  Result,
  Feedback,
  SendGoalRequest,
  SendGoalResponse,
  GetResultRequest,
  GetResultResponse,
  FeedbackMessage,
};
// A service of an interface: the service itself, or one of an action's two.
enum class ServiceRole { Service, SendGoal, GetResult };

// The words a role adds to its interface's name, in order: SendGoalRequest adds "SendGoal" and
// "Request" (ArmTask_SendGoal_Request); a message and a service add none.
const std::vector<std::string>& role_words(Role role);
const std::vector<std::string>& role_words(ServiceRole role);
// "ArmTask" and its words joined with '_'.
std::string role_name(const std::string& interface_name, const std::vector<std::string>& words);

enum class ElementKind { Primitive, String, Nested };
enum class Container { Single, FixedArray, BoundedSequence, UnboundedSequence };

// The closed set of field shapes. Every emitter switches over it exactly once per concern.
enum class FieldKind {
  Primitive,
  String,
  Nested,
  PrimitiveArray,
  StringArray,
  NestedArray,
  PrimitiveSequence,
  StringSequence,
  NestedSequence,
};

struct Type {
  ElementKind element = ElementKind::Primitive;
  Primitive primitive = Primitive::Uint8;  // when element is Primitive
  std::size_t string_bound = 0;            // 0: unbounded; only for strings
  const Structure* nested = nullptr;       // when element is Nested
  Container container = Container::Single;
  std::size_t size = 0;  // N of T[N], or the bound of T[<=N]

  bool is_sequence() const {
    return container == Container::BoundedSequence || container == Container::UnboundedSequence;
  }
  FieldKind kind() const;
};

// A default or constant value, already checked against its type.
struct Scalar {
  std::variant<bool, std::int64_t, std::uint64_t, double, std::string> value;
};
struct Value {
  std::vector<Scalar> items;  // one item for a single value, N for an array default
  bool is_array = false;
};

struct Field {
  std::string name;
  Type type;
  std::optional<Value> default_value;
  SourceLocation where;
};

struct Constant {
  std::string name;
  Primitive primitive = Primitive::Uint8;  // unless is_string
  bool is_string = false;
  Scalar value;
  SourceLocation where;
};

struct Interface;

// A message structure: a .msg, one side of a service, or one of an action's eight.
struct Structure {
  std::string package;
  InterfaceKind kind = InterfaceKind::Message;  // of the owning interface: msg, srv or action
  std::string name;                             // "Trash", "MoveToGrab_Request", "ArmTask_Goal"
  Role role = Role::Message;
  std::vector<Field> fields;                    // never empty: see the placeholder in the resolver
  std::vector<Constant> constants;
  bool has_placeholder = false;  // fields holds only structure_needs_at_least_one_member
  const Interface* owner = nullptr;
  SourceLocation where;
};

struct Service {
  std::string name;  // "MoveToGrab", "ArmTask_SendGoal"
  ServiceRole role = ServiceRole::Service;
  const Structure* request = nullptr;
  const Structure* response = nullptr;
};

struct Interface {
  std::string package;
  InterfaceKind kind = InterfaceKind::Message;
  std::string name;
  std::string source_file;
  std::vector<const Structure*> structures;  // in catalogue order
  std::vector<Service> services;             // a service: itself; an action: SendGoal, GetResult

  // The structure or service in that role; the resolver gives each interface all of its own.
  const Structure& structure(Role role) const;
  const Service& service(ServiceRole role) const;
};

struct Package {
  std::string name;
  std::vector<const Interface*> interfaces;  // in the order the definitions were given
};

// Owns every package that was loaded: the one being compiled and what it depends on.
struct Model {
  std::deque<Structure> structures;
  std::deque<Interface> interfaces;
  std::deque<Package> packages;

  const Package* find_package(const std::string& name) const;
  const Structure* find_structure(const std::string& package, const std::string& name) const;
};

// All structures of a package in catalogue order.
std::vector<const Structure*> structures_of(const Package& package);
// All services of a package (interface services and action services) in catalogue order.
std::vector<const Service*> services_of(const Package& package);
// The packages whose types the structures of `package` name directly.
std::vector<std::string> direct_dependencies(const Package& package);

}  // namespace idlc

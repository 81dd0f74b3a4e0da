#include "type_support.hpp"

#include <dlfcn.h>

#include <cctype>
#include <cstdlib>
#include <new>
#include <cstring>

#include "rcutils/error_handling.h"

namespace inspect {
namespace {

// The identifiers are compared by content in the runtime, so their text is all the tool needs;
// it links none of the providers.
constexpr const char* kDispatch = "rosidl_typesupport_c";
constexpr const char* kDispatchCpp = "rosidl_typesupport_cpp";
constexpr const char* kIntrospectionC = "rosidl_typesupport_introspection_c";
constexpr const char* kIntrospectionCpp = "rosidl_typesupport_introspection_cpp";
constexpr const char* kFastCdrC = "rosidl_typesupport_fastrtps_c";

bool is_identifier(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_') return false;
  }
  return true;
}

struct TypeName {
  std::string package;
  std::string kind;
  std::string type;
};

// Only plain names reach the loader: a '/' or '.' would make it open a path of the caller's
// choosing instead of searching the library path.
TypeName parse_type_name(const std::string& text) {
  const auto first = text.find('/');
  const auto second = first == std::string::npos ? first : text.find('/', first + 1);
  if (second == std::string::npos) {
    throw Failure("'" + text + "' is not a type name of the form <package>/<msg|srv|action>/<Type>");
  }
  TypeName name{text.substr(0, first), text.substr(first + 1, second - first - 1),
                text.substr(second + 1)};
  const bool known_kind = name.kind == "msg" || name.kind == "srv" || name.kind == "action";
  if (!is_identifier(name.package) || !known_kind || !is_identifier(name.type)) {
    throw Failure("'" + text + "' is not a type name of the form <package>/<msg|srv|action>/<Type>");
  }
  return name;
}

std::string take_rcutils_error() {
  std::string text = rcutils_error_is_set() ? rcutils_get_error_string().str : "no reason given";
  rcutils_reset_error();
  return text;
}

// A record must be what its identifier says and carry its table.
void check_record(const rosidl_message_type_support_t& record, const char* identifier) {
  if (record.typesupport_identifier == nullptr || std::strcmp(record.typesupport_identifier, identifier) != 0 ||
      record.data == nullptr) {
    throw Failure(std::string("the ") + identifier + " record is not what its identifier says");
  }
}

const rosidl_message_type_support_t& provider(const rosidl_message_type_support_t& dispatch,
                                              const char* identifier) {
  const rosidl_message_type_support_t* record = dispatch.func(&dispatch, identifier);
  if (record == nullptr) {
    throw Failure(std::string("no ") + identifier + " support: " + take_rcutils_error());
  }
  check_record(*record, identifier);
  return *record;
}

// The library stays loaded: the records it hands out live in it.
void* open_library(const TypeName& name, const std::string& support) {
  const std::string file = "lib" + name.package + "__" + support + ".so";
  return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

using Handle = const rosidl_message_type_support_t* (*)();

// The support's C-linkage message handle of the type; null when the library has none.
Handle handle_function(void* library, const TypeName& name, const std::string& support) {
  const std::string symbol = support + "__get_message_type_support_handle__" + name.package + "__" +
                             name.kind + "__" + name.type;
  return reinterpret_cast<Handle>(dlsym(library, symbol.c_str()));
}

}  // namespace

namespace {
// The type's record from the package's dispatch library `dispatch`; null when the package has
// no such library.
const rosidl_message_type_support_t* record_of(const TypeName& name, const std::string& type_name,
                                               const char* dispatch) {
  void* library = open_library(name, dispatch);
  if (library == nullptr) return nullptr;
  const Handle handle = handle_function(library, name, dispatch);
  if (handle == nullptr) throw Failure("unknown type '" + type_name + "'");
  const rosidl_message_type_support_t* record = handle();
  if (record == nullptr || record->func == nullptr) {
    throw Failure(std::string("the ") + dispatch + " handle of '" + type_name + "' returned no usable record");
  }
  return record;
}
}  // namespace

const rosidl_message_type_support_t* dispatch_record(const std::string& type_name) {
  const TypeName name = parse_type_name(type_name);
  const rosidl_message_type_support_t* record = record_of(name, type_name, kDispatch);
  if (record == nullptr) {
    const char* reason = dlerror();
    throw Failure("unknown package '" + name.package + "': " + (reason ? reason : "no dispatch library"));
  }
  return record;
}

const rosidl_typesupport_introspection_cpp::MessageMembers* cpp_introspection(const std::string& type_name) {
  const rosidl_message_type_support_t* record = record_of(parse_type_name(type_name), type_name, kDispatchCpp);
  if (record == nullptr) return nullptr;
  return static_cast<const rosidl_typesupport_introspection_cpp::MessageMembers*>(
      provider(*record, kIntrospectionCpp).data);
}

const rosidl_typesupport_introspection_c__MessageMembers& introspection(
    const rosidl_message_type_support_t& dispatch) {
  return *static_cast<const rosidl_typesupport_introspection_c__MessageMembers*>(
      provider(dispatch, kIntrospectionC).data);
}

const message_type_support_callbacks_t& serialization(const rosidl_message_type_support_t& dispatch) {
  return *static_cast<const message_type_support_callbacks_t*>(provider(dispatch, kFastCdrC).data);
}

namespace {
template <typename Members, typename Member>
const Members& nested_table(const Member& member) {
  if (member.members_ == nullptr || member.members_->data == nullptr) {
    throw Failure(std::string("the table of member '") + member.name_ + "' is incomplete");
  }
  return *static_cast<const Members*>(member.members_->data);
}
}  // namespace

void* new_message(const rosidl_typesupport_introspection_c__MessageMembers& members) {
  void* message = std::calloc(1, members.size_of_);
  if (message == nullptr) throw std::bad_alloc();
  members.init_function(message, ROSIDL_RUNTIME_C_MSG_INIT_ALL);
  return message;
}

void delete_message(const rosidl_typesupport_introspection_c__MessageMembers& members, void* message) {
  members.fini_function(message);
  std::free(message);
}

const rosidl_typesupport_introspection_c__MessageMembers& nested_members(
    const rosidl_typesupport_introspection_c__MessageMember& member) {
  return nested_table<rosidl_typesupport_introspection_c__MessageMembers>(member);
}

const rosidl_typesupport_introspection_cpp::MessageMembers& nested_members(
    const rosidl_typesupport_introspection_cpp::MessageMember& member) {
  return nested_table<rosidl_typesupport_introspection_cpp::MessageMembers>(member);
}

}  // namespace inspect

#include "type_support.hpp"

#include <dlfcn.h>

#include <cctype>
#include <cstring>

#include "rcutils/error_handling.h"

namespace inspect {
namespace {

// The identifiers are compared by content in the runtime, so their text is all the tool needs;
// it links none of the providers.
constexpr const char* kIntrospectionC = "rosidl_typesupport_introspection_c";
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

const rosidl_message_type_support_t& provider(const rosidl_message_type_support_t& dispatch,
                                              const char* identifier) {
  const rosidl_message_type_support_t* record = dispatch.func(&dispatch, identifier);
  if (record == nullptr) {
    throw Failure(std::string("no ") + identifier + " support: " + take_rcutils_error());
  }
  if (record->typesupport_identifier == nullptr ||
      std::strcmp(record->typesupport_identifier, identifier) != 0 || record->data == nullptr) {
    throw Failure(std::string("the ") + identifier + " record is not what its identifier says");
  }
  return *record;
}

}  // namespace

const rosidl_message_type_support_t* dispatch_record(const std::string& type_name) {
  const TypeName name = parse_type_name(type_name);
  const std::string file = "lib" + name.package + "__rosidl_typesupport_c.so";
  // The library stays loaded: the records it hands out live in it.
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* reason = dlerror();
    throw Failure("unknown package '" + name.package + "': " + (reason ? reason : file));
  }
  const std::string symbol = "rosidl_typesupport_c__get_message_type_support_handle__" +
                             name.package + "__" + name.kind + "__" + name.type;
  void* handle = dlsym(library, symbol.c_str());
  if (handle == nullptr) throw Failure("unknown type '" + type_name + "'");
  using Handle = const rosidl_message_type_support_t* (*)();
  const rosidl_message_type_support_t* record = reinterpret_cast<Handle>(handle)();
  if (record == nullptr || record->func == nullptr) {
    throw Failure("the dispatch handle of '" + type_name + "' returned no usable record");
  }
  return record;
}

const rosidl_typesupport_introspection_c__MessageMembers& introspection(
    const rosidl_message_type_support_t& dispatch) {
  return *static_cast<const rosidl_typesupport_introspection_c__MessageMembers*>(
      provider(dispatch, kIntrospectionC).data);
}

const message_type_support_callbacks_t& serialization(const rosidl_message_type_support_t& dispatch) {
  return *static_cast<const message_type_support_callbacks_t*>(provider(dispatch, kFastCdrC).data);
}

const rosidl_typesupport_introspection_c__MessageMembers& nested_members(
    const rosidl_typesupport_introspection_c__MessageMember& member) {
  if (member.members_ == nullptr || member.members_->data == nullptr) {
    throw Failure(std::string("the table of member '") + member.name_ + "' is incomplete");
  }
  return *static_cast<const rosidl_typesupport_introspection_c__MessageMembers*>(member.members_->data);
}

}  // namespace inspect

#pragma once

// The C++ side of the catalogue: one row per message class and per service of the package,
// with the exported C++ functions behind untyped pointers, so that tests sweep every type in
// step with the C rows of catalogue.hpp.

#include <fastcdr/Cdr.h>
#include <rosidl_runtime_c/message_type_support_struct.h>
#include <rosidl_runtime_c/service_type_support_struct.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue.hpp"

namespace ser {

struct CppRow {
  const char* kind;
  const char* name;
  const char* cpp_name;
  MessageHandle handle;                // the template specialisation
  MessageHandle c_linkage_handle;      // the exported C-linkage twin
  MessageHandle introspection;         // C++ introspection, for random contents
  MessageHandle c_introspection;       // C introspection of the C structure, likewise
  size_t (*size)(const void*, size_t);
  size_t (*max)(bool&, bool&, size_t);
  bool (*serialize)(const void*, eprosima::fastcdr::Cdr&);
  bool (*deserialize)(eprosima::fastcdr::Cdr&, void*);
  void* (*create)();
  void (*destroy)(void*);
  bool (*equal)(const void*, const void*);

  const message_type_support_callbacks_t* callbacks() const {
    return static_cast<const message_type_support_callbacks_t*>(handle()->data);
  }
  std::string full_name() const { return std::string(kind) + "__" + name; }
  const TypeRow& c_row() const { return type(name); }
};

struct CppServiceRow {
  const char* kind;
  const char* name;
  const char* cpp_name;
  ServiceHandle handle;  // the template specialisation
  ServiceHandle c_linkage_handle;
  MessageHandle request;  // C-linkage message handles of the request and the response
  MessageHandle response;
};

const std::vector<CppRow>& cpp_types();
const std::vector<CppServiceRow>& cpp_services();
const CppRow& cpp_type(const std::string& name);

// A C++ object owned for the length of a scope.
struct CppObject {
  explicit CppObject(const CppRow& row) : row(row), msg(row.create()) {}
  ~CppObject() { row.destroy(msg); }
  CppObject(const CppObject&) = delete;
  CppObject& operator=(const CppObject&) = delete;
  const CppRow& row;
  void* msg;
};

// Serializes `msg` with the C++ callbacks after `lead` filler octets; returns the bytes of the
// message alone.
std::vector<uint8_t> cpp_write(const CppRow& row, const void* msg, size_t lead = 0);

}  // namespace ser

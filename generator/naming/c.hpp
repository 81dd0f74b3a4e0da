#pragma once

// The names of the C deliverables: structures and their functions, headers and source units,
// the C serialization's functions, the C introspection's helpers and records, and the files of
// the C dispatch.

#include <string>
#include <string_view>

#include "naming/core.hpp"

namespace idlc::naming {

// --- C structures -------------------------------------------------------------------------
std::string c_type(const Structure& structure);           // pkg__msg__Trash
std::string c_sequence_type(const Structure& structure);  // pkg__msg__Trash__Sequence
std::string c_function(const Structure& structure, std::string_view operation);
std::string c_sequence_function(const Structure& structure, std::string_view operation);
std::string c_constant(const Structure& structure, const Constant& constant);
std::string c_primitive_sequence_type(Primitive primitive);  // rosidl_runtime_c__int32__Sequence
std::string c_primitive_sequence_function(Primitive primitive, std::string_view operation);
std::string c_string_type();
std::string c_string_function(std::string_view operation);
std::string c_string_sequence_type();
std::string c_string_sequence_function(std::string_view operation);
// The functions of the record that holds a sequence field of this type (its element's kind
// decides: rosidl_runtime_c's primitive or string sequences, or the nested type's own).
std::string c_sequence_function_of(const Type& type, std::string_view operation);
std::string c_sequence_type_of(const Type& type);

// --- Files (relative to the package's generated root) --------------------------------------
// Include paths, as written in #include and relative to the C include root.
std::string c_struct_header(const Interface& interface);     // pkg/msg/detail/trash__struct.h
std::string c_functions_header(const Interface& interface);  // pkg/msg/detail/trash__functions.h
std::string c_umbrella_header(const Interface& interface);   // pkg/msg/trash.h
// The source unit of an interface's C functions, relative to the generated root.
std::string c_functions_source(const Interface& interface);

// --- C serialization (fast-CDR) -----------------------------------------------------------
std::string cdr_serialize_function(const Structure& structure);    // cdr_serialize_pkg__msg__T
std::string cdr_deserialize_function(const Structure& structure);  // cdr_deserialize_pkg__msg__T
std::string serialized_size_function(const Structure& structure);  // get_serialized_size_...
std::string max_serialized_size_function(const Structure& structure);  // max_serialized_size_...
std::string serialization_c_header(const Interface& interface);
std::string serialization_c_source(const Interface& interface);

// --- C introspection ----------------------------------------------------------------------
std::string c_namespace(const std::string& package, InterfaceKind kind);  // pkg__msg
// pkg/msg/detail/trash__rosidl_typesupport_introspection_c.h, relative to the root.
std::string introspection_c_header(const Interface& interface);
std::string introspection_c_source(const Interface& interface);  // relative to the generated root
// pkg__msg__Trash__rosidl_typesupport_introspection_c__Trash_init_function, and _fini_.
std::string introspection_c_init_function(const Structure& structure);
std::string introspection_c_fini_function(const Structure& structure);
// pkg__msg__Trashes__rosidl_typesupport_introspection_c__size_function__Trashes__trashes
std::string introspection_c_accessor(const Structure& structure, const Field& field,
                                     Accessor accessor);
// Static records of a structure or service; not exported.
std::string introspection_c_member_array(const Structure& structure);
std::string introspection_c_message_members(const Structure& structure);
std::string introspection_c_message_record(const Structure& structure);
std::string introspection_c_service_members(const Interface& interface, const Service& service);
std::string introspection_c_service_record(const Interface& interface, const Service& service);

// --- C type-support dispatch --------------------------------------------------------------
// pkg/msg/detail/trash__type_support.h, relative to the C structures' root: the declarations
// of the dispatch handles, which the umbrella header includes.
std::string dispatch_header(const Interface& interface);
std::string dispatch_source(const Interface& interface);  // relative to the generated root

}  // namespace idlc::naming

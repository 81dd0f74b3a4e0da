#pragma once

// Per-field code of the C++ serialization library: how each kind of member is written and
// read. Sizes and bounds follow the rules shared with the C library (cdr_rules.hpp); the
// function and record scaffolding lives in cpp_serialization.cpp.

#include <string>

#include "model/model.hpp"
#include "support/code_writer.hpp"

namespace idlc::serialization_cpp {

// Each writes the statements for one member of `ros_message`; `wire` aliases the namespace of
// the runtime's wire rules (generator/runtime/corvanthelis_idlc_runtime/fastcdr_cpp_wire.hpp).
void write_serialize_field(CodeWriter& out, const Field& field, const std::string& wire);
void write_deserialize_field(CodeWriter& out, const Field& field, const std::string& wire);

}  // namespace idlc::serialization_cpp

#pragma once

// Per-field code of the C serialization library: how each kind of field is written and read.
// Sizes and bounds follow the rules shared with the C++ library (cdr_rules.hpp); the record and
// function scaffolding lives in c_serialization.cpp.

#include "model/model.hpp"
#include "support/code_writer.hpp"

namespace idlc::serialization_c {

// Each writes the statements for one field; `wire` aliases the namespace of the
// runtime's wire rules (generator/runtime/corvanthelis_idlc_runtime/fastcdr_c_wire.hpp).
void write_serialize_field(CodeWriter& out, const Field& field, const std::string& wire);
void write_deserialize_field(CodeWriter& out, const Field& field, const std::string& wire);

}  // namespace idlc::serialization_c

#pragma once

// The handles of a C++ support in both of their forms, which every C++ support declares and
// most define alike: the specialisations of the support's handle templates for the classes and
// service keys (and action keys, for the dispatch), and the C-linkage functions by which the
// runtime and generic clients find the same records by name.

#include <string>

#include "model/model.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc::cpp_handles {

enum class Actions { Without, With };

// Declares every handle of the interface's structures and services, exported with `macro`:
// the template specialisations inside the support's namespace, then the C-linkage functions.
void declare(CodeWriter& out, naming::Deliverable support, const std::string& macro,
             const Interface& interface, Actions actions = Actions::Without);

// Defines one template specialisation, `specialization` returning `answer`, a pointer to a
// `record_type`; inside the support's namespace.
void define_template(CodeWriter& out, const std::string& record_type,
                     const std::string& specialization, const std::string& answer);

// Defines the C-linkage functions, each returning what its template specialisation returns.
void define_c_linkage(CodeWriter& out, naming::Deliverable support, const Interface& interface,
                      Actions actions = Actions::Without);

}  // namespace idlc::cpp_handles

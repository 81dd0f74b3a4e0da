#pragma once

// What the C and the C++ dispatch write alike for each structure and service: the map from
// every provider's identifier to the name of the handle by which the runtime finds the
// provider's record, and the dispatch record that carries the map. The two differ only in the
// language they are written in, the providers they name and the identifier they stamp.

#include <string>

#include "model/model.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc::dispatch {

// The map and the record of a structure, or of a service, of the C or the C++ dispatch.
void write_message_record(CodeWriter& out, naming::Deliverable dispatch, const Package& package,
                          const Structure& structure);
void write_service_record(CodeWriter& out, naming::Deliverable dispatch, const Package& package,
                          const Interface& interface, const Service& service);

}  // namespace idlc::dispatch

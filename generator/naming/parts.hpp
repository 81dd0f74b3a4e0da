#pragma once

// Pieces of names that several languages' names are made of; private to the naming module.

#include <string>
#include <string_view>
#include <vector>

#include "naming/core.hpp"

namespace idlc::naming::parts {

std::string interface_prefix(const std::string& package, InterfaceKind kind);  // pkg__msg
// {"SendGoal", "Request"} -> "__send_goal__request": each word of a role as its own stem.
std::string role_infix(const std::vector<std::string>& words);
std::string upper(std::string text);
// A header in an interface's detail/ folder, relative to its root: pkg/msg/detail/trash<suffix>.
std::string detail_header(const std::string& package, InterfaceKind kind, const std::string& name,
                          std::string_view suffix);
std::string detail_header(const Interface& interface, std::string_view suffix);
// An interface's umbrella header: pkg/msg/trash<suffix>.
std::string umbrella_header(const Interface& interface, std::string_view suffix);
// A deliverable's file for an interface, relative to the generated root:
// <root>/pkg/msg/<prefix>trash<suffix>, where <prefix> is e.g. "detail/", "_" or "".
std::string source_unit(Deliverable deliverable, const Interface& interface,
                        std::string_view prefix, std::string_view suffix);
// "size_function__Trashes__trashes": the part of an accessor's name both introspections share.
std::string accessor_function(const Structure& structure, const Field& field, Accessor accessor);

}  // namespace idlc::naming::parts

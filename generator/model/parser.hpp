#pragma once

// Turns the text of one .msg/.srv/.action file into its syntax: sections of fields and
// constants with their raw type and value text. Nothing is looked up here; the resolver
// gives meaning to names and values.

#include <optional>
#include <string>
#include <vector>

#include "model/diagnostic.hpp"
#include "model/model.hpp"

namespace idlc {

struct RawType {
  std::string package;  // empty when the definition names no package
  std::string name;     // a primitive, "string", or a message type name
  std::size_t string_bound = 0;
  Container container = Container::Single;
  std::size_t size = 0;
};

struct RawField {
  RawType type;
  std::string name;
  std::optional<std::string> default_text;
  SourceLocation where;
};

struct RawConstant {
  RawType type;
  std::string name;
  std::string value_text;
  SourceLocation where;
};

struct RawSection {
  std::vector<RawField> fields;
  std::vector<RawConstant> constants;
  SourceLocation where;  // where the section starts
};

struct RawDefinition {
  std::string package;
  InterfaceKind kind = InterfaceKind::Message;
  std::string name;
  std::string file;
  std::vector<RawSection> sections;  // 1 for msg, 2 for srv, 3 for action
};

// `file` names the source in error messages; `text` is its content.
RawDefinition parse_definition(const std::string& package, InterfaceKind kind,
                               const std::string& name, const std::string& file,
                               const std::string& text);

// Parses "int32", "string<=5", "geometry_msgs/Pose[]", "Trash[<=3]", "uint8[16]".
RawType parse_type(const std::string& text, const SourceLocation& where);

}  // namespace idlc

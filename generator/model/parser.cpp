#include "model/parser.hpp"

#include <cctype>
#include <sstream>

#include "model/reserved_words.hpp"
#include "model/text.hpp"

namespace idlc {
namespace {

std::size_t expected_sections(InterfaceKind kind) {
  switch (kind) {
    case InterfaceKind::Message: return 1;
    case InterfaceKind::Service: return 2;
    case InterfaceKind::Action: return 3;
  }
  return 1;
}

const char* section_names(InterfaceKind kind) {
  switch (kind) {
    case InterfaceKind::Message: return "a message";
    case InterfaceKind::Service: return "a request and a response";
    case InterfaceKind::Action: return "a goal, a result and a feedback";
  }
  return "";
}

// A '#' starts a comment unless it stands inside a quoted default value.
std::string strip_comment(const std::string& line) {
  char quote = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote != 0) {
      if (c == '\\') {
        ++i;
      } else if (c == quote) {
        quote = 0;
      }
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '#') {
      return line.substr(0, i);
    }
  }
  return line;
}

std::size_t parse_bound(const std::string& text, const std::string& what,
                        const SourceLocation& where) {
  if (text.empty() || text.size() > 9 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    throw CompileError(where, "expected a positive whole number as " + what + ", found '" +
                                  text + "'");
  }
  const std::size_t value = std::stoul(text);
  if (value == 0) {
    throw CompileError(where, "expected a positive whole number as " + what + ", found '0'");
  }
  return value;
}

void check_field_name(const std::string& name, const SourceLocation& where) {
  const bool well_formed = !name.empty() && std::islower(static_cast<unsigned char>(name[0])) &&
                           name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") ==
                               std::string::npos &&
                           name.find("__") == std::string::npos && name.back() != '_';
  if (!well_formed) {
    throw CompileError(where, "expected a field name in lower case with single underscores, "
                              "found '" + name + "'");
  }
  if (is_reserved_word(name)) {
    throw CompileError(where, "expected a field name that is no keyword of C, C++ or Python, "
                              "found '" + name + "'");
  }
}

bool is_constant_name(const std::string& name) {
  return !name.empty() && std::isupper(static_cast<unsigned char>(name[0])) &&
         name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") == std::string::npos;
}

void check_constant_name(const std::string& name, const SourceLocation& where) {
  if (!is_constant_name(name)) {
    throw CompileError(where, "expected a constant name in upper case, found '" + name + "'");
  }
}

}  // namespace

RawType parse_type(const std::string& text, const SourceLocation& where) {
  RawType type;
  std::string base = text;
  const auto open = text.find('[');
  if (open != std::string::npos) {
    if (text.back() != ']') {
      throw CompileError(where, "expected ']' at the end of the array type, found '" + text + "'");
    }
    const std::string inside = text.substr(open + 1, text.size() - open - 2);
    base = text.substr(0, open);
    if (inside.empty()) {
      type.container = Container::UnboundedSequence;
    } else if (starts_with(inside, "<=")) {
      type.container = Container::BoundedSequence;
      type.size = parse_bound(inside.substr(2), "sequence bound", where);
    } else {
      type.container = Container::FixedArray;
      type.size = parse_bound(inside, "array size", where);
    }
  }
  if (starts_with(base, "string<=")) {
    type.name = "string";
    type.string_bound = parse_bound(base.substr(8), "string bound", where);
    return type;
  }
  const auto slash = base.find('/');
  if (slash != std::string::npos) {
    type.package = base.substr(0, slash);
    base = base.substr(slash + 1);
    if (!is_identifier(type.package)) {
      throw CompileError(where, "expected a package name before '/', found '" + type.package + "'");
    }
  }
  if (!is_identifier(base)) {
    throw CompileError(where, "expected a type, found '" + text + "'");
  }
  type.name = base;
  return type;
}

RawDefinition parse_definition(const std::string& package, InterfaceKind kind,
                               const std::string& name, const std::string& file,
                               const std::string& text) {
  RawDefinition definition{package, kind, name, file, {}};
  definition.sections.push_back(RawSection{{}, {}, SourceLocation{file, 1}});
  const std::size_t wanted = expected_sections(kind);

  std::istringstream lines(text);
  std::string raw_line;
  int number = 0;
  while (std::getline(lines, raw_line)) {
    ++number;
    const SourceLocation where{file, number};
    const std::string line = trim(strip_comment(raw_line));
    if (line.empty()) continue;
    if (line == "---") {
      if (definition.sections.size() == wanted) {
        throw CompileError(where, std::string("expected ") + std::to_string(wanted - 1) +
                                      " '---' separator(s) in " + section_names(kind) +
                                      " definition, found one more");
      }
      definition.sections.push_back(RawSection{{}, {}, where});
      continue;
    }

    const auto type_end = line.find_first_of(" \t");
    if (type_end == std::string::npos) {
      throw CompileError(where, "expected a type and a name, found '" + line + "'");
    }
    const RawType type = parse_type(line.substr(0, type_end), where);
    const std::string rest = trim(line.substr(type_end));
    RawSection& section = definition.sections.back();

    const auto name_end = rest.find_first_of(" \t=");
    const std::string member = rest.substr(0, name_end);
    const std::string after = name_end == std::string::npos ? "" : trim(rest.substr(name_end));
    if (!after.empty() && after[0] == '=') {
      check_constant_name(member, where);
      const std::string value = trim(after.substr(1));
      if (value.empty()) {
        throw CompileError(where, "expected a value after '=' of constant " + member +
                                      ", found the end of the line");
      }
      section.constants.push_back(RawConstant{type, member, value, where});
      continue;
    }
    // Only an all-capitals name reads as a constant missing its value; "Foo" is a bad field name.
    if (is_constant_name(member)) {
      throw CompileError(where, "expected '=' and a value for constant " + member +
                                    ", found " + (after.empty() ? "nothing" : "'" + after + "'"));
    }
    check_field_name(member, where);
    std::optional<std::string> default_text;
    if (!after.empty()) default_text = after;
    section.fields.push_back(RawField{type, member, default_text, where});
  }

  if (definition.sections.size() != wanted) {
    throw CompileError(SourceLocation{file, number == 0 ? 1 : number},
                       std::string("expected ") + std::to_string(wanted - 1) +
                           " '---' separator(s) in " + section_names(kind) +
                           " definition, found " +
                           std::to_string(definition.sections.size() - 1));
  }
  return definition;
}

}  // namespace idlc

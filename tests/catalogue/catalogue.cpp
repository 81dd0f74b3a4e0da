#include "catalogue/catalogue.hpp"

#include <stdexcept>
#include <utility>

namespace catalogue {
namespace {

struct FieldRow {
  const char* package;
  const char* structure;
  const char* name;
  const char* type;
};

struct Pattern {
  const char* deliverable;
  const char* over;
  const char* text;
  bool is_handle;
};

struct Rows {
  std::vector<Structure> own;
  std::vector<Structure> dependencies;
  std::vector<Service> services;
  std::vector<Action> actions;
  std::vector<Pattern> patterns;
};

Field field_of(const FieldRow& row) {
  const std::string type = row.type;
  const std::size_t bracket = type.find('[');
  return {row.name, type.substr(0, bracket),
          bracket != std::string::npos && type.substr(bracket) == "[]", nullptr};
}

template <typename Structures>
auto find(Structures& structures, const std::string& package, const std::string& name)
    -> decltype(&structures[0]) {
  for (auto& structure : structures) {
    if (package == structure.package && name == structure.name) return &structure;
  }
  return nullptr;
}

// Links every nested field to its structure; a type the catalogue does not hold is a mistake
// in the catalogue, not in the deliverables.
void add_fields(std::vector<Structure>& structures, const std::vector<FieldRow>& rows,
                const Rows& all) {
  for (const FieldRow& row : rows) {
    Structure* owner = find(structures, row.package, row.structure);
    if (owner == nullptr)
      throw std::logic_error(std::string("a field of no structure: ") + row.structure);
    Field field = field_of(row);
    const std::size_t slash = field.element.find('/');
    if (slash != std::string::npos) {
      const std::string package = field.element.substr(0, slash),
                        name = field.element.substr(slash + 1);
      field.nested = find(all.own, package, name);
      if (field.nested == nullptr) field.nested = find(all.dependencies, package, name);
      if (field.nested == nullptr) throw std::logic_error("no structure " + field.element);
    }
    owner->fields.push_back(std::move(field));
  }
}

const Rows& rows() {
  static const Rows all = [] {
    Rows rows;
    std::vector<FieldRow> own_fields, dependency_fields;
#define CATALOGUE_STRUCTURE(package, kind, Name, role, c_name, cpp_name, infix, max_at_0, wire) \
  rows.own.push_back({{#package, #kind, #Name, #c_name, #cpp_name, #infix}, {}});
#define CATALOGUE_DEPENDENCY_STRUCTURE(package, kind, Name, role, c_name, cpp_name, infix) \
  rows.dependencies.push_back({{#package, #kind, #Name, #c_name, #cpp_name, #infix}, {}});
#define CATALOGUE_FIELD(package, kind, Structure, field, type) \
  own_fields.push_back({#package, #Structure, #field, #type});
#define CATALOGUE_DEPENDENCY_FIELD(package, kind, Structure, field, type) \
  dependency_fields.push_back({#package, #Structure, #field, #type});
#define CATALOGUE_SERVICE(package, kind, Name, c_name, cpp_name, infix, Request, Response) \
  rows.services.push_back(                                                                 \
      {{#package, #kind, #Name, #c_name, #cpp_name, #infix}, #Request, #Response});
#define CATALOGUE_ACTION(package, kind, Name, c_name, cpp_name, infix, SendGoal, GetResult, \
                         FeedbackMessage)                                                   \
  rows.actions.push_back({{#package, #kind, #Name, #c_name, #cpp_name, #infix},             \
                          #SendGoal,                                                        \
                          #GetResult,                                                       \
                          #FeedbackMessage});
#define CATALOGUE_EXPORT(deliverable, over, pattern) \
  rows.patterns.push_back({#deliverable, #over, pattern, false});
#define CATALOGUE_HANDLE(deliverable, over, pattern) \
  rows.patterns.push_back({#deliverable, #over, pattern, true});
#include "catalogue/interfaces.def"
    // Both lists are complete before any field looks a nested type up in them.
    add_fields(rows.dependencies, dependency_fields, rows);
    add_fields(rows.own, own_fields, rows);
    return rows;
  }();
  return all;
}

// A pattern's placeholders and their values: "c", "cpp", "kind", "name", "infix", "field".
using Values = std::vector<std::pair<std::string, std::string>>;

std::string filled(std::string text, const Values& values) {
  for (const auto& [key, value] : values) {
    const std::string placeholder = "{" + key + "}";
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at)) {
      text.replace(at, placeholder.size(), value);
      at += value.size();
    }
  }
  if (text.find('{') != std::string::npos)
    throw std::logic_error("a placeholder without a value in " + text);
  return text;
}

Values values_of(const Names& row) {
  return {{"c", row.c_name},
          {"cpp", row.cpp_name},
          {"kind", row.kind},
          {"name", row.name},
          {"infix", row.python_infix}};
}

// Every row a pattern applies to, as its placeholder values.
std::vector<Values> rows_over(const std::string& over) {
  std::vector<Values> all;
  if (over == "structure") {
    for (const Structure& s : structures()) all.push_back(values_of(s));
  } else if (over == "service") {
    for (const Service& s : services()) all.push_back(values_of(s));
  } else if (over == "action") {
    for (const Action& a : actions()) all.push_back(values_of(a));
  } else if (over == "sequence_field") {
    for (const Structure& s : structures()) {
      for (const Field& field : s.fields) {
        if (!field.is_sequence) continue;
        Values values = values_of(s);
        values.emplace_back("field", field.name);
        all.push_back(std::move(values));
      }
    }
  } else {
    throw std::logic_error("no rows called " + over);
  }
  return all;
}

std::string handle_of(const std::string& deliverable, const std::string& over,
                      const Values& values) {
  for (const Pattern& pattern : rows().patterns) {
    if (pattern.is_handle && deliverable == pattern.deliverable && over == pattern.over) {
      return filled(pattern.text, values);
    }
  }
  throw std::logic_error(deliverable + " has no " + over + " handle");
}

template <typename Rows>
const auto& named(const Rows& rows, const std::string& name) {
  for (const auto& row : rows) {
    if (name == row.name) return row;
  }
  throw std::invalid_argument("no row " + name);
}

}  // namespace

const std::vector<Structure>& structures() { return rows().own; }
const std::vector<Service>& services() { return rows().services; }
const std::vector<Action>& actions() { return rows().actions; }

const Structure& structure(const std::string& name) { return named(structures(), name); }

const Service& service(const std::string& name) { return named(services(), name); }
const Action& action(const std::string& name) { return named(actions(), name); }

std::set<std::string> exports(const std::string& deliverable) {
  std::set<std::string> names;
  std::size_t count = 0;
  for (const Pattern& pattern : rows().patterns) {
    if (deliverable != pattern.deliverable) continue;
    for (const Values& values : rows_over(pattern.over)) {
      names.insert(filled(pattern.text, values));
      ++count;
    }
  }
  // Two rows that gave one name would hide a missing export.
  if (names.size() != count) throw std::logic_error(deliverable + " names one export twice");
  if (names.empty()) throw std::logic_error("no exports of " + deliverable);
  return names;
}

std::string handle(const std::string& deliverable, const Structure& s) {
  return handle_of(deliverable, "structure", values_of(s));
}
std::string handle(const std::string& deliverable, const Service& s) {
  return handle_of(deliverable, "service", values_of(s));
}
std::string handle(const std::string& deliverable, const Action& a) {
  return handle_of(deliverable, "action", values_of(a));
}

std::size_t sequence_fields() { return rows_over("sequence_field").size(); }

}  // namespace catalogue

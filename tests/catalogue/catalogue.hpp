#pragma once

// The rows of interfaces.def as data, for tests that walk every structure, service or action
// at run time; tests that need the types themselves expand the rows as X-macros instead.

#include <cstddef>
#include <set>
#include <string>
#include <vector>

namespace catalogue {

struct Structure;

struct Field {
  const char* name;
  std::string element;      // the type as the definition spells it, less any brackets
  bool is_sequence;         // T[] (the package has no bounded sequences)
  const Structure* nested;  // the element's structure, for a nested type
};

// What every structure, service and action row names.
struct Names {
  const char* package;
  const char* kind;
  const char* name;
  const char* c_name;
  const char* cpp_name;
  const char* python_infix;
};

// Tests that need a structure's role or wire size read them from the rows as X-macros.
struct Structure : Names {
  std::vector<Field> fields;
};

struct Service : Names {
  const char* request;
  const char* response;
};

struct Action : Names {
  const char* send_goal;  // the services and the message the action's protocol adds
  const char* get_result;
  const char* feedback_message;
};

// The package's own rows, in the catalogue's order.
const std::vector<Structure>& structures();
const std::vector<Service>& services();
const std::vector<Action>& actions();

// The package's structure, service or action of this name; throws for another name.
const Structure& structure(const std::string& name);
const Service& service(const std::string& name);
const Action& action(const std::string& name);

// Every name a deliverable ("rosidl_typesupport_c", ...) exports, and the handle of one row.
std::set<std::string> exports(const std::string& deliverable);
std::string handle(const std::string& deliverable, const Structure& structure);
std::string handle(const std::string& deliverable, const Service& service);
std::string handle(const std::string& deliverable, const Action& action);

// The number of the package's sequence fields.
std::size_t sequence_fields();

}  // namespace catalogue

#include "emit/dispatch_records.hpp"

#include <utility>
#include <vector>

namespace idlc::dispatch {
namespace {

using naming::Deliverable;

// How the two languages spell what differs between them.
struct Spelling {
  bool is_c;
  const char* null;  // NULL or nullptr
  // The record's identifier as initialised: C cannot read the runtime's variable in a static
  // initialiser and stamps its records from a load-time constructor; C++ reads the variable
  // when the library is loaded.
  std::string identifier;
};

Spelling spelling_of(Deliverable dispatch) {
  if (std::string(naming::deliverable(dispatch).language) == "c") return {true, "NULL", "NULL"};
  return {false, "nullptr", naming::identifier_variable(dispatch)};
}

// One member of an aggregate initialiser: C names it, C++17 cannot and says it in a comment.
void write_member(CodeWriter& out, const Spelling& spelling, const std::string& member,
                  const std::string& value, const std::string& note = "") {
  const Bindings names = {{"member", member}, {"value", value}};
  if (spelling.is_c) {
    out.line(note.empty() ? ".$member$ = $value$," : ".$member$ = $value$,  // " + note, names);
  } else {
    out.line("$value$,  // $member$", names);
  }
}

// A message's or a service's map and the record pointing to it.
struct Dispatched {
  std::string c_name;                // names the map's parts
  std::vector<std::string> symbols;  // the providers' handle names, in map order
  std::string record;
  const char* record_type;  // rosidl_message_type_support_t or rosidl_service_type_support_t
  std::string lookup;       // the runtime's lookup function for that kind of record
};

void write_map(CodeWriter& out, Deliverable dispatch, const Spelling& spelling,
               const Package& package, const Dispatched& entry) {
  const std::vector<Deliverable> providers = naming::dispatch_providers(dispatch);
  const std::string count = std::to_string(providers.size());
  const std::string identifiers = naming::dispatch_map_part(dispatch, entry.c_name, "identifiers");
  const std::string names = naming::dispatch_map_part(dispatch, entry.c_name, "symbol_names");
  const std::string data = naming::dispatch_map_part(dispatch, entry.c_name, "data");
  {
    auto block = out.block("static const char * const $identifiers$[$count$] =",
                           {{"identifiers", identifiers}, {"count", count}}, ";");
    for (Deliverable provider : providers) {
      out.line("\"$identifier$\",", {{"identifier", naming::support_identifier(provider)}});
    }
  }
  out.line();
  {
    auto block = out.block("static const char * const $names$[$count$] =",
                           {{"names", names}, {"count", count}}, ";");
    for (const std::string& symbol : entry.symbols) out.line("\"$symbol$\",", {{"symbol", symbol}});
  }
  out.line();
  {
    auto block = out.block("static void * $data$[$count$] =", {{"data", data}, {"count", count}}, ";");
    out.line("// the runtime keeps here the provider libraries it has loaded");
    for (std::size_t i = 0; i < providers.size(); ++i) out.line("$null$,", {{"null", spelling.null}});
  }
  out.line();
  auto block = out.block("static const type_support_map_t $map$ =",
                         {{"map", naming::dispatch_map_part(dispatch, entry.c_name, "map")}}, ";");
  write_member(out, spelling, "size", count);
  write_member(out, spelling, "package_name", "\"" + package.name + "\"");
  write_member(out, spelling, "typesupport_identifier", identifiers);
  write_member(out, spelling, "symbol_name", names);
  write_member(out, spelling, "data", data);
}

void write_dispatched(CodeWriter& out, Deliverable dispatch, const Package& package,
                      const Dispatched& entry) {
  const Spelling spelling = spelling_of(dispatch);
  write_map(out, dispatch, spelling, package, entry);
  out.line();
  {
    auto block = out.block("static $type$ $record$ =",
                           {{"type", entry.record_type}, {"record", entry.record}}, ";");
    write_member(out, spelling, "typesupport_identifier", spelling.identifier,
                 spelling.is_c ? "stamped at load" : "");
    write_member(out, spelling, "data", "&" + naming::dispatch_map_part(dispatch, entry.c_name, "map"));
    write_member(out, spelling, "func", entry.lookup);
  }
  out.line();
}

}  // namespace

void write_message_record(CodeWriter& out, Deliverable dispatch, const Package& package,
                          const Structure& structure) {
  Dispatched entry{naming::c_type(structure), {},
                   naming::dispatch_message_record(dispatch, structure),
                   "rosidl_message_type_support_t", naming::dispatch_message_lookup(dispatch)};
  for (Deliverable provider : naming::dispatch_providers(dispatch)) {
    entry.symbols.push_back(naming::message_handle(provider, structure));
  }
  write_dispatched(out, dispatch, package, entry);
}

void write_service_record(CodeWriter& out, Deliverable dispatch, const Package& package,
                          const Interface& interface, const Service& service) {
  Dispatched entry{naming::service_c_name(interface, service), {},
                   naming::dispatch_service_record(dispatch, interface, service),
                   "rosidl_service_type_support_t", naming::dispatch_service_lookup(dispatch)};
  for (Deliverable provider : naming::dispatch_providers(dispatch)) {
    entry.symbols.push_back(naming::service_handle(provider, interface, service));
  }
  write_dispatched(out, dispatch, package, entry);
}

}  // namespace idlc::dispatch

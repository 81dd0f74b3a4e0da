// The C type-support dispatch: per interface one source unit with, for each structure and
// service, a map from support identifier to the provider's handle name and the record that
// carries it, and for an action the record bundling its services and messages; plus a header
// declaring the handle functions.
//
// The unit is C11 like the other C deliverables. The records must carry the runtime's
// identifier variable itself, whose value C cannot use in a static initialiser, so each unit
// stamps its records from a load-time constructor: by the time the library's loader returns,
// every record is complete, as if it had been initialised statically.

#include <utility>

#include "emit/common.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc {
namespace {

using naming::Deliverable;

// The map of one structure or service: identifiers and handle names in the providers' order.
void write_map(CodeWriter& out, const Package& package, const std::string& c_name,
               const std::vector<std::string>& symbols) {
  const std::vector<Deliverable> providers = naming::dispatch_providers();
  const std::string count = std::to_string(providers.size());
  const std::string identifiers = naming::dispatch_map_part(c_name, "identifiers");
  const std::string names = naming::dispatch_map_part(c_name, "symbol_names");
  const std::string data = naming::dispatch_map_part(c_name, "data");
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
    for (const std::string& symbol : symbols) out.line("\"$symbol$\",", {{"symbol", symbol}});
  }
  out.line();
  {
    auto block = out.block("static void * $data$[$count$] =", {{"data", data}, {"count", count}}, ";");
    out.line("// the runtime keeps here the provider libraries it has loaded");
    for (std::size_t i = 0; i < providers.size(); ++i) out.line("NULL,");
  }
  out.line();
  auto block = out.block("static const type_support_map_t $map$ =",
                         {{"map", naming::dispatch_map_part(c_name, "map")}}, ";");
  out.line(".size = $count$,", {{"count", count}});
  out.line(".package_name = \"$package$\",", {{"package", package.name}});
  out.line(".typesupport_identifier = $identifiers$,", {{"identifiers", identifiers}});
  out.line(".symbol_name = $names$,", {{"names", names}});
  out.line(".data = $data$,", {{"data", data}});
}

// A message's or a service's map, its record pointing to the map, and the handle returning it.
struct Dispatched {
  std::string c_name;                // names the map's parts
  std::vector<std::string> symbols;  // the providers' handle names, in map order
  std::string record;
  std::string handle;
  const char* record_type;  // rosidl_message_type_support_t or rosidl_service_type_support_t
  const char* lookup;       // the runtime's lookup function for that kind of record
};

void write_dispatched(CodeWriter& out, const Package& package, const Dispatched& entry) {
  write_map(out, package, entry.c_name, entry.symbols);
  out.line();
  const Bindings record = {{"type", entry.record_type}, {"record", entry.record}};
  {
    auto block = out.block("static $type$ $record$ =", record, ";");
    out.line(".typesupport_identifier = NULL,  // stamped at load");
    out.line(".data = &$map$,", {{"map", naming::dispatch_map_part(entry.c_name, "map")}});
    out.line(".func = $lookup$,", {{"lookup", entry.lookup}});
  }
  out.line();
  {
    auto body = out.block("const $type$ *\n$handle$(void)",
                          {{"type", entry.record_type}, {"handle", entry.handle}});
    out.line("return &$record$;", {{"record", entry.record}});
  }
  out.line();
}

void write_message(CodeWriter& out, const Package& package, const Structure& structure) {
  Dispatched entry{naming::c_type(structure), {}, naming::dispatch_message_record(structure),
                   naming::message_handle(Deliverable::TypesupportDispatch, structure),
                   "rosidl_message_type_support_t",
                   "rosidl_typesupport_c__get_message_typesupport_handle_function"};
  for (Deliverable provider : naming::dispatch_providers()) {
    entry.symbols.push_back(naming::message_handle(provider, structure));
  }
  write_dispatched(out, package, entry);
}

void write_service(CodeWriter& out, const Package& package, const Interface& interface,
                   const Service& service) {
  Dispatched entry{naming::service_c_name(interface, service), {},
                   naming::dispatch_service_record(interface, service),
                   naming::service_handle(Deliverable::TypesupportDispatch, interface, service),
                   "rosidl_service_type_support_t",
                   "rosidl_typesupport_c__get_service_typesupport_handle_function"};
  for (Deliverable provider : naming::dispatch_providers()) {
    entry.symbols.push_back(naming::service_handle(provider, interface, service));
  }
  write_dispatched(out, package, entry);
}

void write_action(CodeWriter& out, const Interface& action) {
  const Structure& feedback = action.structure(Role::FeedbackMessage);
  const Service& send_goal = action.service(ServiceRole::SendGoal);
  const Service& get_result = action.service(ServiceRole::GetResult);
  const std::string record = naming::dispatch_action_record(action);
  out.line("// Provided by the dispatch library of action_msgs.");
  out.line("const rosidl_service_type_support_t * $cancel$(void);",
           {{"cancel", naming::action_cancel_service_handle(Deliverable::TypesupportDispatch)}});
  out.line("const rosidl_message_type_support_t * $status$(void);",
           {{"status", naming::action_status_message_handle(Deliverable::TypesupportDispatch)}});
  out.line();
  out.line("static rosidl_action_type_support_t $record$;  // filled by the handle function",
           {{"record", record}});
  out.line();
  auto body = out.block("const rosidl_action_type_support_t *\n$handle$(void)",
                        {{"handle", naming::action_handle(Deliverable::TypesupportDispatch, action)}});
  out.line("// Every call stores the same five pointers, so concurrent calls need no lock; the");
  out.line("// atomic stores keep them well defined.");
  const std::pair<const char*, std::string> parts[] = {
      {"goal_service_type_support", naming::service_handle(Deliverable::TypesupportDispatch, action, send_goal)},
      {"result_service_type_support", naming::service_handle(Deliverable::TypesupportDispatch, action, get_result)},
      {"cancel_service_type_support", naming::action_cancel_service_handle(Deliverable::TypesupportDispatch)},
      {"feedback_message_type_support", naming::message_handle(Deliverable::TypesupportDispatch, feedback)},
      {"status_message_type_support", naming::action_status_message_handle(Deliverable::TypesupportDispatch)},
  };
  for (const auto& [member, handle] : parts) {
    out.line("__atomic_store_n(&$record$.$member$, $handle$(), __ATOMIC_RELEASE);",
             {{"record", record}, {"member", member}, {"handle", handle}});
  }
  out.line("return &$record$;", {{"record", record}});
}

void write_stamping(CodeWriter& out, const Interface& interface) {
  out.line("// Runs when the library is loaded, before any handle can be called.");
  auto body = out.block("__attribute__((constructor))\nstatic void\nstamp_records(void)");
  const std::string identifier = naming::identifier_variable(Deliverable::TypesupportDispatch);
  for (const Structure* structure : interface.structures) {
    out.line("$record$.typesupport_identifier = $identifier$;",
             {{"record", naming::dispatch_message_record(*structure)}, {"identifier", identifier}});
  }
  for (const Service& service : interface.services) {
    out.line("$record$.typesupport_identifier = $identifier$;",
             {{"record", naming::dispatch_service_record(interface, service)},
              {"identifier", identifier}});
  }
}

GeneratedFile source(const Package& package, const Interface& interface) {
  const bool is_action = interface.kind == InterfaceKind::Action;
  CodeWriter out;
  out.append(banner(interface));
  out.line();
  out.line("#include \"$header$\"", {{"header", naming::dispatch_header(interface)}});
  out.line();
  out.line("#include <stddef.h>");
  out.line();
  out.line("#include \"rosidl_typesupport_c/identifier.h\"");
  out.line("#include \"rosidl_typesupport_c/message_type_support_dispatch.h\"");
  if (!interface.services.empty()) {
    out.line("#include \"rosidl_typesupport_c/service_type_support_dispatch.h\"");
  }
  out.line("#include \"rosidl_typesupport_c/type_support_map.h\"");
  out.line();
  for (const Structure* structure : interface.structures) write_message(out, package, *structure);
  for (const Service& service : interface.services) write_service(out, package, interface, service);
  if (is_action) {
    write_action(out, interface);
    out.line();
  }
  write_stamping(out, interface);
  return {naming::dispatch_source(interface), out.text()};
}

GeneratedFile header(const Interface& interface) {
  const std::string path = naming::dispatch_header(interface);
  const std::string macro = naming::visibility_macro(interface.package, naming::Deliverable::TypesupportDispatch);
  const bool is_action = interface.kind == InterfaceKind::Action;
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  out.line("#include \"rosidl_runtime_c/message_type_support_struct.h\"");
  if (!interface.services.empty()) out.line("#include \"rosidl_runtime_c/service_type_support_struct.h\"");
  if (is_action) out.line("#include \"rosidl_runtime_c/action_type_support_struct.h\"");
  out.line("#include \"$header$\"", {{"header", naming::visibility_header(interface.package, naming::Deliverable::TypesupportDispatch)}});
  out.line();
  common::open_c_linkage(out);
  for (const Structure* structure : interface.structures) {
    common::declare(out, macro,
            "const rosidl_message_type_support_t *\n" +
                naming::message_handle(Deliverable::TypesupportDispatch, *structure) + "(void)");
  }
  for (const Service& service : interface.services) {
    common::declare(out, macro,
            "const rosidl_service_type_support_t *\n" +
                naming::service_handle(Deliverable::TypesupportDispatch, interface, service) + "(void)");
  }
  if (is_action) {
    common::declare(out, macro,
            "const rosidl_action_type_support_t *\n" + naming::action_handle(Deliverable::TypesupportDispatch, interface) +
                "(void)");
  }
  common::close_c_linkage(out);
  common::close_header(out, path);
  return {naming::root(naming::Deliverable::TypesupportDispatch) + "/" + path, out.text()};
}

}  // namespace

FileSet emit_typesupport_dispatch(const Package& package) {
  FileSet files{common::visibility_header(package, naming::Deliverable::TypesupportDispatch)};
  for (const Interface* interface : package.interfaces) {
    files.push_back(header(*interface));
    files.push_back(source(package, *interface));
  }
  return files;
}

}  // namespace idlc

// The C type-support dispatch: per interface one source unit with, for each structure and
// service, a map from support identifier to the provider's handle name, the record that
// carries it and the handle that returns the record, and for an action the record bundling its
// services and messages. The handles are declared by the C structures' type-support header.
//
// The unit is C11 like the other C deliverables. The records must carry the runtime's
// identifier variable itself, whose value C cannot use in a static initialiser, so each unit
// stamps its records from a load-time constructor: by the time the library's loader returns,
// every record is complete, as if it had been initialised statically.

#include <utility>

#include "emit/common.hpp"
#include "emit/dispatch_records.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc {
namespace {

using naming::Deliverable;

constexpr Deliverable kDispatch = Deliverable::TypesupportDispatch;

void write_handle(CodeWriter& out, const char* record_type, const std::string& handle,
                  const std::string& record) {
  {
    auto body = out.block("const $type$ *\n$handle$(void)", {{"type", record_type}, {"handle", handle}});
    out.line("return &$record$;", {{"record", record}});
  }
  out.line();
}

void write_message(CodeWriter& out, const Package& package, const Structure& structure) {
  dispatch::write_message_record(out, kDispatch, package, structure);
  write_handle(out, "rosidl_message_type_support_t", naming::message_handle(kDispatch, structure),
               naming::dispatch_message_record(kDispatch, structure));
}

void write_service(CodeWriter& out, const Package& package, const Interface& interface,
                   const Service& service) {
  dispatch::write_service_record(out, kDispatch, package, interface, service);
  write_handle(out, "rosidl_service_type_support_t", naming::service_handle(kDispatch, interface, service),
               naming::dispatch_service_record(kDispatch, interface, service));
}

void write_action(CodeWriter& out, const Interface& action) {
  const Structure& feedback = action.structure(Role::FeedbackMessage);
  const Service& send_goal = action.service(ServiceRole::SendGoal);
  const Service& get_result = action.service(ServiceRole::GetResult);
  const std::string record = naming::dispatch_action_record(kDispatch, action);
  out.line("// Provided by the dispatch library of action_msgs.");
  out.line("const rosidl_service_type_support_t * $cancel$(void);",
           {{"cancel", naming::action_cancel_service_handle(kDispatch)}});
  out.line("const rosidl_message_type_support_t * $status$(void);",
           {{"status", naming::action_status_message_handle(kDispatch)}});
  out.line();
  out.line("static rosidl_action_type_support_t $record$;  // filled by the handle function",
           {{"record", record}});
  out.line();
  auto body = out.block("const rosidl_action_type_support_t *\n$handle$(void)",
                        {{"handle", naming::action_handle(kDispatch, action)}});
  out.line("// Every call stores the same five pointers, so concurrent calls need no lock; the");
  out.line("// atomic stores keep them well defined.");
  const std::pair<const char*, std::string> parts[] = {
      {"goal_service_type_support", naming::service_handle(kDispatch, action, send_goal)},
      {"result_service_type_support", naming::service_handle(kDispatch, action, get_result)},
      {"cancel_service_type_support", naming::action_cancel_service_handle(kDispatch)},
      {"feedback_message_type_support", naming::message_handle(kDispatch, feedback)},
      {"status_message_type_support", naming::action_status_message_handle(kDispatch)},
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
  const std::string identifier = naming::identifier_variable(kDispatch);
  for (const Structure* structure : interface.structures) {
    out.line("$record$.typesupport_identifier = $identifier$;",
             {{"record", naming::dispatch_message_record(kDispatch, *structure)}, {"identifier", identifier}});
  }
  for (const Service& service : interface.services) {
    out.line("$record$.typesupport_identifier = $identifier$;",
             {{"record", naming::dispatch_service_record(kDispatch, interface, service)},
              {"identifier", identifier}});
  }
}

GeneratedFile source(const Package& package, const Interface& interface) {
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
  if (interface.kind == InterfaceKind::Action) {
    write_action(out, interface);
    out.line();
  }
  write_stamping(out, interface);
  return {naming::dispatch_source(interface), out.text()};
}

}  // namespace

FileSet emit_typesupport_dispatch(const Package& package) {
  // Its handles are declared with the C structures' macro; its own stays for the clients that
  // include it.
  FileSet files{common::visibility_header(package, kDispatch)};
  for (const Interface* interface : package.interfaces) files.push_back(source(package, *interface));
  return files;
}

}  // namespace idlc

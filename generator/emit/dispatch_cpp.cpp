// The C++ type-support dispatch: per interface one source unit with, for each structure and
// service, the map from the C++ supports' identifiers to their providers' handle names and the
// record that carries it, the specialisations of the dispatch's handle templates that return
// the records, and their C-linkage twins; for an action, the record bundling its services and
// messages. The handles are declared by the C++ classes' type-support header.
//
// The records are static initialisers that read the runtime's identifier variable, so they are
// complete once the library is loaded.

#include "emit/common.hpp"
#include "emit/cpp_handles.hpp"
#include "emit/dispatch_records.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc {
namespace {

using naming::CppActionPart;
using naming::Deliverable;

constexpr Deliverable kDispatch = Deliverable::TypesupportDispatchCpp;

bool is_service(CppActionPart part) {
  return part == CppActionPart::SendGoalService || part == CppActionPart::GetResultService ||
         part == CppActionPart::CancelGoalService;
}

// The action's record holds what the dispatch handles of its Impl's five types return: this
// library's for its own, action_msgs' for the cancel service and the status message.
void write_action_template(CodeWriter& out, const Interface& action) {
  out.line("template<>");
  auto body = out.block("const rosidl_action_type_support_t *\n$specialization$()",
                        {{"specialization", naming::cpp_action_handle_specialization(action)}});
  out.line("// Filled by the first call; concurrent first calls wait for it.");
  {
    auto record = out.block("static const rosidl_action_type_support_t record =", {}, ";");
    for (CppActionPart part : naming::cpp_action_parts()) {
      out.line("$handle$<$type$>(),",
               {{"handle", is_service(part) ? "get_service_type_support_handle"
                                            : "get_message_type_support_handle"},
                {"type", naming::cpp_action_part(action, part)}});
    }
  }
  out.line("return &record;");
}

void write_templates(CodeWriter& out, const Interface& interface) {
  const std::string runtime = naming::support_identifier(kDispatch);
  common::open_namespace(out, runtime);
  for (const Structure* structure : interface.structures) {
    cpp_handles::define_template(out, "rosidl_message_type_support_t",
                                 naming::cpp_message_handle_specialization(*structure),
                                 "&" + naming::dispatch_message_record(kDispatch, *structure));
  }
  for (const Service& service : interface.services) {
    const std::string record = naming::dispatch_service_record(kDispatch, interface, service);
    cpp_handles::define_template(out, "rosidl_service_type_support_t",
                                 naming::cpp_service_handle_specialization(interface, service),
                                 "&" + record);
  }
  if (interface.kind == InterfaceKind::Action) {
    write_action_template(out, interface);
    out.line();
  }
  common::close_namespace(out, runtime);
}

GeneratedFile source(const Package& package, const Interface& interface) {
  CodeWriter out;
  out.append(banner(interface));
  out.line();
  out.line("#include \"$header$\"", {{"header", naming::cpp_type_support_header(interface)}});
  out.line();
  out.line("#include \"rosidl_typesupport_cpp/identifier.hpp\"");
  out.line("#include \"rosidl_typesupport_cpp/message_type_support_dispatch.hpp\"");
  if (!interface.services.empty()) {
    out.line("#include \"rosidl_typesupport_cpp/service_type_support_dispatch.hpp\"");
  }
  out.line("#include \"rosidl_typesupport_cpp/type_support_map.h\"");
  if (interface.kind == InterfaceKind::Action) {
    for (const naming::CppProtocolType& type :
         {naming::cpp_action_cancel_service(), naming::cpp_action_status_message()}) {
      out.line("#include \"$header$\"", {{"header", type.type_support_header}});
    }
  }
  out.line();
  for (const Structure* structure : interface.structures) {
    dispatch::write_message_record(out, kDispatch, package, *structure);
  }
  for (const Service& service : interface.services) {
    dispatch::write_service_record(out, kDispatch, package, interface, service);
  }
  write_templates(out, interface);
  cpp_handles::define_c_linkage(out, kDispatch, interface, cpp_handles::Actions::With);
  return {naming::dispatch_cpp_source(interface), out.text()};
}

}  // namespace

FileSet emit_typesupport_dispatch_cpp(const Package& package) {
  FileSet files;
  for (const Interface* interface : package.interfaces) files.push_back(source(package, *interface));
  return files;
}

}  // namespace idlc

#include "emit/cpp_handles.hpp"

#include <vector>

#include "emit/common.hpp"

namespace idlc::cpp_handles {
namespace {

using naming::Deliverable;

// One handle of one structure, service or action, in its two forms.
struct Handle {
  const char* record_type;
  std::string specialization;  // as declared inside the support's namespace
  std::string qualified;       // as called from anywhere
  std::string c_linkage;
};

std::vector<Handle> handles_of(Deliverable support, const Interface& interface, Actions actions) {
  std::vector<Handle> handles;
  for (const Structure* structure : interface.structures) {
    handles.push_back({"rosidl_message_type_support_t",
                       naming::cpp_message_handle_specialization(*structure),
                       naming::cpp_message_handle(support, *structure),
                       naming::message_handle(support, *structure)});
  }
  for (const Service& service : interface.services) {
    handles.push_back({"rosidl_service_type_support_t",
                       naming::cpp_service_handle_specialization(interface, service),
                       naming::cpp_service_handle(support, interface, service),
                       naming::service_handle(support, interface, service)});
  }
  if (actions == Actions::With && interface.kind == InterfaceKind::Action) {
    handles.push_back({"rosidl_action_type_support_t",
                       naming::cpp_action_handle_specialization(interface),
                       naming::cpp_action_handle(support, interface),
                       naming::action_handle(support, interface)});
  }
  return handles;
}

}  // namespace

void declare(CodeWriter& out, Deliverable support, const std::string& macro,
             const Interface& interface, Actions actions) {
  const std::vector<Handle> handles = handles_of(support, interface, actions);
  const std::string runtime = naming::support_identifier(support);
  common::open_namespace(out, runtime);
  for (const Handle& handle : handles) {
    out.line("template<>");
    common::declare(out, macro, "const " + std::string(handle.record_type) + " *\n" + handle.specialization + "()");
  }
  common::close_namespace(out, runtime);
  out.line("extern \"C\" {");
  out.line();
  for (const Handle& handle : handles) {
    common::declare(out, macro, "const " + std::string(handle.record_type) + " *\n" + handle.c_linkage + "()");
  }
  out.line("}  // extern \"C\"");
  out.line();
}

void define_template(CodeWriter& out, const std::string& record_type,
                     const std::string& specialization, const std::string& answer) {
  out.line("template<>");
  {
    auto body = out.block("const $type$ *\n$specialization$()",
                          {{"type", record_type}, {"specialization", specialization}});
    out.line("return $answer$;", {{"answer", answer}});
  }
  out.line();
}

void define_c_linkage(CodeWriter& out, Deliverable support, const Interface& interface, Actions actions) {
  out.line("extern \"C\" {");
  out.line();
  for (const Handle& handle : handles_of(support, interface, actions)) {
    {
      auto body = out.block("const $type$ *\n$handle$()",
                            {{"type", handle.record_type}, {"handle", handle.c_linkage}});
      out.line("return $template$();", {{"template", handle.qualified}});
    }
    out.line();
  }
  out.line("}  // extern \"C\"");
}

}  // namespace idlc::cpp_handles

#include "emit/cpp_builder.hpp"

#include <string>

#include "emit/common.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"

namespace idlc::cpp_builder {
namespace {

// The step that sets `field` and hands the message on to the step `next`, or yields it when
// `next` is empty. A step held in a variable may be used more than once: it then copies the
// message instead of moving it on.
void write_step(CodeWriter& out, const Structure& structure, const Field& field,
                const std::string& next) {
  const std::string step = naming::cpp_builder_step(structure, field);
  const std::string message = "::" + naming::cpp_qualified(structure);
  // Every field is set before the message leaves the last step; the first step gives each a
  // defined value all the same, since every step moves the whole message on.
  const std::string constructor =
      &field == &structure.fields.front()
          ? step + "() : msg_(::rosidl_runtime_cpp::MessageInitialization::ZERO) {}"
          : "explicit " + step + "(" + message + " && msg) : msg_(std::move(msg)) {}";
  out.lines(R"(class $step$ {
 public:
  $constructor$

  $next$ $field$($message$::$type$ arg) && {
    msg_.$field$ = std::move(arg);
    return $yield$;
  }

  $next$ $field$($message$::$type$ arg) const & {
    $message$ msg = msg_;
    msg.$field$ = std::move(arg);
    return $copy$;
  }

 private:
  $message$ msg_;
};
)",
            {{"step", step},
             {"constructor", constructor},
             {"message", message},
             {"field", field.name},
             {"type", naming::cpp_member_type(field)},
             {"next", next.empty() ? message : next},
             {"yield", next.empty() ? "std::move(msg_)" : next + "(std::move(msg_))"},
             {"copy", next.empty() ? "msg" : next + "(std::move(msg))"}});
}

void write_builders(CodeWriter& out, const Structure& structure) {
  // Each step names the next, so they are written from the last field back.
  for (std::size_t i = structure.fields.size(); i-- > 0;) {
    const std::string next =
        i + 1 < structure.fields.size() ? naming::cpp_builder_step(structure, structure.fields[i + 1]) : "";
    write_step(out, structure, structure.fields[i], next);
    out.line();
  }
}

void write_build(CodeWriter& out, const Structure& structure) {
  // A structure without fields has nothing to name: it is built whole.
  const std::string result =
      structure.has_placeholder
          ? "::" + naming::cpp_qualified(structure)
          : "::" + naming::cpp_builder_namespace(structure) + "::" +
                naming::cpp_builder_step(structure, structure.fields.front());
  out.line("template<>");
  auto body = out.block("inline auto $build$<::$message$>()",
                        {{"build", naming::cpp_build_function()}, {"message", naming::cpp_qualified(structure)}});
  out.line("return $result$();", {{"result", result}});
}

}  // namespace

GeneratedFile builder_header(const Interface& interface) {
  const std::string path = naming::cpp_builder_header(interface);
  const std::string builders = naming::cpp_builder_namespace(*interface.structures.front());
  CodeWriter out;
  common::open_header(out, banner(interface), path);
  out.line("#include <utility>");
  out.line();
  out.line("#include \"rosidl_runtime_cpp/message_initialization.hpp\"");
  out.line("#include \"$header$\"", {{"header", naming::cpp_struct_header(interface)}});
  out.line();
  common::open_namespace(out, builders);
  for (const Structure* structure : interface.structures) {
    if (!structure->has_placeholder) write_builders(out, *structure);
  }
  common::close_namespace(out, builders);
  common::open_namespace(out, interface.package);
  out.line("template<typename MessageType>");
  out.line("auto $build$();", {{"build", naming::cpp_build_function()}});
  out.line();
  for (const Structure* structure : interface.structures) {
    write_build(out, *structure);
    out.line();
  }
  common::close_namespace(out, interface.package);
  common::close_header(out, path);
  return {naming::root(naming::Deliverable::CppMessages) + "/" + path, out.text()};
}

}  // namespace idlc::cpp_builder

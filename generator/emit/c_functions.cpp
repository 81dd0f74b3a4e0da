// The C functions of a package: one source unit per interface with the lifecycle, equality
// and copy functions of its structures and their sequences.


#include "emit/common.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"
#include "support/code_writer.hpp"
#include "support/literals.hpp"

namespace idlc {
namespace {

// Operations on one element of a field (the field itself when it is not an array): call
// templates over $x$ (the element), $a$/$b$ (compared elements) and $in$/$out$ (copied ones).
struct ElementCalls {
  std::string init;   // "" when the element needs no set-up
  std::string fini;   // "" when nothing is released
  std::string equal;  // an expression that is true when $a$ and $b$ are equal
  std::string copy;   // a call returning false on failure; "" means plain assignment
};

ElementCalls element_calls(const Type& type) {
  switch (type.element) {
    case ElementKind::Primitive: return {"", "", "$a$ == $b$", ""};
    case ElementKind::String:
      return {naming::c_string_function("init") + "(&$x$)", naming::c_string_function("fini") + "(&$x$)",
              naming::c_string_function("are_equal") + "(&$a$, &$b$)",
              naming::c_string_function("copy") + "(&$in$, &$out$)"};
    case ElementKind::Nested: {
      const Structure& nested = *type.nested;
      return {naming::c_function(nested, "init") + "(&$x$)", naming::c_function(nested, "fini") + "(&$x$)",
              naming::c_function(nested, "are_equal") + "(&$a$, &$b$)",
              naming::c_function(nested, "copy") + "(&$in$, &$out$)"};
    }
  }
  return {};
}

// The sequence functions of a sequence field's record type, by operation.
std::string call(const std::string& pattern, const Bindings& bindings) {
  return substitute(pattern, bindings);
}

// The statements that assign a field's default, to the element by index for arrays and
// sequences. Strings are assigned through the runtime, which can fail.
struct DefaultAssignment {
  std::vector<Snippet> plain;     // assignments that cannot fail
  std::vector<Snippet> fallible;  // calls that return false on failure
};

DefaultAssignment default_assignment(const Field& field, const std::string& member) {
  DefaultAssignment result;
  if (!field.default_value) return result;
  const Type& type = field.type;
  const auto& items = field.default_value->items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    std::string element = member;
    if (type.container == Container::FixedArray) element += "[" + std::to_string(i) + "]";
    if (type.is_sequence()) element += ".data[" + std::to_string(i) + "]";
    const Bindings values = {{"element", element}, {"value", c_literal(type.primitive, items[i])}};
    if (type.element == ElementKind::String) {
      result.fallible.push_back(
          {naming::c_string_function("assign") + "(&$element$, $value$)", values});
    } else {
      result.plain.push_back({"$element$ = $value$;", values});
    }
  }
  return result;
}

// Writes T__init: each member in field order; a failed member releases exactly what this call
// set up before it (the members after it were never touched, and their memory may be raw).
class InitWriter {
 public:
  explicit InitWriter(CodeWriter& out) : out_(out) {}

  void field(const Field& field) {
    const std::string member = "msg->" + field.name;
    const Type& type = field.type;
    const ElementCalls element = element_calls(type);
    const DefaultAssignment defaults = default_assignment(field, member);
    switch (type.kind()) {
      case FieldKind::Primitive:
      case FieldKind::PrimitiveArray:
        for (const Snippet& assignment : defaults.plain) out_.line(assignment);
        return;
      case FieldKind::String:
      case FieldKind::Nested: {
        const std::string fini = call(element.fini, {{"x", member}}) + ";";
        fail_unless(call(element.init, {{"x", member}}), {});
        for (const Snippet& assign : defaults.fallible) fail_unless(assign, {fini});
        released_.push_back(fini);
        return;
      }
      case FieldKind::StringArray:
      case FieldKind::NestedArray: {
        const std::string count = std::to_string(type.size);
        const std::string loop_fini = "for (size_t i = 0; i < " + count + "; ++i) " +
                                      call(element.fini, {{"x", member + "[i]"}}) + ";";
        {
          auto loop = out_.block("for (size_t i = 0; i < $n$; ++i)", {{"n", count}});
          fail_unless(call(element.init, {{"x", member + "[i]"}}),
                      {"for (size_t j = i; j > 0; --j) " +
                       call(element.fini, {{"x", member + "[j - 1]"}}) + ";"});
        }
        for (const Snippet& assign : defaults.fallible) fail_unless(assign, {loop_fini});
        released_.push_back(loop_fini);
        return;
      }
      case FieldKind::PrimitiveSequence:
      case FieldKind::StringSequence:
      case FieldKind::NestedSequence: {
        const std::string count = std::to_string(field.default_value ? field.default_value->items.size() : 0);
        const std::string fini = naming::c_sequence_function_of(type, "fini") + "(&" + member + ");";
        fail_unless(naming::c_sequence_function_of(type, "init") + "(&" + member + ", " + count + ")", {});
        for (const Snippet& assignment : defaults.plain) out_.line(assignment);
        for (const Snippet& assign : defaults.fallible) fail_unless(assign, {fini});
        released_.push_back(fini);
        return;
      }
    }
  }

 private:
  void fail_unless(const Snippet& condition, const std::vector<std::string>& own_cleanup) {
    auto failed = out_.block(condition.wrapped("if (!", ")"));
    for (const std::string& line : own_cleanup) out_.line(line);
    for (const std::string& line : released_) out_.line(line);
    out_.line("return false;");
  }

  CodeWriter& out_;
  std::vector<std::string> released_;  // how to release each member set up so far
};

void write_fini_member(CodeWriter& out, const Field& field) {
  const std::string member = "msg->" + field.name;
  const Type& type = field.type;
  const ElementCalls element = element_calls(type);
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::PrimitiveArray: return;
    case FieldKind::String:
    case FieldKind::Nested: out.line(call(element.fini, {{"x", member}}) + ";"); return;
    case FieldKind::StringArray:
    case FieldKind::NestedArray: {
      auto loop = out.block("for (size_t i = 0; i < $n$; ++i)", {{"n", std::to_string(type.size)}});
      out.line(call(element.fini, {{"x", member + "[i]"}}) + ";");
      return;
    }
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence:
      out.line(naming::c_sequence_function_of(type, "fini") + "(&" + member + ");");
      return;
  }
}

void write_compare_member(CodeWriter& out, const Field& field) {
  const std::string left = "lhs->" + field.name;
  const std::string right = "rhs->" + field.name;
  const Type& type = field.type;
  const ElementCalls element = element_calls(type);
  auto differ = [&](const std::string& a, const std::string& b) {
    auto block = out.block("if (!(" + call(element.equal, {{"a", a}, {"b", b}}) + "))");
    out.line("return false;");
  };
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
    case FieldKind::Nested: differ(left, right); return;
    case FieldKind::PrimitiveArray:
    case FieldKind::StringArray:
    case FieldKind::NestedArray: {
      auto loop = out.block("for (size_t i = 0; i < $n$; ++i)", {{"n", std::to_string(type.size)}});
      differ(left + "[i]", right + "[i]");
      return;
    }
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence: {
      auto block = out.block("if (!" + naming::c_sequence_function_of(type, "are_equal") + "(&" + left + ", &" + right + "))");
      out.line("return false;");
      return;
    }
  }
}

void write_copy_member(CodeWriter& out, const Field& field) {
  const std::string source = "input->" + field.name;
  const std::string target = "output->" + field.name;
  const Type& type = field.type;
  const ElementCalls element = element_calls(type);
  auto copy = [&](const std::string& in, const std::string& out_element) {
    if (element.copy.empty()) {
      out.line(out_element + " = " + in + ";");
      return;
    }
    auto block = out.block("if (!" + call(element.copy, {{"in", in}, {"out", out_element}}) + ")");
    out.line("return false;");
  };
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
    case FieldKind::Nested: copy(source, target); return;
    case FieldKind::PrimitiveArray:
    case FieldKind::StringArray:
    case FieldKind::NestedArray: {
      auto loop = out.block("for (size_t i = 0; i < $n$; ++i)", {{"n", std::to_string(type.size)}});
      copy(source + "[i]", target + "[i]");
      return;
    }
    case FieldKind::PrimitiveSequence:
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence: {
      auto block =
          out.block("if (!" + naming::c_sequence_function_of(type, "copy") + "(&" + source + ", &" + target + "))");
      out.line("return false;");
      return;
    }
  }
}


void write_init(CodeWriter& out, const Structure& structure) {
  auto body = out.block("bool\n$function$($type$ * msg)",
                        {{"function", naming::c_function(structure, "init")}, {"type", naming::c_type(structure)}});
  {
    auto null = out.block("if (!msg)");
    out.line("return false;");
  }
  InitWriter members(out);
  for (const Field& field : structure.fields) members.field(field);
  out.line("return true;");
}

void write_fini(CodeWriter& out, const Structure& structure) {
  auto body = out.block("void\n$function$($type$ * msg)",
                        {{"function", naming::c_function(structure, "fini")}, {"type", naming::c_type(structure)}});
  {
    auto null = out.block("if (!msg)");
    out.line("return;");
  }
  for (const Field& field : structure.fields) write_fini_member(out, field);
}

void write_create_destroy(CodeWriter& out, const Structure& structure) {
  const Bindings names = {{"type", naming::c_type(structure)},
                          {"create", naming::c_function(structure, "create")},
                          {"destroy", naming::c_function(structure, "destroy")},
                          {"init", naming::c_function(structure, "init")},
                          {"fini", naming::c_function(structure, "fini")}};
  out.lines(R"($type$ * $create$(void) {
  rcutils_allocator_t allocator = rcutils_get_default_allocator();
  $type$ * msg = ($type$ *)allocator.allocate(sizeof($type$), allocator.state);
  if (!msg) {
    return NULL;
  }
  memset(msg, 0, sizeof($type$));
  if (!$init$(msg)) {
    allocator.deallocate(msg, allocator.state);
    return NULL;
  }
  return msg;
}

void
$destroy$($type$ * msg) {
  rcutils_allocator_t allocator = rcutils_get_default_allocator();
  if (msg) {
    $fini$(msg);
  }
  allocator.deallocate(msg, allocator.state);
}

)", names);
}

void write_are_equal(CodeWriter& out, const Structure& structure) {
  auto body = out.block("bool\n$function$(const $type$ * lhs, const $type$ * rhs)",
                        {{"function", naming::c_function(structure, "are_equal")}, {"type", naming::c_type(structure)}});
  {
    auto null = out.block("if (!lhs || !rhs)");
    out.line("return false;");
  }
  for (const Field& field : structure.fields) write_compare_member(out, field);
  out.line("return true;");
}

void write_copy(CodeWriter& out, const Structure& structure) {
  auto body = out.block("bool\n$function$(const $type$ * input, $type$ * output)",
                        {{"function", naming::c_function(structure, "copy")}, {"type", naming::c_type(structure)}});
  {
    auto null = out.block("if (!input || !output)");
    out.line("return false;");
  }
  {
    auto same = out.block("if (input == output)");
    out.line("return true;");
  }
  for (const Field& field : structure.fields) write_copy_member(out, field);
  out.line("return true;");
}

void write_sequence_functions(CodeWriter& out, const Structure& structure) {
  const Bindings names = {
      {"type", naming::c_type(structure)},
      {"sequence", naming::c_sequence_type(structure)},
      {"init", naming::c_function(structure, "init")},
      {"fini", naming::c_function(structure, "fini")},
      {"are_equal", naming::c_function(structure, "are_equal")},
      {"copy", naming::c_function(structure, "copy")},
      {"seq_init", naming::c_sequence_function(structure, "init")},
      {"seq_fini", naming::c_sequence_function(structure, "fini")},
      {"seq_create", naming::c_sequence_function(structure, "create")},
      {"seq_destroy", naming::c_sequence_function(structure, "destroy")},
      {"seq_are_equal", naming::c_sequence_function(structure, "are_equal")},
      {"seq_copy", naming::c_sequence_function(structure, "copy")},
  };
  out.lines(R"(bool $seq_init$($sequence$ * array, size_t size) {
  if (!array) {
    return false;
  }
  rcutils_allocator_t allocator = rcutils_get_default_allocator();
  $type$ * data = NULL;
  if (size) {
    data = ($type$ *)allocator.zero_allocate(size, sizeof($type$), allocator.state);
    if (!data) {
      return false;
    }
    for (size_t i = 0; i < size; ++i) {
      if (!$init$(&data[i])) {
        // element i has released what it obtained; the ones before it are complete
        for (size_t j = i; j > 0; --j) {
          $fini$(&data[j - 1]);
        }
        allocator.deallocate(data, allocator.state);
        return false;
      }
    }
  }
  array->data = data;
  array->size = size;
  array->capacity = size;
  return true;
}

void
$seq_fini$($sequence$ * array) {
  if (!array) {
    return;
  }
  rcutils_allocator_t allocator = rcutils_get_default_allocator();
  if (array->data) {
    CHECK_SEQUENCE_INVARIANT(array->capacity > 0);
    // spare elements behind size are initialised too
    for (size_t i = 0; i < array->capacity; ++i) {
      $fini$(&array->data[i]);
    }
    allocator.deallocate(array->data, allocator.state);
    array->data = NULL;
    array->size = 0;
    array->capacity = 0;
  } else {
    CHECK_SEQUENCE_INVARIANT(0 == array->size);
    CHECK_SEQUENCE_INVARIANT(0 == array->capacity);
  }
}

$sequence$ *
$seq_create$(size_t size) {
  rcutils_allocator_t allocator = rcutils_get_default_allocator();
  $sequence$ * array = ($sequence$ *)allocator.allocate(sizeof($sequence$), allocator.state);
  if (!array) {
    return NULL;
  }
  if (!$seq_init$(array, size)) {
    allocator.deallocate(array, allocator.state);
    return NULL;
  }
  return array;
}

void
$seq_destroy$($sequence$ * array) {
  rcutils_allocator_t allocator = rcutils_get_default_allocator();
  if (array) {
    $seq_fini$(array);
  }
  allocator.deallocate(array, allocator.state);
}

bool
$seq_are_equal$(const $sequence$ * lhs, const $sequence$ * rhs) {
  if (!lhs || !rhs) {
    return false;
  }
  if (lhs->size != rhs->size) {
    return false;
  }
  for (size_t i = 0; i < lhs->size; ++i) {
    if (!$are_equal$(&lhs->data[i], &rhs->data[i])) {
      return false;
    }
  }
  return true;
}

bool
$seq_copy$(const $sequence$ * input, $sequence$ * output) {
  if (!input || !output) {
    return false;
  }
  if (input == output) {
    return true;
  }
  if (output->capacity < input->size) {
    if (input->size > SIZE_MAX / sizeof($type$)) {
      return false;
    }
    rcutils_allocator_t allocator = rcutils_get_default_allocator();
    $type$ * data =
      ($type$ *)allocator.reallocate(output->data, input->size * sizeof($type$), allocator.state);
    if (!data) {
      return false;
    }
    output->data = data;
    // the grown part is raw memory: set it up before anything may finalise it
    for (size_t i = output->capacity; i < input->size; ++i) {
      if (!$init$(&data[i])) {
        for (size_t j = i; j > output->capacity; --j) {
          $fini$(&data[j - 1]);
        }
        // A block without a single element of its own would break the record: data set
        // with capacity 0 is what fini refuses.
        if (output->capacity == 0) {
          allocator.deallocate(data, allocator.state);
          output->data = NULL;
        }
        return false;
      }
    }
    output->capacity = input->size;
  }
  output->size = input->size;
  for (size_t i = 0; i < input->size; ++i) {
    if (!$copy$(&input->data[i], &output->data[i])) {
      return false;
    }
  }
  return true;
}

)", names);
}

GeneratedFile functions_source(const Interface& interface) {
  CodeWriter out;
  out.append(banner(interface));
  out.lines(R"(
// The sequence invariant is checked through the C library's assertion report itself, so the
// checks stay active in release builds: a broken record must stop the process before its
// memory is misused.
#undef NDEBUG
#include <assert.h>
#define CHECK_SEQUENCE_INVARIANT(expression) \
  ((expression) ? (void)0 : __assert_fail(#expression, __FILE__, __LINE__, __func__))

)");
  out.line("#include \"$header$\"", {{"header", naming::c_functions_header(interface)}});
  out.line();
  out.lines("#include <stdbool.h>\n#include <stdint.h>\n#include <stdlib.h>\n#include <string.h>\n");
  const common::InterfaceUses uses = common::uses_of(interface);
  if (uses.non_finite_defaults) out.line("#include <math.h>");
  out.line();
  out.line("#include \"rcutils/allocator.h\"");
  if (uses.strings) out.line("#include \"rosidl_runtime_c/string_functions.h\"");
  if (uses.primitive_sequences) out.line("#include \"rosidl_runtime_c/primitives_sequence_functions.h\"");
  for (const Interface* nested : uses.nested) {
    out.line("#include \"$header$\"", {{"header", naming::c_functions_header(*nested)}});
  }
  out.line();
  for (const Structure* structure : interface.structures) {
    write_init(out, *structure);
    out.line();
    write_fini(out, *structure);
    out.line();
    write_create_destroy(out, *structure);
    write_are_equal(out, *structure);
    out.line();
    write_copy(out, *structure);
    out.line();
    write_sequence_functions(out, *structure);
  }
  return {naming::c_functions_source(interface), out.text()};
}

}  // namespace

FileSet emit_c_functions(const Package& package) {
  FileSet files;
  for (const Interface* interface : package.interfaces) files.push_back(functions_source(*interface));
  return files;
}

}  // namespace idlc

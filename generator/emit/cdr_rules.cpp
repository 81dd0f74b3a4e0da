#include "emit/cdr_rules.hpp"

#include "emit/emitters.hpp"
#include "model/encoded_size.hpp"
#include "model/primitives.hpp"
#include "naming.hpp"

namespace idlc::cdr {
namespace {

std::string size_of(const Type& type) {
  return std::to_string(primitive_info(type.primitive).wire_size);
}

// No string or sequence anywhere inside: only such a type can be laid out in memory exactly as
// on the wire. For any other type the generated code never asks (is_plain is false already),
// which also keeps offsetof away from classes that hold strings or vectors.
bool can_be_plain(const Structure& structure) {
  for (const Field& field : structure.fields) {
    const Type& type = field.type;
    if (type.element == ElementKind::String || type.is_sequence()) return false;
    if (type.element == ElementKind::Nested && !can_be_plain(*type.nested)) return false;
  }
  return true;
}

void write_size_field(CodeWriter& out, const Field& field, const Spelling& spelling) {
  const Type& type = field.type;
  const std::string member = spelling.message + field.name;
  const std::string& wire = spelling.wire;
  auto element_size = [&](const std::string& element) {
    switch (type.element) {
      case ElementKind::Primitive:
        out.line("current_alignment += $wire$::padded(current_alignment, $s$, 1);",
                 {{"wire", wire}, {"s", size_of(type)}});
        return;
      case ElementKind::String:
        out.line("current_alignment += $wire$::padded(current_alignment, 4, 1) + $x$$count$ + 1;",
                 {{"wire", wire}, {"x", element}, {"count", spelling.count}});
        return;
      case ElementKind::Nested:
        out.line("current_alignment += $size$($address$$x$, current_alignment);",
                 {{"size", spelling.size_function(*type.nested)},
                  {"address", spelling.address},
                  {"x", element}});
        return;
    }
  };
  const std::string count = member + spelling.count;
  const std::string elements = member + spelling.elements;
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::String:
    case FieldKind::Nested:
      element_size(member);
      return;
    case FieldKind::PrimitiveArray:
      out.line("current_alignment += $wire$::padded(current_alignment, $s$, $n$);",
               {{"wire", wire}, {"s", size_of(type)}, {"n", std::to_string(type.size)}});
      return;
    case FieldKind::StringArray:
    case FieldKind::NestedArray:
      each_element(out, std::to_string(type.size),
                   [&](const std::string& index) { element_size(member + index); });
      return;
    case FieldKind::PrimitiveSequence:
      out.line("current_alignment += $wire$::padded(current_alignment, 4, 1);", {{"wire", wire}});
      // the padding before the elements counts even when there are none
      out.line("current_alignment += $wire$::padded(current_alignment, $s$, $n$);",
               {{"wire", wire}, {"s", size_of(type)}, {"n", count}});
      return;
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence:
      out.line("current_alignment += $wire$::padded(current_alignment, 4, 1);", {{"wire", wire}});
      each_element(out, count, [&](const std::string& index) { element_size(elements + index); });
      return;
  }
}

// `track_last_member` says whether the plain test follows and so needs the last member's size.
void write_max_size_field(CodeWriter& out, const Field& field, const Spelling& spelling,
                          bool track_last_member) {
  const Type& type = field.type;
  const std::string count = std::to_string(type.size);
  const std::string& wire = spelling.wire;
  auto unbounded = [&]() {
    out.line("full_bounded = false;");
    out.line("is_plain = false;");
  };
  auto nested_bound = [&](const std::string& accumulate) {
    auto scope = out.block("");
    out.line("bool inner_full_bounded;");
    out.line("bool inner_is_plain;");
    out.line(
        "const size_t inner_size = $max$(inner_full_bounded, inner_is_plain, current_alignment);",
        {{"max", spelling.max_size_function(*type.nested)}});
    if (track_last_member) out.line("last_member_size " + accumulate + " inner_size;");
    out.line("current_alignment += inner_size;");
    out.line("full_bounded &= inner_full_bounded;");
    out.line("is_plain &= inner_is_plain;");
  };
  switch (type.kind()) {
    case FieldKind::Primitive:
    case FieldKind::PrimitiveArray: {
      const std::string n = type.kind() == FieldKind::Primitive ? "1" : count;
      if (track_last_member) {
        out.line(
            "last_member_size = $bytes$;",
            {{"bytes", std::to_string(std::stoul(n) * primitive_info(type.primitive).wire_size)}});
      }
      out.line("current_alignment += $wire$::padded(current_alignment, $s$, $n$);",
               {{"wire", wire}, {"s", size_of(type)}, {"n", n}});
      return;
    }
    case FieldKind::String:
      unbounded();
      out.line("current_alignment += $wire$::padded(current_alignment, 4, 1) + 1;",
               {{"wire", wire}});
      return;
    case FieldKind::StringArray:
      unbounded();
      each_element(out, count, [&](const std::string&) {
        out.line("current_alignment += $wire$::padded(current_alignment, 4, 1) + 1;",
                 {{"wire", wire}});
      });
      return;
    case FieldKind::Nested:
      nested_bound("=");
      return;
    case FieldKind::NestedArray:
      if (track_last_member) out.line("last_member_size = 0;");
      each_element(out, count, [&](const std::string&) { nested_bound("+="); });
      return;
    case FieldKind::PrimitiveSequence:
      unbounded();
      out.line("current_alignment += $wire$::padded(current_alignment, 4, 1);", {{"wire", wire}});
      out.line("current_alignment += $wire$::padded(current_alignment, $s$, 0);",
               {{"wire", wire}, {"s", size_of(type)}});
      return;
    case FieldKind::StringSequence:
    case FieldKind::NestedSequence:
      unbounded();
      out.line("current_alignment += $wire$::padded(current_alignment, 4, 1);", {{"wire", wire}});
      return;
  }
}

}  // namespace

void write_size_body(CodeWriter& out, const Structure& structure, const Spelling& spelling) {
  out.line("const size_t initial_alignment = current_alignment;");
  for (const Field& field : structure.fields) write_size_field(out, field, spelling);
  out.line("return current_alignment - initial_alignment;");
}

void write_max_size_body(CodeWriter& out, const Structure& structure, const Spelling& spelling) {
  const bool plain_test = can_be_plain(structure);
  out.line("const size_t initial_alignment = current_alignment;");
  if (plain_test) out.line("size_t last_member_size = 0;");
  out.line("full_bounded = true;");
  out.line("is_plain = true;");
  for (const Field& field : structure.fields)
    write_max_size_field(out, field, spelling, plain_test);
  out.line("const size_t size = current_alignment - initial_alignment;");
  if (plain_test) {
    // The memory image equals the encoding only when the last member ends where the encoding
    // does, i.e. no padding differs between the two layouts.
    auto plain = out.block("if (is_plain)");
    out.line("is_plain = offsetof($type$, $last$) + last_member_size == size;",
             {{"type", spelling.type(structure)}, {"last", structure.fields.back().name}});
  }
  out.line("return size;");
}

bool size_reads_message(const Structure& structure) {
  for (const Field& field : structure.fields) {
    if (field.type.element != ElementKind::Primitive || field.type.is_sequence()) return true;
  }
  return false;
}

std::string minimum_element_bytes(const Type& type) {
  return std::to_string(minimum_element_encoded_size(type));
}

bool bulk_array(const Type& type) {
  return type.element == ElementKind::Primitive && type.primitive != Primitive::Bool;
}

void each_element(CodeWriter& out, const std::string& count,
                  const std::function<void(const std::string& index)>& body) {
  auto loop = out.block("for (size_t i = 0; i < $count$; ++i)", {{"count", count}});
  body("[i]");
}

GeneratedFile wire_header(const Package& package, const std::string& root, const std::string& path,
                          const std::string& name_space, const std::string& includes,
                          const std::string& rules) {
  CodeWriter out;
  out.append(package_banner(package));
  out.lines(R"(
#ifndef $guard$
#define $guard$

$includes$
namespace $namespace$ {

// The question put to the stream below: how many octets follow its position.
struct bytes_left_query {
  size_t bytes;
};

}  // namespace $namespace$

// Fast-CDR 1.0 keeps the end of its buffer private, and its ways of skipping ahead (jump,
// moveAlignmentForward) do not fail on a buffer the stream owns: they reallocate it, moving
// the caller's block and exposing bytes that were never written. Its readers, however, decide
// whether a value fits by comparing the position with that end, and never grow anything. This
// specialization of the stream's member template for a type of this package is a member of the
// stream, so it asks exactly their question, in constant time, reading and moving nothing. A
// release that renamed or retyped those members would stop this from compiling, not mislead it.
template<>
inline eprosima::fastcdr::Cdr & eprosima::fastcdr::Cdr::deserialize<$namespace$::bytes_left_query>(
  $namespace$::bytes_left_query & query)
{
  query.bytes = m_lastPosition - m_currentPosition;
  return *this;
}

namespace $namespace$ {

// Bytes that `count` items of `item_size` take at `position`, with the padding before them.
inline size_t padded(size_t position, size_t item_size, size_t count) {
  return eprosima::fastcdr::Cdr::alignment(position, item_size) + count * item_size;
}

// Counts and uint32 values travel through the int32 overload; the bits are the same.
inline void write_count(eprosima::fastcdr::Cdr & cdr, size_t count) {
  cdr.serialize(static_cast<int32_t>(static_cast<uint32_t>(count)));
}

inline size_t bytes_left(eprosima::fastcdr::Cdr & cdr) {
  bytes_left_query query{0};
  cdr.deserialize(query);
  return query.bytes;
}

// A count from the wire is believed only when the rest of the stream could hold that many
// elements of at least `minimum_element_bytes` each; otherwise a hostile or truncated packet
// would make the reader allocate far more than the packet could ever fill. The stream's own
// exception is raised, so callers see the same failure as for any short buffer; the stream
// stands right after the count.
inline size_t read_count(eprosima::fastcdr::Cdr & cdr, size_t minimum_element_bytes) {
  int32_t wire_count = 0;
  cdr.deserialize(wire_count);
  const size_t count = static_cast<uint32_t>(wire_count);
  // dividing rather than multiplying, so that no count can overflow the comparison
  if (minimum_element_bytes != 0 && count > bytes_left(cdr) / minimum_element_bytes) {
    throw eprosima::fastcdr::exception::NotEnoughMemoryException(
      eprosima::fastcdr::exception::NotEnoughMemoryException::NOT_ENOUGH_MEMORY_MESSAGE_DEFAULT);
  }
  return count;
}

$rules$
}  // namespace $namespace$

#endif  // $guard$
)",
            {{"guard", naming::include_guard(path)},
             {"includes", includes},
             {"namespace", name_space},
             {"rules", rules}});
  return {root + "/" + path, out.text()};
}

}  // namespace idlc::cdr

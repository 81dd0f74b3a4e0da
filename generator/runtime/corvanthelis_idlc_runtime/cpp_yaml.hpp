// How the C++ message classes print as YAML, in flow style and in block style: the rules for
// numbers, texts, lists and nested messages, which each class's to_yaml functions call per
// member. A message is reached through its own functions, found by argument-dependent lookup.

#ifndef CORVANTHELIS_IDLC_RUNTIME__CPP_YAML_HPP_
#define CORVANTHELIS_IDLC_RUNTIME__CPP_YAML_HPP_

#include <array>
#include <cstddef>
#include <cstdio>
#include <ostream>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "rosidl_runtime_cpp/bounded_vector.hpp"
#include "rosidl_runtime_cpp/traits.hpp"

namespace corvanthelis_idlc_runtime::yaml {

template<typename T>
struct is_list : std::false_type {};
template<typename T, typename Allocator>
struct is_list<std::vector<T, Allocator>> : std::true_type {};
template<typename T, std::size_t N>
struct is_list<std::array<T, N>> : std::true_type {};
template<typename T, std::size_t N, typename Allocator>
struct is_list<rosidl_runtime_cpp::BoundedVector<T, N, Allocator>> : std::true_type {};

template<typename T>
struct is_scalar
  : std::integral_constant<bool, std::is_arithmetic<T>::value || std::is_same<T, std::string>::value> {};

// Double-quoted, with every control character escaped: a line break or a tab in the text must
// not change the structure of the YAML around it.
inline void quoted(std::ostream & out, const std::string & text) {
  out << "\"";
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out << '\\' << c;
    } else if (c == '\n') {
      out << "\\n";
    } else if (c == '\t') {
      out << "\\t";
    } else if (code < 0x20 || code == 0x7f) {
      char escape[8];
      std::snprintf(escape, sizeof(escape), "\\x%02x", code);
      out << escape;
    } else {
      out << c;
    }
  }
  out << "\"";
}

// One value in flow style: numbers and booleans as the runtime writes them, lists in brackets,
// and a message through its own to_flow_style_yaml, found by argument-dependent lookup.
template<typename T>
void flow(std::ostream & out, const T & value) {
  if constexpr (std::is_same<T, std::string>::value) {
    quoted(out, value);
  } else if constexpr (std::is_arithmetic<T>::value) {
    rosidl_generator_traits::value_to_yaml(value, out);
  } else if constexpr (is_list<T>::value) {
    out << "[";
    bool first = true;
    for (const auto & item : value) {
      if (!first) {
        out << ", ";
      }
      first = false;
      flow(out, static_cast<const typename T::value_type &>(item));
    }
    out << "]";
  } else {
    to_flow_style_yaml(value, out);
  }
}

template<typename T>
void flow_field(std::ostream & out, const char * name, const T & value) {
  out << name << ": ";
  flow(out, value);
}

// A message as an item of a block list: "- " takes the place of the last two columns of its
// indentation on the first line, so that its first field follows the dash.
template<typename T>
void block_item(std::ostream & out, std::size_t indentation, const T & item) {
  std::ostringstream text;
  to_block_style_yaml(item, text, indentation + 4);
  std::string lines = text.str();
  lines.replace(indentation + 2, 2, "- ");
  out << lines;
}

template<typename T>
void block_field(std::ostream & out, std::size_t indentation, const char * name, const T & value) {
  out << std::string(indentation, ' ') << name << ":";
  if constexpr (is_scalar<T>::value) {
    out << " ";
    flow(out, value);
    out << "\n";
  } else if constexpr (is_list<T>::value) {
    // Lists of numbers and strings stay on one line; messages take a block each.
    if constexpr (is_scalar<typename T::value_type>::value) {
      out << " ";
      flow(out, value);
      out << "\n";
    } else if (value.size() == 0) {
      out << " []\n";
    } else {
      out << "\n";
      for (const auto & item : value) {
        block_item(out, indentation, item);
      }
    }
  } else {
    out << "\n";
    to_block_style_yaml(value, out, indentation + 2);
  }
}

}  // namespace corvanthelis_idlc_runtime::yaml

#endif  // CORVANTHELIS_IDLC_RUNTIME__CPP_YAML_HPP_

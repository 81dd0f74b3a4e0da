#pragma once

// Where the C++ compiler puts the members of the package's classes, whose layout differs from
// the C structures': what the C++ tables must say.

#include <cstddef>

#include "catalogue/cpp_headers.hpp"
#include "catalogue/layout.hpp"

inline const catalogue::Layout& cpp_layout() {
  static const catalogue::Layout layout(
      {
#define CATALOGUE_STRUCTURE(package, kind, Name, role, c_name, cpp_name, ...) \
  {#Name, sizeof(cpp_name)},
#include "catalogue/interfaces.def"
      },
      {
#define CATALOGUE_FIELD(package, kind, Structure, field, type) \
  {#Structure, #field, offsetof(package::kind::Structure, field)},
#include "catalogue/interfaces.def"
      });
  return layout;
}

#pragma once

// Where the C compiler puts the members of the package's structures: what the C tables must
// say.

#include <cstddef>

#include "catalogue/c_headers.hpp"
#include "catalogue/layout.hpp"

inline const catalogue::Layout& c_layout() {
  static const catalogue::Layout layout(
      {
#define CATALOGUE_STRUCTURE(package, kind, Name, role, c_name, ...) {#Name, sizeof(c_name)},
#include "catalogue/interfaces.def"
      },
      {
#define CATALOGUE_FIELD(package, kind, Structure, field, type) \
  {#Structure, #field, offsetof(package##__##kind##__##Structure, field)},
#include "catalogue/interfaces.def"
      });
  return layout;
}

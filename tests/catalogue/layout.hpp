#pragma once

// Sizes and member offsets of one language's types as its compiler lays them out, by the
// catalogue's structure and field names. Each language fills one from interfaces.def with
// sizeof and offsetof.

#include <cstddef>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "catalogue/catalogue.hpp"

namespace catalogue {

class Layout {
 public:
  struct Size {
    const char* structure;
    std::size_t size;
  };
  struct Offset {
    const char* structure;
    const char* field;
    std::size_t offset;
  };

  Layout(std::initializer_list<Size> sizes, std::initializer_list<Offset> offsets) {
    for (const Size& size : sizes) sizes_[size.structure] = size.size;
    for (const Offset& offset : offsets) offsets_[{offset.structure, offset.field}] = offset.offset;
  }

  std::size_t size(const Structure& structure) const { return sizes_.at(structure.name); }
  std::size_t offset(const Structure& structure, const Field& field) const {
    return offsets_.at({structure.name, field.name});
  }

 private:
  std::map<std::string, std::size_t> sizes_;
  std::map<std::pair<std::string, std::string>, std::size_t> offsets_;
};

}  // namespace catalogue

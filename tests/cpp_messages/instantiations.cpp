// Every member function of every class template of every package, instantiated once so that
// the strict warnings see their bodies too.

#include "catalogue/cpp_headers.hpp"

#define INSTANTIATE(package, kind, Type, ...) template struct package::kind::Type##_<std::allocator<void>>;
#define CATALOGUE_STRUCTURE INSTANTIATE
#define CATALOGUE_DEPENDENCY_STRUCTURE INSTANTIATE
#include "catalogue/interfaces.def"
#undef INSTANTIATE

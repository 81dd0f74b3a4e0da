#pragma once

// Every name of every artefact, computed in the naming module and nowhere else: C types and
// functions, stems, file paths, handle symbols, namespaces and Python infixes. Emitters call
// these instead of gluing names together. The names every language shares are in
// naming/core.hpp, each language's own in naming/c.hpp, naming/cpp.hpp and naming/python.hpp.

#include "naming/c.hpp"
#include "naming/core.hpp"
#include "naming/cpp.hpp"
#include "naming/python.hpp"

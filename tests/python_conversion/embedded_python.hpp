#pragma once

// The interpreter embedded in the allocation-failure tests, and the conversions' entry points
// as the extension module hands them out. Every Python object here is allocated through the C
// library's malloc, so that the injector in front of it can fail the interpreter's allocations
// too, not only those of the C structures.

#include <Python.h>

#include <string>

namespace embedded {

using Create = void* (*)();
using Destroy = void (*)(void*);
using ConvertFromPy = bool (*)(PyObject*, void*);
using ConvertToPy = PyObject* (*)(void*);

struct Entry {
  Create create = nullptr;
  Destroy destroy = nullptr;
  ConvertFromPy convert_from_py = nullptr;
  ConvertToPy convert_to_py = nullptr;
};

// The entry points of the structure with that extension-module infix, e.g. msg__trash.
Entry entry_of(const std::string& infix);

// A new reference to the value of a Python expression, evaluated after `imports`; null, with
// the error printed, when either fails.
PyObject* evaluate(const std::string& expression, const std::string& imports);

// Takes the standing error: "RuntimeError: unable to create ...", or the type alone for errors
// whose text varies.
std::string standing_error();

}  // namespace embedded

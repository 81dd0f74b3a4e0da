#pragma once

// A Python message class as the transport sees it: the entry points its capsules hold, and
// the conversions between its objects and the C structures the C type support reads.

#include <Python.h>

#include <memory>

#include "transport/type_support.hpp"

namespace transport_py {

class MessageClass {
 public:
  // Imports the class's type support; null with a Python exception set when the class is not
  // a message class of a built package.
  static std::shared_ptr<MessageClass> load(PyObject* cls);
  ~MessageClass();
  MessageClass(const MessageClass&) = delete;
  MessageClass& operator=(const MessageClass&) = delete;

  const transport::MessageSupport& support() const { return support_; }
  PyObject* cls() const { return cls_; }

  // A C structure holding the object's values; null with a Python exception set when the
  // object is not of this class or does not convert. Needs the interpreter lock.
  transport::MessagePtr to_c(PyObject* message) const;
  // A new object of the class; null with a Python exception set. Needs the interpreter lock.
  PyObject* to_python(const void* message) const;

 private:
  MessageClass() = default;

  PyObject* cls_ = nullptr;
  bool (*convert_from_py_)(PyObject*, void*) = nullptr;
  PyObject* (*convert_to_py_)(void*) = nullptr;
  transport::MessageSupport support_;
};

// A service class of the package or of an action (ArmTask.Impl.SendGoalService): its Request
// and Response classes.
struct ServiceClasses {
  std::shared_ptr<MessageClass> request;
  std::shared_ptr<MessageClass> response;

  // False with a Python exception set.
  bool load(PyObject* service);
  transport::ServiceSupport support() const { return {request->support(), response->support()}; }
};

}  // namespace transport_py

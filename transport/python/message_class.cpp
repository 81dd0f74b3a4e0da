#include "message_class.hpp"

#include "state.hpp"

namespace transport_py {
namespace {

// The capsules carry no name.
template <typename Pointer>
bool capsule(PyObject* cls, const char* attribute, Pointer& pointer) {
  PyObject* object = PyObject_GetAttrString(cls, attribute);
  if (object == nullptr) return false;
  void* raw = PyCapsule_GetPointer(object, nullptr);
  Py_DECREF(object);
  if (raw == nullptr) return false;
  pointer = reinterpret_cast<Pointer>(raw);
  return true;
}

}  // namespace

std::shared_ptr<MessageClass> MessageClass::load(PyObject* cls) {
  if (!PyType_Check(cls)) {
    PyErr_Format(PyExc_TypeError, "expected a message class, got %R", cls);
    return nullptr;
  }
  PyObject* imported = PyObject_CallMethod(cls, "__import_type_support__", nullptr);
  if (imported == nullptr) return nullptr;
  Py_DECREF(imported);

  std::shared_ptr<MessageClass> loaded(new MessageClass());
  void* (*create)() = nullptr;
  void (*destroy)(void*) = nullptr;
  const rosidl_message_type_support_t* record = nullptr;
  if (!capsule(cls, "_CREATE_ROS_MESSAGE", create) ||
      !capsule(cls, "_DESTROY_ROS_MESSAGE", destroy) ||
      !capsule(cls, "_CONVERT_FROM_PY", loaded->convert_from_py_) ||
      !capsule(cls, "_CONVERT_TO_PY", loaded->convert_to_py_) ||
      !capsule(cls, "_TYPE_SUPPORT", record)) {
    return nullptr;
  }
  Py_INCREF(cls);
  loaded->cls_ = cls;
  // The create and destroy entry points need no interpreter lock: the middleware's threads
  // call them.
  loaded->support_ = {record, {create, destroy}};
  return loaded;
}

// The last holder may be a middleware thread.
MessageClass::~MessageClass() { release_reference(cls_); }

transport::MessagePtr MessageClass::to_c(PyObject* message) const {
  // The conversion trusts its caller with the object's class.
  const int is_instance = PyObject_IsInstance(message, cls_);
  if (is_instance < 0) return nullptr;
  if (is_instance == 0) {
    PyErr_Format(PyExc_TypeError, "expected a %s, got %R",
                 reinterpret_cast<PyTypeObject*>(cls_)->tp_name, message);
    return nullptr;
  }
  transport::MessagePtr converted(support_.ops.create(), support_.ops.destroy);
  if (!converted) {
    PyErr_NoMemory();
    return nullptr;
  }
  if (!convert_from_py_(message, converted.get())) {
    if (!PyErr_Occurred()) PyErr_SetString(PyExc_ValueError, "the message did not convert");
    return nullptr;
  }
  return converted;
}

PyObject* MessageClass::to_python(const void* message) const {
  return convert_to_py_(const_cast<void*>(message));
}

bool ServiceClasses::load(PyObject* service) {
  PyObject* request_class = PyObject_GetAttrString(service, "Request");
  if (request_class == nullptr) return false;
  request = MessageClass::load(request_class);
  Py_DECREF(request_class);
  if (!request) return false;
  PyObject* response_class = PyObject_GetAttrString(service, "Response");
  if (response_class == nullptr) return false;
  response = MessageClass::load(response_class);
  Py_DECREF(response_class);
  return response != nullptr;
}

}  // namespace transport_py

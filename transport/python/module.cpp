// corvanthelis_transport: the project's Python node API over Fast DDS, on this host only.
// It takes the package's message classes as they are and uses nothing of them but the
// capsules that __import_type_support__() stores.

#include <Python.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "printer.hpp"
#include "rosidl_typesupport_introspection_c/identifier.h"
#include "state.hpp"
#include "transport/names.hpp"
#include "type_support.hpp"

namespace transport_py {
namespace {

std::mutex registry_mutex;
std::vector<std::weak_ptr<NodeState>>& registry() {
  static std::vector<std::weak_ptr<NodeState>> nodes;
  return nodes;
}

// YAML of a message as the C introspection tables describe it, the tables reached through
// the record of the message's class.
PyObject* to_yaml(PyObject*, PyObject* message) {
  std::shared_ptr<MessageClass> cls =
      MessageClass::load(reinterpret_cast<PyObject*>(Py_TYPE(message)));
  if (!cls) return nullptr;
  transport::MessagePtr converted = cls->to_c(message);
  if (!converted) return nullptr;
  const rosidl_message_type_support_t* record = cls->support().record;
  const rosidl_message_type_support_t* tables =
      get_message_typesupport_handle(record, rosidl_typesupport_introspection_c__identifier);
  if (tables == nullptr || tables->data == nullptr) {
    PyErr_SetString(PyExc_LookupError, "the message's type has no C introspection support");
    return nullptr;
  }
  std::ostringstream text;
  try {
    inspect::print_value(
        text, *static_cast<const rosidl_typesupport_introspection_c__MessageMembers*>(tables->data),
        converted.get());
  } catch (const std::exception& error) {
    PyErr_SetString(PyExc_ValueError, error.what());
    return nullptr;
  }
  const std::string yaml = text.str();
  return PyUnicode_FromStringAndSize(yaml.data(), static_cast<Py_ssize_t>(yaml.size()));
}

PyObject* action_part(PyObject*, PyObject* args) {
  const char* action = nullptr;
  const char* part = nullptr;
  if (!PyArg_ParseTuple(args, "ss", &action, &part)) return nullptr;
  try {
    return PyUnicode_FromString(transport::names::action_part(action, part).c_str());
  } catch (const std::invalid_argument& error) {
    PyErr_SetString(PyExc_ValueError, error.what());
    return nullptr;
  }
}

PyObject* close_all(PyObject*, PyObject*) {
  Py_BEGIN_ALLOW_THREADS close_all_nodes();
  Py_END_ALLOW_THREADS Py_RETURN_NONE;
}

PyMethodDef functions[] = {
    {"to_yaml", to_yaml, METH_O,
     "to_yaml(message) -> str: the message as YAML, through the introspection tables"},
    {"action_part", action_part, METH_VARARGS,
     "action_part(action, part) -> str: the name of an action's service (send_goal, get_result, "
     "cancel_goal) "
     "or topic (feedback, status), as ROS 2 names them"},
    {"_close_all", close_all, METH_NOARGS, "closes every node; runs at the interpreter's exit"},
    {nullptr, nullptr, 0, nullptr},
};

PyModuleDef module_definition = {
    PyModuleDef_HEAD_INIT,
    "corvanthelis_transport",
    "Nodes that publish, subscribe, serve and call with the package's message classes over Fast "
    "DDS,\n"
    "pinned to this host.",
    -1,
    functions,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

bool add_type(PyObject* module, const char* name, PyTypeObject* type) {
  if (type == nullptr) return false;
  Py_INCREF(type);
  if (PyModule_AddObject(module, name, reinterpret_cast<PyObject*>(type)) < 0) {
    Py_DECREF(type);
    return false;
  }
  return true;
}

// A node left open at exit would leave its shared memory behind.
bool close_nodes_at_exit(PyObject* module) {
  PyObject* atexit = PyImport_ImportModule("atexit");
  if (atexit == nullptr) return false;
  PyObject* closer = PyObject_GetAttrString(module, "_close_all");
  PyObject* registered = closer ? PyObject_CallMethod(atexit, "register", "O", closer) : nullptr;
  Py_XDECREF(closer);
  Py_DECREF(atexit);
  Py_XDECREF(registered);
  return registered != nullptr;
}

}  // namespace

ModuleTypes& module_types() {
  static ModuleTypes types;
  return types;
}

void register_node(const std::shared_ptr<NodeState>& state) {
  std::lock_guard<std::mutex> lock(registry_mutex);
  auto& nodes = registry();
  nodes.erase(
      std::remove_if(nodes.begin(), nodes.end(), [](const auto& node) { return node.expired(); }),
      nodes.end());
  nodes.push_back(state);
}

void close_all_nodes() {
  std::vector<std::weak_ptr<NodeState>> nodes;
  {
    std::lock_guard<std::mutex> lock(registry_mutex);
    nodes = registry();
  }
  for (const auto& node : nodes) {
    if (auto state = node.lock()) state->close();
  }
}

}  // namespace transport_py

PyMODINIT_FUNC PyInit_corvanthelis_transport() {
  using namespace transport_py;
  PyObject* module = PyModule_Create(&module_definition);
  if (module == nullptr) return nullptr;
  ModuleTypes& types = module_types();
  types.node = make_node_type();
  types.publisher = make_endpoint_type("corvanthelis_transport.Publisher", publisher_methods());
  types.subscription =
      make_endpoint_type("corvanthelis_transport.Subscription", subscription_methods());
  types.server = make_endpoint_type("corvanthelis_transport.Server", server_methods());
  types.client = make_endpoint_type("corvanthelis_transport.Client", client_methods());
  if (!add_type(module, "Node", types.node) || !add_type(module, "Publisher", types.publisher) ||
      !add_type(module, "Subscription", types.subscription) ||
      !add_type(module, "Server", types.server) || !add_type(module, "Client", types.client) ||
      !close_nodes_at_exit(module)) {
    Py_DECREF(module);
    return nullptr;
  }
  return module;
}

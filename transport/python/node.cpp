// The Node type: a participant of our own, the queue its endpoints fill, and spin_once(),
// which hands what arrived to Python.

#include <chrono>
#include <stdexcept>

#include "state.hpp"

namespace transport_py {
namespace {

std::shared_ptr<NodeState>& state_of(PyObject* self) {
  return *reinterpret_cast<NodeObject*>(self)->state;
}

int node_init(PyObject* self, PyObject* args, PyObject* kwargs) {
  static const char* keywords[] = {"name", "domain", "partition", nullptr};
  const char* name = nullptr;
  unsigned int domain = 0;
  const char* partition = "";
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "s|Is", const_cast<char**>(keywords), &name,
                                   &domain, &partition)) {
    return -1;
  }
  if (state_of(self)->node()) {
    PyErr_SetString(PyExc_RuntimeError, "the node is already initialised");
    return -1;
  }
  std::string failure;
  std::shared_ptr<transport::Node> node;
  Py_BEGIN_ALLOW_THREADS try {
    node = std::make_shared<transport::Node>(name, transport::NodeOptions{domain, partition});
  } catch (const std::exception& error) {
    failure = error.what();
  }
  Py_END_ALLOW_THREADS if (!node) {
    PyErr_SetString(PyExc_RuntimeError, failure.c_str());
    return -1;
  }
  std::lock_guard<std::mutex> lock(state_of(self)->mutex);
  state_of(self)->live = std::move(node);
  return 0;
}

PyObject* node_new(PyTypeObject* type, PyObject*, PyObject*) {
  PyObject* self = type->tp_alloc(type, 0);
  if (self == nullptr) return nullptr;
  auto* node = reinterpret_cast<NodeObject*>(self);
  node->state = new std::shared_ptr<NodeState>(std::make_shared<NodeState>());
  node->endpoints = PyList_New(0);
  if (node->endpoints == nullptr) {
    Py_DECREF(self);
    return nullptr;
  }
  register_node(state_of(self));
  return self;
}

void node_dealloc(PyObject* self) {
  auto* node = reinterpret_cast<NodeObject*>(self);
  if (node->state != nullptr) {
    std::shared_ptr<NodeState> state = std::move(*node->state);
    delete node->state;
    node->state = nullptr;
    Py_BEGIN_ALLOW_THREADS state->close();
    Py_END_ALLOW_THREADS
        // Queued events still hold Python-facing handlers: dropped here, with the lock.
        std::deque<Event>
            left;
    {
      std::lock_guard<std::mutex> lock(state->mutex);
      left.swap(state->events);
    }
  }
  Py_CLEAR(node->endpoints);
  PyTypeObject* type = Py_TYPE(self);
  type->tp_free(self);
  Py_DECREF(type);
}

PyObject* node_close(PyObject* self, PyObject*) {
  std::shared_ptr<NodeState> state = state_of(self);
  Py_BEGIN_ALLOW_THREADS state->close();
  Py_END_ALLOW_THREADS
      // The endpoints are closed: the node no longer keeps them.
      auto* node = reinterpret_cast<NodeObject*>(self);
  if (node->endpoints != nullptr &&
      PyList_SetSlice(node->endpoints, 0, PY_SSIZE_T_MAX, nullptr) < 0)
    return nullptr;
  Py_RETURN_NONE;
}

PyObject* node_enter(PyObject* self, PyObject*) {
  Py_INCREF(self);
  return self;
}

PyObject* node_exit(PyObject* self, PyObject*) {
  PyObject* closed = node_close(self, nullptr);
  if (closed == nullptr) return nullptr;
  Py_DECREF(closed);
  Py_RETURN_FALSE;
}

bool take_timeout(PyObject* args, PyObject* kwargs, double& timeout) {
  static const char* keywords[] = {"timeout", nullptr};
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "|d", const_cast<char**>(keywords), &timeout))
    return false;
  std::chrono::milliseconds checked;
  return milliseconds(timeout, checked);
}

// Runs at most one callback: returns True when one ran, False when nothing came in time.
PyObject* node_spin_once(PyObject* self, PyObject* args, PyObject* kwargs) {
  double timeout = 0.0;
  if (!take_timeout(args, kwargs, timeout)) return nullptr;
  std::shared_ptr<NodeState> state = state_of(self);
  Event event;
  bool got = false;
  Py_BEGIN_ALLOW_THREADS got = state->pop(event, timeout);
  Py_END_ALLOW_THREADS if (!got) Py_RETURN_FALSE;
  if (!dispatch(event)) return nullptr;
  Py_RETURN_TRUE;
}

// Runs callbacks until the time is up; returns how many ran.
PyObject* node_spin(PyObject* self, PyObject* args, PyObject* kwargs) {
  double timeout = 0.0;
  if (!take_timeout(args, kwargs, timeout)) return nullptr;
  std::shared_ptr<NodeState> state = state_of(self);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
  long count = 0;
  for (;;) {
    const double left =
        std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0.0) break;
    Event event;
    bool got = false;
    Py_BEGIN_ALLOW_THREADS got = state->pop(event, left);
    Py_END_ALLOW_THREADS if (!got) break;
    if (!dispatch(event)) return nullptr;
    ++count;
  }
  return PyLong_FromLong(count);
}

PyObject* node_create_publisher(PyObject* self, PyObject* args) {
  PyObject* cls = nullptr;
  const char* topic = nullptr;
  if (!PyArg_ParseTuple(args, "Os", &cls, &topic)) return nullptr;
  return create_publisher(reinterpret_cast<NodeObject*>(self), cls, topic);
}

PyObject* node_create_subscription(PyObject* self, PyObject* args) {
  PyObject* cls = nullptr;
  const char* topic = nullptr;
  PyObject* callback = nullptr;
  if (!PyArg_ParseTuple(args, "OsO", &cls, &topic, &callback)) return nullptr;
  return create_subscription(reinterpret_cast<NodeObject*>(self), cls, topic, callback);
}

PyObject* node_create_service(PyObject* self, PyObject* args) {
  PyObject* service = nullptr;
  const char* name = nullptr;
  PyObject* handler = nullptr;
  if (!PyArg_ParseTuple(args, "OsO", &service, &name, &handler)) return nullptr;
  return create_service(reinterpret_cast<NodeObject*>(self), service, name, handler);
}

PyObject* node_create_client(PyObject* self, PyObject* args) {
  PyObject* service = nullptr;
  const char* name = nullptr;
  if (!PyArg_ParseTuple(args, "Os", &service, &name)) return nullptr;
  return create_client(reinterpret_cast<NodeObject*>(self), service, name);
}

PyMethodDef node_methods[] = {
    {"create_publisher", node_create_publisher, METH_VARARGS,
     "create_publisher(message_class, topic) -> Publisher"},
    {"create_subscription", node_create_subscription, METH_VARARGS,
     "create_subscription(message_class, topic, callback) -> Subscription; spin_once() calls "
     "callback(message) for each message, in order"},
    {"create_service", node_create_service, METH_VARARGS,
     "create_service(service_class, name, handler) -> Server; spin_once() calls handler(request), "
     "which returns the response"},
    {"create_client", node_create_client, METH_VARARGS,
     "create_client(service_class, name) -> Client"},
    {"spin_once", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(node_spin_once)),
     METH_VARARGS | METH_KEYWORDS,
     "spin_once(timeout=0.0) -> bool: runs the callback of one arrival, waiting for it up to "
     "timeout seconds"},
    {"spin", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(node_spin)),
     METH_VARARGS | METH_KEYWORDS,
     "spin(timeout) -> int: runs callbacks for timeout seconds, returns how many"},
    {"close", node_close, METH_NOARGS, "close(): ends the node and all its endpoints"},
    {"__enter__", node_enter, METH_NOARGS, nullptr},
    {"__exit__", node_exit, METH_VARARGS, nullptr},
    {nullptr, nullptr, 0, nullptr},
};

}  // namespace

void NodeState::push(Event event) {
  std::lock_guard<std::mutex> lock(mutex);
  events.push_back(std::move(event));
  arrived.notify_one();
}

bool NodeState::pop(Event& event, double timeout) {
  std::unique_lock<std::mutex> lock(mutex);
  if (!arrived.wait_for(lock, std::chrono::duration<double>(timeout),
                        [&] { return !events.empty(); }))
    return false;
  event = std::move(events.front());
  events.pop_front();
  return true;
}

void NodeState::close() {
  std::vector<std::weak_ptr<EndpointCore>> open;
  std::shared_ptr<transport::Node> ending;
  {
    std::lock_guard<std::mutex> lock(mutex);
    open.swap(endpoints);
    ending = std::move(live);
  }
  for (const auto& endpoint : open) {
    if (auto core = endpoint.lock()) core->close();
  }
}

std::shared_ptr<transport::Node> NodeState::node() {
  std::lock_guard<std::mutex> lock(mutex);
  return live;
}

void NodeState::adopt(const std::shared_ptr<EndpointCore>& endpoint) {
  std::lock_guard<std::mutex> lock(mutex);
  endpoints.push_back(endpoint);
}

PyTypeObject* make_node_type() {
  PyType_Slot slots[] = {
      {Py_tp_new, reinterpret_cast<void*>(node_new)},
      {Py_tp_init, reinterpret_cast<void*>(node_init)},
      {Py_tp_dealloc, reinterpret_cast<void*>(node_dealloc)},
      {Py_tp_methods, node_methods},
      {Py_tp_doc,
       const_cast<char*>("Node(name, domain=0, partition=''): a node on this host only")},
      {0, nullptr},
  };
  PyType_Spec spec = {"corvanthelis_transport.Node", sizeof(NodeObject), 0, Py_TPFLAGS_DEFAULT,
                      slots};
  return reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&spec));
}

}  // namespace transport_py

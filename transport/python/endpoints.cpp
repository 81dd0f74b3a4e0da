// Publisher, Subscription, Server and Client: each a Python object over an endpoint core that
// the node can close. Nothing waits for the middleware while holding the interpreter lock.

#include <chrono>
#include <cmath>
#include <stdexcept>
#include <string>

#include "state.hpp"

namespace transport_py {
namespace {

// One core per kind of endpoint; the middleware object may be gone (closed) at any call.
template <typename Middleware>
struct Core : EndpointCore {
  void close() override {
    std::shared_ptr<Middleware> ending;
    {
      std::lock_guard<std::mutex> lock(mutex);
      ending = std::move(middleware);
    }
    if (handler) handler->closed = true;
  }
  std::shared_ptr<Middleware> get() {
    std::lock_guard<std::mutex> lock(mutex);
    return middleware;
  }

  std::mutex mutex;
  std::shared_ptr<Middleware> middleware;
  std::shared_ptr<Handler> handler;       // subscriptions and servers
  std::shared_ptr<MessageClass> message;  // publishers
  ServiceClasses service;                 // clients
};

using PublisherCore = Core<transport::Publisher>;
using SubscriptionCore = Core<transport::Subscription>;
using ServerCore = Core<transport::ServiceServer>;
using ClientCore = Core<transport::ServiceClient>;

template <typename CoreType>
CoreType& core_of(PyObject* self) {
  return static_cast<CoreType&>(**reinterpret_cast<EndpointObject*>(self)->core);
}

template <typename Middleware>
std::shared_ptr<Middleware> open_or_raise(Core<Middleware>& core) {
  std::shared_ptr<Middleware> middleware = core.get();
  if (!middleware) PyErr_SetString(PyExc_RuntimeError, "the endpoint is closed");
  return middleware;
}

PyObject* wrap(NodeObject* node, PyTypeObject* type, const std::shared_ptr<EndpointCore>& core) {
  PyObject* self = type->tp_alloc(type, 0);
  if (self == nullptr) return nullptr;
  reinterpret_cast<EndpointObject*>(self)->core = new std::shared_ptr<EndpointCore>(core);
  (*node->state)->adopt(core);
  if (PyList_Append(node->endpoints, self) < 0) {
    Py_DECREF(self);
    return nullptr;
  }
  return self;
}

// Makes the middleware object without the interpreter lock; null with RuntimeError set.
template <typename Middleware, typename Make>
std::shared_ptr<Middleware> build(NodeObject* node, Make make) {
  std::shared_ptr<transport::Node> live = (*node->state)->node();
  if (!live) {
    PyErr_SetString(PyExc_RuntimeError, "the node is closed");
    return nullptr;
  }
  std::shared_ptr<Middleware> made;
  std::string failure;
  Py_BEGIN_ALLOW_THREADS try { made = make(*live); } catch (const std::exception& error) {
    failure = error.what();
  }
  Py_END_ALLOW_THREADS if (!made) PyErr_SetString(PyExc_RuntimeError, failure.c_str());
  return made;
}

// What the middleware's threads do with an arrival: queue it for spin_once().
auto queue_for(const std::shared_ptr<NodeState>& state, const std::shared_ptr<Handler>& handler) {
  return [state = std::weak_ptr<NodeState>(state), handler = std::weak_ptr<Handler>(handler)](
             transport::MessagePtr message, const transport::RequestId& id) {
    auto node = state.lock();
    auto target = handler.lock();
    if (node && target && !target->closed) node->push({std::move(target), std::move(message), id});
  };
}

bool callable_or_raise(PyObject* callback) {
  if (PyCallable_Check(callback)) return true;
  PyErr_Format(PyExc_TypeError, "expected a callable, got %R", callback);
  return false;
}

// Waits in the middleware without the interpreter lock; returns a bool.
template <typename Middleware, typename Wait>
PyObject* waiting(Core<Middleware>& core, double seconds, Wait wait) {
  std::chrono::milliseconds timeout;
  if (!milliseconds(seconds, timeout)) return nullptr;
  std::shared_ptr<Middleware> middleware = open_or_raise(core);
  if (!middleware) return nullptr;
  bool done = false;
  Py_BEGIN_ALLOW_THREADS done = wait(*middleware, timeout);
  Py_END_ALLOW_THREADS return PyBool_FromLong(done);
}

bool count_and_timeout(PyObject* args, PyObject* kwargs, unsigned int& count, double& timeout) {
  static const char* keywords[] = {"count", "timeout", nullptr};
  return PyArg_ParseTupleAndKeywords(args, kwargs, "|Id", const_cast<char**>(keywords), &count,
                                     &timeout);
}

bool only_timeout(PyObject* args, PyObject* kwargs, double& timeout) {
  static const char* keywords[] = {"timeout", nullptr};
  return PyArg_ParseTupleAndKeywords(args, kwargs, "|d", const_cast<char**>(keywords), &timeout);
}

// --- Publisher ---------------------------------------------------------------------------

PyObject* publisher_publish(PyObject* self, PyObject* message) {
  PublisherCore& core = core_of<PublisherCore>(self);
  std::shared_ptr<transport::Publisher> publisher = open_or_raise(core);
  if (!publisher) return nullptr;
  transport::MessagePtr converted = core.message->to_c(message);
  if (!converted) return nullptr;
  bool sent = false;
  Py_BEGIN_ALLOW_THREADS sent = publisher->publish(converted.get());
  converted.reset();
  Py_END_ALLOW_THREADS if (!sent) {
    PyErr_SetString(PyExc_RuntimeError, "the message was not sent (the reason is logged)");
    return nullptr;
  }
  Py_RETURN_NONE;
}

PyObject* publisher_wait_for_subscribers(PyObject* self, PyObject* args, PyObject* kwargs) {
  unsigned int count = 1;
  double timeout = 5.0;
  if (!count_and_timeout(args, kwargs, count, timeout)) return nullptr;
  return waiting(core_of<PublisherCore>(self), timeout,
                 [count](transport::Publisher& publisher, auto limit) {
                   return publisher.wait_for_subscribers(count, limit);
                 });
}

PyObject* publisher_wait_for_acknowledgments(PyObject* self, PyObject* args, PyObject* kwargs) {
  double timeout = 5.0;
  if (!only_timeout(args, kwargs, timeout)) return nullptr;
  return waiting(core_of<PublisherCore>(self), timeout,
                 [](transport::Publisher& publisher, auto limit) {
                   return publisher.wait_for_acknowledgments(limit);
                 });
}

// --- Subscription and Server -------------------------------------------------------------

PyObject* subscription_wait_for_publishers(PyObject* self, PyObject* args, PyObject* kwargs) {
  unsigned int count = 1;
  double timeout = 5.0;
  if (!count_and_timeout(args, kwargs, count, timeout)) return nullptr;
  return waiting(core_of<SubscriptionCore>(self), timeout,
                 [count](transport::Subscription& subscription, auto limit) {
                   return subscription.wait_for_publishers(count, limit);
                 });
}

PyObject* server_wait_for_acknowledgments(PyObject* self, PyObject* args, PyObject* kwargs) {
  double timeout = 5.0;
  if (!only_timeout(args, kwargs, timeout)) return nullptr;
  return waiting(core_of<ServerCore>(self), timeout,
                 [](transport::ServiceServer& server, auto limit) {
                   return server.wait_for_acknowledgments(limit);
                 });
}

// --- Client ------------------------------------------------------------------------------

PyObject* client_wait_for_service(PyObject* self, PyObject* args, PyObject* kwargs) {
  double timeout = 5.0;
  if (!only_timeout(args, kwargs, timeout)) return nullptr;
  return waiting(
      core_of<ClientCore>(self), timeout,
      [](transport::ServiceClient& client, auto limit) { return client.wait_for_service(limit); });
}

// The response; TimeoutError saying why when none can come in time.
PyObject* client_call(PyObject* self, PyObject* args, PyObject* kwargs) {
  static const char* keywords[] = {"request", "timeout", nullptr};
  PyObject* request = nullptr;
  double seconds = 5.0;
  if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|d", const_cast<char**>(keywords), &request,
                                   &seconds)) {
    return nullptr;
  }
  std::chrono::milliseconds timeout;
  if (!milliseconds(seconds, timeout)) return nullptr;
  ClientCore& core = core_of<ClientCore>(self);
  std::shared_ptr<transport::ServiceClient> client = open_or_raise(core);
  if (!client) return nullptr;
  transport::MessagePtr converted = core.service.request->to_c(request);
  if (!converted) return nullptr;
  transport::MessagePtr response;
  std::string failure;
  Py_BEGIN_ALLOW_THREADS response = client->call(converted.get(), timeout, &failure);
  converted.reset();
  Py_END_ALLOW_THREADS if (!response) {
    PyErr_SetString(PyExc_TimeoutError, failure.c_str());
    return nullptr;
  }
  return core.service.response->to_python(response.get());
}

template <typename Function>
PyCFunction keywords_function(Function function) {
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function));
}

PyObject* endpoint_close(PyObject* self, PyObject*) {
  std::shared_ptr<EndpointCore> core = *reinterpret_cast<EndpointObject*>(self)->core;
  Py_BEGIN_ALLOW_THREADS core->close();
  Py_END_ALLOW_THREADS Py_RETURN_NONE;
}

void endpoint_dealloc(PyObject* self) {
  auto* endpoint = reinterpret_cast<EndpointObject*>(self);
  if (endpoint->core != nullptr) {
    std::shared_ptr<EndpointCore> core = std::move(*endpoint->core);
    delete endpoint->core;
    endpoint->core = nullptr;
    Py_BEGIN_ALLOW_THREADS core->close();
    core.reset();
    Py_END_ALLOW_THREADS
  }
  PyTypeObject* type = Py_TYPE(self);
  type->tp_free(self);
  Py_DECREF(type);
}

#define CLOSE_METHOD \
  { "close", endpoint_close, METH_NOARGS, "close(): leaves the topic or service" }

PyMethodDef publisher_table[] = {
    {"publish", publisher_publish, METH_O, "publish(message): sends one message"},
    {"wait_for_subscribers", keywords_function(publisher_wait_for_subscribers),
     METH_VARARGS | METH_KEYWORDS, "wait_for_subscribers(count=1, timeout=5.0) -> bool"},
    {"wait_for_acknowledgments", keywords_function(publisher_wait_for_acknowledgments),
     METH_VARARGS | METH_KEYWORDS,
     "wait_for_acknowledgments(timeout=5.0) -> bool: True once every subscriber has every message"},
    CLOSE_METHOD,
    {nullptr, nullptr, 0, nullptr},
};

PyMethodDef subscription_table[] = {
    {"wait_for_publishers", keywords_function(subscription_wait_for_publishers),
     METH_VARARGS | METH_KEYWORDS, "wait_for_publishers(count=1, timeout=5.0) -> bool"},
    CLOSE_METHOD,
    {nullptr, nullptr, 0, nullptr},
};

PyMethodDef server_table[] = {
    {"wait_for_acknowledgments", keywords_function(server_wait_for_acknowledgments),
     METH_VARARGS | METH_KEYWORDS,
     "wait_for_acknowledgments(timeout=5.0) -> bool: True once every client has its reply"},
    CLOSE_METHOD,
    {nullptr, nullptr, 0, nullptr},
};

PyMethodDef client_table[] = {
    {"wait_for_service", keywords_function(client_wait_for_service), METH_VARARGS | METH_KEYWORDS,
     "wait_for_service(timeout=5.0) -> bool"},
    {"call", keywords_function(client_call), METH_VARARGS | METH_KEYWORDS,
     "call(request, timeout=5.0) -> response; raises TimeoutError saying why (no server, the "
     "server left, no reply) when none can come in time"},
    CLOSE_METHOD,
    {nullptr, nullptr, 0, nullptr},
};

}  // namespace

PyMethodDef* publisher_methods() { return publisher_table; }
PyMethodDef* subscription_methods() { return subscription_table; }
PyMethodDef* server_methods() { return server_table; }
PyMethodDef* client_methods() { return client_table; }

PyTypeObject* make_endpoint_type(const char* name, PyMethodDef* methods) {
  PyType_Slot slots[] = {
      {Py_tp_dealloc, reinterpret_cast<void*>(endpoint_dealloc)},
      {Py_tp_methods, methods},
      {0, nullptr},
  };
  // Made by a node only: an endpoint without its middleware object would be useless.
  PyType_Spec spec = {name, sizeof(EndpointObject), 0,
                      Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION, slots};
  return reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&spec));
}

PyObject* create_publisher(NodeObject* node, PyObject* cls, const char* topic) {
  auto core = std::make_shared<PublisherCore>();
  core->message = MessageClass::load(cls);
  if (!core->message) return nullptr;
  const transport::MessageSupport support = core->message->support();
  const std::string name = topic;
  core->middleware = build<transport::Publisher>(node, [&](transport::Node& live) {
    return std::make_shared<transport::Publisher>(live, name, support);
  });
  if (!core->middleware) return nullptr;
  return wrap(node, module_types().publisher, core);
}

PyObject* create_subscription(NodeObject* node, PyObject* cls, const char* topic,
                              PyObject* callback) {
  if (!callable_or_raise(callback)) return nullptr;
  auto core = std::make_shared<SubscriptionCore>();
  core->handler = std::make_shared<Handler>();
  core->handler->in = MessageClass::load(cls);
  if (!core->handler->in) return nullptr;
  Py_INCREF(callback);
  core->handler->callback = callback;
  const transport::MessageSupport support = core->handler->in->support();
  const std::string name = topic;
  auto queue = queue_for(*node->state, core->handler);
  core->middleware = build<transport::Subscription>(node, [&](transport::Node& live) {
    return std::make_shared<transport::Subscription>(
        live, name, support,
        [queue](transport::MessagePtr message) { queue(std::move(message), {}); });
  });
  if (!core->middleware) return nullptr;
  return wrap(node, module_types().subscription, core);
}

PyObject* create_service(NodeObject* node, PyObject* service, const char* name, PyObject* handler) {
  if (!callable_or_raise(handler)) return nullptr;
  auto core = std::make_shared<ServerCore>();
  ServiceClasses classes;
  if (!classes.load(service)) return nullptr;
  core->handler = std::make_shared<Handler>();
  core->handler->in = classes.request;
  core->handler->out = classes.response;
  Py_INCREF(handler);
  core->handler->callback = handler;
  const transport::ServiceSupport support = classes.support();
  const std::string service_name = name;
  auto queue = queue_for(*node->state, core->handler);
  core->middleware = build<transport::ServiceServer>(node, [&](transport::Node& live) {
    return std::make_shared<transport::ServiceServer>(
        live, service_name, support,
        [queue](transport::ServiceServer&, transport::MessagePtr request,
                const transport::RequestId& id) { queue(std::move(request), id); });
  });
  if (!core->middleware) return nullptr;
  core->handler->server = core->middleware;
  return wrap(node, module_types().server, core);
}

PyObject* create_client(NodeObject* node, PyObject* service, const char* name) {
  auto core = std::make_shared<ClientCore>();
  if (!core->service.load(service)) return nullptr;
  const transport::ServiceSupport support = core->service.support();
  const std::string service_name = name;
  core->middleware = build<transport::ServiceClient>(node, [&](transport::Node& live) {
    return std::make_shared<transport::ServiceClient>(live, service_name, support);
  });
  if (!core->middleware) return nullptr;
  return wrap(node, module_types().client, core);
}

bool dispatch(Event& event) {
  Handler& handler = *event.handler;
  if (handler.closed || handler.callback == nullptr) return true;
  PyObject* message = handler.in->to_python(event.message.get());
  event.message.reset();
  if (message == nullptr) return false;
  PyObject* result = PyObject_CallOneArg(handler.callback, message);
  Py_DECREF(message);
  if (result == nullptr) return false;
  if (!handler.out) {
    Py_DECREF(result);
    return true;
  }
  transport::MessagePtr response = handler.out->to_c(result);
  Py_DECREF(result);
  if (!response) return false;
  std::shared_ptr<transport::ServiceServer> server = handler.server.lock();
  if (!server) return true;  // closed meanwhile: nobody to answer through
  bool sent = false;
  Py_BEGIN_ALLOW_THREADS sent = server->send_reply(event.id, response.get());
  response.reset();
  server.reset();
  Py_END_ALLOW_THREADS if (!sent) {
    PyErr_SetString(PyExc_RuntimeError, "the reply was not sent (the reason is logged)");
    return false;
  }
  return true;
}

void release_reference(PyObject*& object) {
  if (object == nullptr) return;
  if (Py_IsInitialized() && !_Py_IsFinalizing()) {
    PyGILState_STATE held = PyGILState_Ensure();
    Py_CLEAR(object);
    PyGILState_Release(held);
  }
  object = nullptr;
}

bool milliseconds(double seconds, std::chrono::milliseconds& out) {
  if (!(seconds >= 0.0) || seconds > 1e9) {
    PyErr_SetString(PyExc_ValueError, "timeout must be a number of seconds between 0 and 1e9");
    return false;
  }
  out = std::chrono::milliseconds(static_cast<long long>(std::ceil(seconds * 1000.0)));
  return true;
}

}  // namespace transport_py

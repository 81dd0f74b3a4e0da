#pragma once

// What the Python objects of the module share with the middleware's threads. Those threads
// never run Python: they queue what arrives, and Node.spin_once() hands it to Python. Every
// object here may be released on any thread, so whatever holds a Python reference takes the
// interpreter lock to drop it.

#include <Python.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "message_class.hpp"
#include "transport/node.hpp"
#include "transport/service.hpp"

namespace transport_py {

// Drops a reference with the interpreter lock, from whatever thread; leaves it when the
// interpreter is going away.
void release_reference(PyObject*& object);

// A Python callback and what it needs: the class of what arrives and, for a server, the class
// of its answers and the server that sends them.
struct Handler {
  ~Handler() { release_reference(callback); }

  std::shared_ptr<MessageClass> in;
  std::shared_ptr<MessageClass> out;
  PyObject* callback = nullptr;
  std::weak_ptr<transport::ServiceServer> server;
  std::atomic<bool> closed{false};
};

struct Event {
  std::shared_ptr<Handler> handler;
  transport::MessagePtr message;
  transport::RequestId id;
};

// The middleware part of a Python endpoint; close() ends it without Python.
struct EndpointCore {
  virtual ~EndpointCore() = default;
  virtual void close() = 0;
};

struct NodeState {
  void push(Event event);
  // Waits (without the interpreter lock) for an event; false when none came in time.
  bool pop(Event& event, double timeout);
  // Closes every endpoint of the node, then the node. Call without the interpreter lock.
  void close();
  std::shared_ptr<transport::Node> node();
  void adopt(const std::shared_ptr<EndpointCore>& endpoint);

  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<Event> events;
  std::vector<std::weak_ptr<EndpointCore>> endpoints;
  std::shared_ptr<transport::Node> live;
};

// The types the module defines, made at import.
struct ModuleTypes {
  PyTypeObject* node = nullptr;
  PyTypeObject* publisher = nullptr;
  PyTypeObject* subscription = nullptr;
  PyTypeObject* server = nullptr;
  PyTypeObject* client = nullptr;
};
ModuleTypes& module_types();

// The Python objects. A node keeps its endpoints until it closes, as a ROS node does, so a
// subscription or server need not be kept by its creator; an endpoint refers to nothing of
// Python, so no cycle forms.
struct NodeObject {
  PyObject_HEAD std::shared_ptr<NodeState>* state;
  PyObject* endpoints;  // list
};

struct EndpointObject {
  PyObject_HEAD std::shared_ptr<EndpointCore>* core;
};

PyTypeObject* make_node_type();
PyTypeObject* make_endpoint_type(const char* name, PyMethodDef* methods);

// Endpoint factories used by Node's methods; each returns a new reference or null with an
// exception set.
PyObject* create_publisher(NodeObject* node, PyObject* cls, const char* topic);
PyObject* create_subscription(NodeObject* node, PyObject* cls, const char* topic,
                              PyObject* callback);
PyObject* create_service(NodeObject* node, PyObject* service, const char* name, PyObject* handler);
PyObject* create_client(NodeObject* node, PyObject* service, const char* name);
PyMethodDef* publisher_methods();
PyMethodDef* subscription_methods();
PyMethodDef* server_methods();
PyMethodDef* client_methods();

// Runs the callback of one event; false with an exception set when Python raised.
bool dispatch(Event& event);

// Every node still open, for the interpreter's exit.
void close_all_nodes();
void register_node(const std::shared_ptr<NodeState>& state);

// Milliseconds from a timeout in seconds, which must not be negative.
bool milliseconds(double seconds, std::chrono::milliseconds& out);

}  // namespace transport_py

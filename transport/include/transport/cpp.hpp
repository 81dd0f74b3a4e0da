#pragma once

// The node API for the package's C++ message classes: their records from the C++ dispatch, which
// the transport asks for a fast-CDR support as a middleware layer does, new and delete, and
// callbacks that see the classes instead of untyped messages.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "rosidl_typesupport_cpp/message_type_support.hpp"
#include "rosidl_typesupport_cpp/service_type_support.hpp"
#include "transport/node.hpp"
#include "transport/service.hpp"

namespace transport::cpp {

template <typename T>
MessageOps message_ops() {
  return {[] { return static_cast<void*>(new T()); },
          [](void* message) { delete static_cast<T*>(message); }};
}

template <typename T>
MessageSupport message_support() {
  return {rosidl_typesupport_cpp::get_message_type_support_handle<T>(), message_ops<T>()};
}

// A service class of the package (DetectTrash) or of an action (ArmTask::Impl::SendGoalService).
template <typename S>
ServiceSupport service_support() {
  return transport::service_support(
      rosidl_typesupport_cpp::get_service_type_support_handle<S>(),
      message_ops<typename S::Request>(), message_ops<typename S::Response>());
}

template <typename T>
std::unique_ptr<T> owned(MessagePtr message) {
  return std::unique_ptr<T>(static_cast<T*>(message.release()));
}

template <typename T>
class Publisher {
 public:
  Publisher(Node& node, const std::string& topic) : raw_(node, topic, message_support<T>()) {}
  bool publish(const T& message) { return raw_.publish(&message); }
  transport::Publisher& raw() { return raw_; }

 private:
  transport::Publisher raw_;
};

template <typename T>
class Subscription {
 public:
  using Callback = std::function<void(std::unique_ptr<T> message)>;

  Subscription(Node& node, const std::string& topic, Callback callback)
      : raw_(node, topic, message_support<T>(),
             [callback = std::move(callback)](MessagePtr message) {
               callback(owned<T>(std::move(message)));
             }) {}
  transport::Subscription& raw() { return raw_; }

 private:
  transport::Subscription raw_;
};

template <typename S>
class ServiceServer {
 public:
  using Request = typename S::Request;
  using Response = typename S::Response;
  // Answers at once, on the server's own thread.
  using Handler = std::function<Response(const Request& request)>;
  // Answers now through `server`, or later through reply().
  using DeferredHandler = std::function<void(std::unique_ptr<Request> request, const RequestId& id,
                                             transport::ServiceServer& server)>;

  ServiceServer(Node& node, const std::string& service, Handler handler)
      : ServiceServer(node, service,
                      DeferredHandler([handler = std::move(handler)](
                                          std::unique_ptr<Request> request, const RequestId& id,
                                          transport::ServiceServer& server) {
                        const Response response = handler(*request);
                        server.send_reply(id, &response);
                      })) {}

  ServiceServer(Node& node, const std::string& service, DeferredHandler handler)
      : raw_(node, service, service_support<S>(),
             [handler = std::move(handler)](transport::ServiceServer& server, MessagePtr request,
                                            const RequestId& id) {
               handler(owned<Request>(std::move(request)), id, server);
             }) {}

  bool reply(const RequestId& id, const Response& response) {
    return raw_.send_reply(id, &response);
  }
  transport::ServiceServer& raw() { return raw_; }

 private:
  transport::ServiceServer raw_;
};

template <typename S>
class ServiceClient {
 public:
  using Request = typename S::Request;
  using Response = typename S::Response;

  ServiceClient(Node& node, const std::string& service)
      : raw_(node, service, service_support<S>()) {}

  bool wait_for_service(std::chrono::milliseconds timeout) const {
    return raw_.wait_for_service(timeout);
  }

  // Nothing when no reply came in time; `failure`, when given, then says why.
  std::optional<Response> call(const Request& request, std::chrono::milliseconds timeout,
                               std::string* failure = nullptr) {
    MessagePtr response = raw_.call(&request, timeout, failure);
    if (!response) return std::nullopt;
    return std::move(*static_cast<Response*>(response.get()));
  }
  transport::ServiceClient& raw() { return raw_; }

 private:
  transport::ServiceClient raw_;
};

}  // namespace transport::cpp

#pragma once

// The two ends of a service over a request topic and a reply topic. A request carries its
// writer's sample identity; the server writes the reply with that identity as its related
// identity, and a client keeps only replies that name one of its own endpoints, matched to
// its calls by sequence number.

#include <fastdds/rtps/common/Guid.h>
#include <fastdds/rtps/common/SampleIdentity.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "transport/node.hpp"

namespace transport {

namespace detail {
struct ClientState;
struct MatchedReaders;
struct ServerThread;
}  // namespace detail

// Which request a reply answers.
struct RequestId {
  eprosima::fastrtps::rtps::SampleIdentity identity;
  // The client's reply reader, when its request said so.
  eprosima::fastrtps::rtps::GUID_t reply_reader;
};

class ServiceServer {
 public:
  // Runs on the server's own thread, one request at a time in the order they came, never on a
  // middleware thread; the handler owns the request and answers with server.send_reply(), then
  // or later, from any thread. It must not destroy its own server.
  using Handler =
      std::function<void(ServiceServer& server, MessagePtr request, const RequestId& id)>;

  // `service` is a ROS name ("/detect_trash").
  ServiceServer(Node& node, const std::string& service, const ServiceSupport& support,
                Handler handler);
  ~ServiceServer();
  ServiceServer(const ServiceServer&) = delete;
  ServiceServer& operator=(const ServiceServer&) = delete;

  // Never waits. A client's request can come before the server has discovered the client's
  // reply reader: such a reply is kept and written once the reader is known, or dropped with a
  // logged line naming the client when it is not known within a few seconds. False when the
  // reply could not be serialized or written.
  bool send_reply(const RequestId& id, const void* response);

  // True once every reply sent so far is written, including those that waited for their
  // client's reply reader, and acknowledged by the clients it went to; false when the time is
  // up first or a reply was given up.
  bool wait_for_acknowledgments(std::chrono::milliseconds timeout) const;

 private:
  friend struct detail::ServerThread;
  bool write_reply(const RequestId& id, const void* response);

  std::shared_ptr<detail::NodeCore> core_;
  std::string reply_topic_;
  Handler handler_;
  std::unique_ptr<detail::ServerThread> thread_;
  std::unique_ptr<detail::MatchedReaders> matched_;
  std::unique_ptr<detail::ReaderState> requests_;
  eprosima::fastdds::dds::DataWriter* replies_ = nullptr;
};

class ServiceClient {
 public:
  ServiceClient(Node& node, const std::string& service, const ServiceSupport& support);
  ~ServiceClient();
  ServiceClient(const ServiceClient&) = delete;
  ServiceClient& operator=(const ServiceClient&) = delete;

  // True once a server's request reader and reply writer both match ours.
  bool wait_for_service(std::chrono::milliseconds timeout) const;

  // The response, or null when none can come within the timeout: no server is there (the call
  // waits for one that far), the server left, or its reply did not come. `failure`, when given,
  // then says which; the transport's log says it too. Several threads may call at once.
  MessagePtr call(const void* request, std::chrono::milliseconds timeout,
                  std::string* failure = nullptr);

 private:
  std::shared_ptr<detail::NodeCore> core_;
  std::unique_ptr<detail::ClientState> state_;
};

}  // namespace transport

#pragma once

// A thin node over one loopback participant: publishers and subscriptions of any type whose
// support leads to fast-CDR callbacks. Services live in service.hpp, typed C++ wrappers in
// typed.hpp. Endpoints keep their node's middleware objects alive, so they may outlive the
// Node object; a node holds one support per type (C or C++), never both.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "transport/type_support.hpp"

namespace eprosima::fastdds::dds {
class DataWriter;
class DomainParticipantListener;
}  // namespace eprosima::fastdds::dds

namespace transport {

namespace detail {
struct NodeCore;
struct ReaderState;
}  // namespace detail

struct NodeOptions {
  uint32_t domain = 0;
  // Empty for the default partition, the one ROS nodes use; tests give each run its own so
  // that runs on one host never hear each other.
  std::string partition;
  // Told of every participant and endpoint the node discovers, on the middleware's discovery
  // thread, for tests and tools that watch discovery; the node does not own it.
  eprosima::fastdds::dds::DomainParticipantListener* discovery_listener = nullptr;
};

class Node {
 public:
  // Throws std::runtime_error when the middleware refuses the participant.
  Node(const std::string& name, const NodeOptions& options = {});
  ~Node();
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  const std::shared_ptr<detail::NodeCore>& core() const { return core_; }

 private:
  std::shared_ptr<detail::NodeCore> core_;
};

class Publisher {
 public:
  // `topic` is a ROS name ("/trashes"). Throws std::runtime_error or std::invalid_argument.
  Publisher(Node& node, const std::string& topic, const MessageSupport& support);
  ~Publisher();
  Publisher(const Publisher&) = delete;
  Publisher& operator=(const Publisher&) = delete;

  // False when the message could not be serialized (the reason is logged) or the readers did
  // not make room in time.
  bool publish(const void* message);

  size_t subscriber_count() const;
  bool wait_for_subscribers(size_t count, std::chrono::milliseconds timeout) const;

  // True once every matched reader has acknowledged every message published so far. A
  // process that leaves right after publishing calls this first: what the readers have not
  // acknowledged goes with the writer.
  bool wait_for_acknowledgments(std::chrono::milliseconds timeout) const;

 private:
  std::shared_ptr<detail::NodeCore> core_;
  eprosima::fastdds::dds::DataWriter* writer_;
};

class Subscription {
 public:
  // Receives each message once, in order, on a middleware thread; the callback owns it. The
  // callback must not destroy its own subscription.
  using Callback = std::function<void(MessagePtr message)>;

  Subscription(Node& node, const std::string& topic, const MessageSupport& support,
               Callback callback);
  ~Subscription();
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;

  size_t publisher_count() const;
  bool wait_for_publishers(size_t count, std::chrono::milliseconds timeout) const;

 private:
  std::shared_ptr<detail::NodeCore> core_;
  std::unique_ptr<detail::ReaderState> state_;
};

}  // namespace transport

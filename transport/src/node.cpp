#include "transport/node.hpp"

#include "endpoints.hpp"
#include "transport/names.hpp"

namespace transport {

Node::Node(const std::string& name, const NodeOptions& options)
    : core_(std::make_shared<detail::NodeCore>(name, options)) {}

Node::~Node() = default;

Publisher::Publisher(Node& node, const std::string& topic, const MessageSupport& support)
    : core_(node.core()), writer_(core_->create_writer(names::topic(topic), support)) {}

Publisher::~Publisher() { core_->delete_writer(writer_); }

bool Publisher::publish(const void* message) {
  // The middleware's signature is not const-correct; serialize() only reads the message.
  return writer_->write(const_cast<void*>(message));
}

size_t Publisher::subscriber_count() const { return detail::matched_count(writer_); }

bool Publisher::wait_for_subscribers(size_t count, std::chrono::milliseconds timeout) const {
  return detail::wait_until([&] { return subscriber_count() >= count; }, timeout);
}

bool Publisher::wait_for_acknowledgments(std::chrono::milliseconds timeout) const {
  return detail::wait_for_acknowledgments(writer_, timeout);
}

Subscription::Subscription(Node& node, const std::string& topic, const MessageSupport& support,
                           Callback callback)
    : core_(node.core()),
      state_(std::make_unique<detail::ReaderState>(
          support.ops,
          [callback = std::move(callback)](MessagePtr message, const detail::dds::SampleInfo&) {
            callback(std::move(message));
          })) {
  state_->reader = core_->create_reader(names::topic(topic), support, state_.get());
}

Subscription::~Subscription() { core_->delete_reader(state_->reader); }

size_t Subscription::publisher_count() const { return detail::matched_count(state_->reader); }

bool Subscription::wait_for_publishers(size_t count, std::chrono::milliseconds timeout) const {
  return detail::wait_until([&] { return publisher_count() >= count; }, timeout);
}

}  // namespace transport

#pragma once

// What publishers, subscriptions and the two ends of a service share: the node's middleware
// objects, the QoS every endpoint gets, and a reader that turns samples into messages.

#include <atomic>
#include <chrono>
#include <fastdds/dds/domain/DomainParticipantListener.hpp>
#include <fastdds/dds/publisher/DataWriter.hpp>
#include <fastdds/dds/publisher/Publisher.hpp>
#include <fastdds/dds/subscriber/DataReader.hpp>
#include <fastdds/dds/subscriber/DataReaderListener.hpp>
#include <fastdds/dds/subscriber/SampleInfo.hpp>
#include <fastdds/dds/subscriber/Subscriber.hpp>
#include <fastdds/dds/topic/Topic.hpp>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "transport/node.hpp"
#include "transport/participant.hpp"

namespace transport::detail {

namespace dds = eprosima::fastdds::dds;

// Says in the log when a participant vanishes without leaving (it was killed, or cut off, and
// its lease ran out), and hands every discovery on to the node's own watcher, if it has one.
struct DiscoveryWatch : dds::DomainParticipantListener {
  explicit DiscoveryWatch(dds::DomainParticipantListener* next) : next(next) {}
  void on_participant_discovery(dds::DomainParticipant* participant,
                                eprosima::fastrtps::rtps::ParticipantDiscoveryInfo&& info) override;
  void on_subscriber_discovery(dds::DomainParticipant* participant,
                               eprosima::fastrtps::rtps::ReaderDiscoveryInfo&& info) override;
  void on_publisher_discovery(dds::DomainParticipant* participant,
                              eprosima::fastrtps::rtps::WriterDiscoveryInfo&& info) override;

  dds::DomainParticipantListener* const next;
};

struct NodeCore {
  NodeCore(const std::string& name, const NodeOptions& options);
  ~NodeCore();

  // The topic of that DDS name, created on first use with the type the support describes.
  // Throws when the node already knows the topic or the type with another support.
  dds::Topic* topic(const std::string& dds_name, const MessageSupport& support);

  dds::DataWriter* create_writer(const std::string& dds_name, const MessageSupport& support,
                                 dds::DataWriterListener* listener = nullptr);
  dds::DataReader* create_reader(const std::string& dds_name, const MessageSupport& support,
                                 dds::DataReaderListener* listener);
  void delete_writer(dds::DataWriter* writer);
  void delete_reader(dds::DataReader* reader);

  // Outlives the participant that calls it.
  std::unique_ptr<DiscoveryWatch> watch;
  ParticipantPtr participant;
  dds::Publisher* publisher = nullptr;
  dds::Subscriber* subscriber = nullptr;
  std::mutex mutex;
};

// Takes every sample as it arrives into a message made by the type's ops and hands both on.
// A sample the type support cannot read is logged by it and never reaches the handler.
struct ReaderState : dds::DataReaderListener {
  using Handler = std::function<void(MessagePtr message, const dds::SampleInfo& info)>;

  ReaderState(MessageOps ops, Handler handler) : ops(std::move(ops)), handler(std::move(handler)) {}
  void on_data_available(dds::DataReader* reader) override;

  // Whether a sample that has arrived may still be on its way to the handler: unread in the
  // reader, or taken and not yet handed on. A writer that leaves after its samples were
  // acknowledged leaves them here, and their reader must not be judged by its absence.
  bool delivering() const;

  MessageOps ops;
  Handler handler;
  dds::DataReader* reader = nullptr;
  std::atomic<int> in_handler{0};
};

size_t matched_count(const dds::DataWriter* writer);
bool wait_for_acknowledgments(dds::DataWriter* writer, std::chrono::milliseconds timeout);
size_t matched_count(const dds::DataReader* reader);

// Polls until `done` holds or the time is up; the middleware's matching has no waitable event
// that covers both ends of a service.
bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds timeout);

}  // namespace transport::detail

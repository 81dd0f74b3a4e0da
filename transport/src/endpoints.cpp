#include "endpoints.hpp"

#include <exception>
#include <fastdds/dds/domain/DomainParticipant.hpp>
#include <fastdds/dds/publisher/qos/DataWriterQos.hpp>
#include <fastdds/dds/publisher/qos/PublisherQos.hpp>
#include <fastdds/dds/subscriber/qos/DataReaderQos.hpp>
#include <fastdds/dds/subscriber/qos/SubscriberQos.hpp>
#include <fastdds/dds/topic/TypeSupport.hpp>
#include <stdexcept>
#include <thread>

#include "transport/log.hpp"
#include "transport/message_type.hpp"

namespace transport::detail {
namespace {

using eprosima::fastrtps::rtps::PREALLOCATED_WITH_REALLOC_MEMORY_MODE;

// Every sample of a burst arrives (reliable, keep-all), a lost fragment is asked for again
// within a tenth of a second instead of the default three, and a writer whose readers lag
// waits for them for a while before publish() reports failure.
dds::DataWriterQos writer_qos(const dds::Publisher& publisher) {
  dds::DataWriterQos qos = publisher.get_default_datawriter_qos();
  qos.reliability().kind = dds::RELIABLE_RELIABILITY_QOS;
  qos.reliability().max_blocking_time = {5, 0};
  qos.durability().kind = dds::VOLATILE_DURABILITY_QOS;
  qos.history().kind = dds::KEEP_ALL_HISTORY_QOS;
  qos.reliable_writer_qos().times.heartbeatPeriod = {0, 100'000'000};
  qos.endpoint().history_memory_policy = PREALLOCATED_WITH_REALLOC_MEMORY_MODE;
  qos.publish_mode().kind = dds::SYNCHRONOUS_PUBLISH_MODE;
  // Sharing the writer's memory would hand readers the layout of the writer's language.
  qos.data_sharing().off();
  return qos;
}

dds::DataReaderQos reader_qos(const dds::Subscriber& subscriber) {
  dds::DataReaderQos qos = subscriber.get_default_datareader_qos();
  qos.reliability().kind = dds::RELIABLE_RELIABILITY_QOS;
  qos.durability().kind = dds::VOLATILE_DURABILITY_QOS;
  qos.history().kind = dds::KEEP_ALL_HISTORY_QOS;
  qos.endpoint().history_memory_policy = PREALLOCATED_WITH_REALLOC_MEMORY_MODE;
  qos.data_sharing().off();
  return qos;
}

}  // namespace

void DiscoveryWatch::on_participant_discovery(
    dds::DomainParticipant* participant, eprosima::fastrtps::rtps::ParticipantDiscoveryInfo&& info) {
  if (info.status == eprosima::fastrtps::rtps::ParticipantDiscoveryInfo::DROPPED_PARTICIPANT) {
    log("participant '" + info.info.m_participantName.to_string() +
        "' vanished without leaving: dropped once its lease ran out");
  }
  if (next != nullptr) next->on_participant_discovery(participant, std::move(info));
}

void DiscoveryWatch::on_subscriber_discovery(dds::DomainParticipant* participant,
                                             eprosima::fastrtps::rtps::ReaderDiscoveryInfo&& info) {
  if (next != nullptr) next->on_subscriber_discovery(participant, std::move(info));
}

void DiscoveryWatch::on_publisher_discovery(dds::DomainParticipant* participant,
                                            eprosima::fastrtps::rtps::WriterDiscoveryInfo&& info) {
  if (next != nullptr) next->on_publisher_discovery(participant, std::move(info));
}

NodeCore::NodeCore(const std::string& name, const NodeOptions& options)
    : watch(std::make_unique<DiscoveryWatch>(options.discovery_listener)),
      participant(create_participant(options.domain, name, watch.get())) {
  dds::PublisherQos publisher_qos = participant->get_default_publisher_qos();
  dds::SubscriberQos subscriber_qos = participant->get_default_subscriber_qos();
  if (!options.partition.empty()) {
    publisher_qos.partition().push_back(options.partition.c_str());
    subscriber_qos.partition().push_back(options.partition.c_str());
  }
  publisher = participant->create_publisher(publisher_qos);
  subscriber = participant->create_subscriber(subscriber_qos);
  if (publisher == nullptr || subscriber == nullptr) {
    throw std::runtime_error("the middleware refused the publisher or subscriber of node '" + name +
                             "'");
  }
}

// The participant's deleter removes whatever endpoints are left, then the participant.
NodeCore::~NodeCore() = default;

dds::Topic* NodeCore::topic(const std::string& dds_name, const MessageSupport& support) {
  std::lock_guard<std::mutex> lock(mutex);
  auto* type = new CdrMessageType(support);
  dds::TypeSupport wanted(type);
  const std::string type_name = type->getName();

  dds::TypeSupport known = participant->find_type(type_name);
  if (known.empty()) {
    if (participant->register_type(wanted) != ReturnCode_t::RETCODE_OK) {
      throw std::runtime_error("the middleware refused the type " + type_name);
    }
  } else {
    const auto* known_type = dynamic_cast<const CdrMessageType*>(known.get());
    if (known_type == nullptr || std::string(known_type->identifier()) != type->identifier()) {
      throw std::runtime_error("this node already uses " + type_name +
                               " through another type support");
    }
  }

  if (dds::TopicDescription* description = participant->lookup_topicdescription(dds_name)) {
    auto* existing = dynamic_cast<dds::Topic*>(description);
    if (existing == nullptr || existing->get_type_name() != type_name) {
      throw std::runtime_error("topic " + dds_name + " already carries " +
                               description->get_type_name() + ", not " + type_name);
    }
    return existing;
  }
  dds::Topic* created =
      participant->create_topic(dds_name, type_name, participant->get_default_topic_qos());
  if (created == nullptr) throw std::runtime_error("the middleware refused the topic " + dds_name);
  return created;
}

dds::DataWriter* NodeCore::create_writer(const std::string& dds_name, const MessageSupport& support,
                                         dds::DataWriterListener* listener) {
  dds::Topic* described = topic(dds_name, support);
  dds::DataWriter* writer =
      publisher->create_datawriter(described, writer_qos(*publisher), listener);
  if (writer == nullptr) throw std::runtime_error("the middleware refused a writer on " + dds_name);
  return writer;
}

dds::DataReader* NodeCore::create_reader(const std::string& dds_name, const MessageSupport& support,
                                         dds::DataReaderListener* listener) {
  dds::Topic* described = topic(dds_name, support);
  dds::DataReader* reader =
      subscriber->create_datareader(described, reader_qos(*subscriber), listener);
  if (reader == nullptr) throw std::runtime_error("the middleware refused a reader on " + dds_name);
  return reader;
}

void NodeCore::delete_writer(dds::DataWriter* writer) {
  if (writer != nullptr) publisher->delete_datawriter(writer);
}

// Returns only when the middleware no longer calls the reader's listener.
void NodeCore::delete_reader(dds::DataReader* reader) {
  if (reader != nullptr) subscriber->delete_datareader(reader);
}

void ReaderState::on_data_available(dds::DataReader* from) {
  ++in_handler;
  struct Leave {
    std::atomic<int>& count;
    ~Leave() { --count; }
  } leave{in_handler};
  // Nothing may escape into the middleware's thread.
  try {
    MessagePtr message;
    uint64_t unread = from->get_unread_count();
    while (unread > 0) {
      if (!message) message = make_message(ops);
      dds::SampleInfo info;
      const bool taken = from->take_next_sample(message.get(), &info) == ReturnCode_t::RETCODE_OK;
      if (taken && info.valid_data) handler(std::move(message), info);
      const uint64_t left = from->get_unread_count();
      // A sample the type support rejects is removed but reported as "no data"; those behind
      // it are still there. What neither comes nor goes must not keep us spinning.
      if (!taken && left >= unread) return;
      unread = left;
    }
  } catch (const std::exception& error) {
    log(std::string("a reader's handler failed: ") + error.what());
  }
}

bool ReaderState::delivering() const {
  // Unread first: a sample taken between the two looks is then seen in the handler.
  const bool unread = reader->get_unread_count() > 0;
  return unread || in_handler.load() > 0;
}

size_t matched_count(const dds::DataWriter* writer) {
  dds::PublicationMatchedStatus status;
  const_cast<dds::DataWriter*>(writer)->get_publication_matched_status(status);
  return static_cast<size_t>(status.current_count);
}

bool wait_for_acknowledgments(dds::DataWriter* writer, std::chrono::milliseconds timeout) {
  const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(timeout).count();
  const eprosima::fastrtps::Duration_t limit(static_cast<int32_t>(nanoseconds / 1'000'000'000),
                                             static_cast<uint32_t>(nanoseconds % 1'000'000'000));
  return writer->wait_for_acknowledgments(limit) == ReturnCode_t::RETCODE_OK;
}

size_t matched_count(const dds::DataReader* reader) {
  dds::SubscriptionMatchedStatus status;
  const_cast<dds::DataReader*>(reader)->get_subscription_matched_status(status);
  return static_cast<size_t>(status.current_count);
}

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace transport::detail

#include "transport/participant.hpp"

#include <fastdds/rtps/transport/shared_mem/SharedMemTransportDescriptor.h>
#include <fastrtps/utils/IPLocator.h>

#include <cstdlib>
#include <fastdds/dds/domain/DomainParticipantFactory.hpp>
#include <fastdds/dds/domain/qos/DomainParticipantQos.hpp>
#include <stdexcept>

namespace transport {
namespace {

using eprosima::fastdds::dds::DomainParticipantFactory;
using eprosima::fastdds::dds::DomainParticipantQos;

// Fast DDS turns a simple-discovery participant into a client of the servers these variables
// name, wherever they are.
void refuse_discovery_servers() {
  for (const char* variable : {"ROS_DISCOVERY_SERVER", "FASTDDS_ENVIRONMENT_FILE"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      throw std::runtime_error(std::string("refusing to create a participant while ") + variable +
                               " is set: discovery must stay on this host");
    }
  }
}

// The package carries camera images, point clouds and a megabyte of float64 distances: a
// sample up to 2 MiB travels in one piece, with room in the segment for the next one. A
// larger segment takes longer to set up (about 0.1 s for this one), a smaller one cuts such
// samples into dozens of fragments and their round trip grows thirtyfold.
constexpr uint32_t kSegmentSize = 4u << 20;
constexpr uint32_t kLargestUnfragmented = 2u << 20;
// A reliable burst of a thousand small samples overflows the default 512 places of a port;
// what overflows waits for the writer's next heartbeat.
constexpr uint32_t kPortQueue = 4096;

DomainParticipantQos loopback_qos(const std::string& name) {
  DomainParticipantQos qos;
  qos.name(name);
  auto shared_memory = std::make_shared<eprosima::fastdds::rtps::SharedMemTransportDescriptor>();
  shared_memory->segment_size(kSegmentSize);
  shared_memory->max_message_size(kLargestUnfragmented);
  shared_memory->port_queue_capacity(kPortQueue);
  qos.transport().use_builtin_transports = false;
  qos.transport().user_transports = {shared_memory};
  return qos;
}

}  // namespace

void ParticipantDeleter::operator()(eprosima::fastdds::dds::DomainParticipant* participant) const {
  if (participant == nullptr) return;
  participant->delete_contained_entities();
  DomainParticipantFactory::get_instance()->delete_participant(participant);
}

ParticipantPtr create_participant(uint32_t domain, const std::string& name,
                                  eprosima::fastdds::dds::DomainParticipantListener* listener) {
  refuse_discovery_servers();
  const auto mask = listener != nullptr ? eprosima::fastdds::dds::StatusMask::all()
                                        : eprosima::fastdds::dds::StatusMask::none();
  ParticipantPtr participant(DomainParticipantFactory::get_instance()->create_participant(
      domain, loopback_qos(name), listener, mask));
  if (!participant) {
    throw std::runtime_error("the middleware refused a participant '" + name + "' in domain " +
                             std::to_string(domain));
  }
  return participant;
}

bool is_loopback(const eprosima::fastrtps::rtps::Locator_t& locator) {
  using eprosima::fastrtps::rtps::IPLocator;
  switch (locator.kind) {
    case LOCATOR_KIND_SHM:
      return true;
    case LOCATOR_KIND_UDPv4:
    case LOCATOR_KIND_TCPv4:
      return IPLocator::getIPv4(locator)[0] == 127;
    case LOCATOR_KIND_UDPv6:
    case LOCATOR_KIND_TCPv6:
      return IPLocator::toIPv6string(locator) == "::1";
    default:
      return false;
  }
}

}  // namespace transport

#if defined(__SANITIZE_ADDRESS__)
// Fast DDS 2.9 as Debian builds it deletes objects its readers and writers own with a size
// other than the one they were made with (inside RTPSReader's and RTPSWriter's destructors),
// which the sanitizer reports as a new/delete type mismatch in every program that deletes an
// endpoint. Only that check is turned off, and only in programs that make participants (this
// file is in each of them).
// Visible, so that the sanitizer's runtime finds it in the program.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
  return "new_delete_type_mismatch=0";
}
#endif

#include "transport/participant.hpp"

#include <fastdds/rtps/transport/UDPv4TransportDescriptor.h>
#include <fastdds/rtps/transport/shared_mem/SharedMemTransportDescriptor.h>
#include <fastrtps/utils/IPLocator.h>

#include <cstdlib>
#include <fastdds/dds/domain/DomainParticipantFactory.hpp>
#include <fastdds/dds/domain/qos/DomainParticipantQos.hpp>
#include <stdexcept>

#include "middleware_log.hpp"

namespace transport {
namespace {

using eprosima::fastdds::dds::DomainParticipantFactory;
using eprosima::fastdds::dds::DomainParticipantQos;
using eprosima::fastdds::rtps::SharedMemTransportDescriptor;
using eprosima::fastrtps::rtps::IPLocator;
using eprosima::fastrtps::rtps::Locator_t;

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

// Discovery travels as UDP datagrams on 127.0.0.1, never through shared memory. A Fast DDS 2.9
// shared-memory port opens the sender's segment before it takes a message off the port; when
// the sender was a participant that has since been deleted, the open fails and the port retries
// the same message for ever. On a discovery port that happens whenever a short-lived participant
// announces itself while the listener is busy, and the participant then never learns of an
// endpoint again: a server that never matches a new client's reply reader. A datagram carries
// its data with it. No multicast: every participant announces itself to the discovery port of
// each participant id a domain's ports leave room for, on 127.0.0.1 alone.
constexpr uint32_t kParticipantIds = 120;
// A participant that ends without leaving (killed) is dropped by the others once it has missed
// a few announcements, not after the default 20 s.
constexpr int32_t kLeaseSeconds = 5;
constexpr int32_t kAnnouncementSeconds = 1;
// A process that opens a shared-memory port another one made first pings its listener, and when
// no answer comes within this time takes the port for a dead participant's and makes it anew
// ("Zombie. Reset the port"): a listener that was only slow stays deaf to that sender for good.
// The default, 1 s, was missed now and then with three copies of the tests on two cores; a
// listener is taken for dead after as long as a participant is.
constexpr uint32_t kPortHealthCheckMs = kLeaseSeconds * 1000;

Locator_t loopback_udp() {
  Locator_t locator;
  locator.kind = LOCATOR_KIND_UDPv4;
  IPLocator::setIPv4(locator, 127, 0, 0, 1);
  locator.port = 0;  // the port of the participant's id, chosen by the middleware
  return locator;
}

DomainParticipantQos loopback_qos(const std::string& name) {
  DomainParticipantQos qos;
  qos.name(name);
  auto shared_memory = std::make_shared<SharedMemTransportDescriptor>();
  shared_memory->segment_size(kSegmentSize);
  shared_memory->max_message_size(kLargestUnfragmented);
  shared_memory->port_queue_capacity(kPortQueue);
  shared_memory->healthy_check_timeout_ms(kPortHealthCheckMs);
  // User data keeps to shared memory, for speed: with the lists below, the middleware gives a
  // participant only its shared-memory port for data.
  auto udp = std::make_shared<eprosima::fastdds::rtps::UDPv4TransportDescriptor>();
  udp->interfaceWhiteList = {"127.0.0.1"};
  udp->maxInitialPeersRange = kParticipantIds;
  qos.transport().use_builtin_transports = false;
  qos.transport().user_transports = {shared_memory, udp};

  auto& wire = qos.wire_protocol();
  // A unicast list of our own is also what keeps the middleware from adding its multicast one.
  wire.builtin.metatrafficUnicastLocatorList.push_back(loopback_udp());
  wire.builtin.initialPeersList.push_back(loopback_udp());
  wire.builtin.discovery_config.leaseDuration = {kLeaseSeconds, 0};
  wire.builtin.discovery_config.leaseDuration_announcementperiod = {kAnnouncementSeconds, 0};
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
  detail::watch_middleware_log();
  // Discovery reaches a listener whatever its mask; a mask with the data statuses would take
  // every sample away from the readers' own listeners.
  ParticipantPtr participant(DomainParticipantFactory::get_instance()->create_participant(
      domain, loopback_qos(name), listener, eprosima::fastdds::dds::StatusMask::none()));
  if (!participant) {
    throw std::runtime_error("the middleware refused a participant '" + name + "' in domain " +
                             std::to_string(domain));
  }
  return participant;
}

bool is_loopback(const eprosima::fastrtps::rtps::Locator_t& locator) {
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

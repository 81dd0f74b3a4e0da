#pragma once

// The one place where the project makes a DDS participant. Every participant it creates, in
// nodes, tools, tests, benchmarks and the demo, is pinned to this host: it discovers the others
// over UDP on 127.0.0.1 only (no multicast) and sends its data through shared memory, so
// nothing can leave the machine.

#include <fastdds/rtps/common/Locator.h>

#include <cstdint>
#include <fastdds/dds/domain/DomainParticipant.hpp>
#include <fastdds/dds/domain/DomainParticipantListener.hpp>
#include <memory>
#include <string>

namespace transport {

struct ParticipantDeleter {
  void operator()(eprosima::fastdds::dds::DomainParticipant* participant) const;
};
using ParticipantPtr =
    std::unique_ptr<eprosima::fastdds::dds::DomainParticipant, ParticipantDeleter>;

// Throws std::runtime_error when the middleware refuses, or when the environment asks it to
// reach a discovery server: that would move discovery off this host's loopback.
ParticipantPtr create_participant(
    uint32_t domain, const std::string& name,
    eprosima::fastdds::dds::DomainParticipantListener* listener = nullptr);

// True for the locators a loopback-only participant may announce or use: shared memory, and
// UDP or TCP on the IPv4 or IPv6 loopback address.
bool is_loopback(const eprosima::fastrtps::rtps::Locator_t& locator);

}  // namespace transport

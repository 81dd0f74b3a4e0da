#include <fastdds/rtps/common/WriteParams.h>

#include <condition_variable>
#include <map>
#include <mutex>

#include "endpoints.hpp"
#include "transport/log.hpp"
#include "transport/names.hpp"
#include "transport/service.hpp"

namespace transport {

using eprosima::fastrtps::rtps::SequenceNumber_t;

namespace detail {

using eprosima::fastrtps::rtps::GUID_t;
using eprosima::fastrtps::rtps::SampleIdentity;

struct ClientState {
  std::string service;
  std::unique_ptr<ReaderState> replies;
  dds::DataWriter* requests = nullptr;
  GUID_t request_writer;
  GUID_t reply_reader;

  std::mutex mutex;
  std::condition_variable arrived;
  // Calls waiting for their reply, by request sequence number; null until it comes.
  std::map<SequenceNumber_t, MessagePtr> pending;
  // A reply can come before its call knows its sequence number: within the write itself when
  // the server lives in this process. While a call is between write and registration, replies
  // nobody waits for are kept here for it.
  size_t writing = 0;
  std::map<SequenceNumber_t, MessagePtr> unclaimed;

  bool server_matched() const {
    return matched_count(requests) > 0 && matched_count(replies->reader) > 0;
  }

  // A server that replied and then left may have left its reply in our reader, not yet taken.
  bool server_gone() const { return !server_matched() && !replies->delivering(); }

  void take_reply(MessagePtr reply, const dds::SampleInfo& info) {
    const SampleIdentity& related = info.related_sample_identity;
    if (related.writer_guid() != request_writer && related.writer_guid() != reply_reader) return;
    std::lock_guard<std::mutex> lock(mutex);
    const auto call = pending.find(related.sequence_number());
    if (call != pending.end()) {
      if (!call->second) call->second = std::move(reply);  // else a duplicate
      arrived.notify_all();
    } else if (writing > 0) {
      unclaimed.emplace(related.sequence_number(), std::move(reply));
    }
  }

  // Under the lock, once a call's write is done: its reply if it came already. When no other
  // call is still writing, what is left unclaimed belongs to no call.
  MessagePtr finish_write(const SequenceNumber_t* sequence) {
    --writing;
    MessagePtr reply;
    if (sequence != nullptr) {
      const auto early = unclaimed.find(*sequence);
      if (early != unclaimed.end()) reply = std::move(early->second);
    }
    if (writing == 0) unclaimed.clear();
    return reply;
  }

  // Why a written request got no reply in time.
  std::string why_unanswered(bool server_left, std::chrono::milliseconds timeout) {
    const std::string within = " within " + std::to_string(timeout.count()) + " ms";
    if (server_left) return "the server left before it replied";
    if (!wait_for_acknowledgments(requests, std::chrono::milliseconds(0))) {
      return "the server did not acknowledge the request" + within;
    }
    return "the server has the request but no reply came" + within +
           " (it may not reach this client's reply reader)";
  }
};

namespace {
// How often a waiting call looks whether its server is still there.
constexpr std::chrono::milliseconds kPresenceCheck{20};
}  // namespace

}  // namespace detail

ServiceClient::ServiceClient(Node& node, const std::string& service, const ServiceSupport& support)
    : core_(node.core()), state_(std::make_unique<detail::ClientState>()) {
  detail::ClientState* state = state_.get();
  state->service = service;
  state->replies = std::make_unique<detail::ReaderState>(
      support.response.ops, [state](MessagePtr reply, const detail::dds::SampleInfo& info) {
        state->take_reply(std::move(reply), info);
      });
  state->requests = core_->create_writer(names::request_topic(service), support.request);
  state->request_writer = state->requests->guid();
  state->replies->reader =
      core_->create_reader(names::reply_topic(service), support.response, state->replies.get());
  state->reply_reader = state->replies->reader->guid();
}

ServiceClient::~ServiceClient() {
  core_->delete_reader(state_->replies->reader);
  core_->delete_writer(state_->requests);
}

bool ServiceClient::wait_for_service(std::chrono::milliseconds timeout) const {
  return detail::wait_until([&] { return state_->server_matched(); }, timeout);
}

MessagePtr ServiceClient::call(const void* request, std::chrono::milliseconds timeout,
                               std::string* failure) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  detail::ClientState& state = *state_;
  const auto fail = [&](const std::string& reason) {
    log("a call of " + state.service + " failed: " + reason);
    if (failure != nullptr) *failure = reason;
    return MessagePtr();
  };
  // A request written before a server matches reaches nobody.
  if (!wait_for_service(timeout)) {
    return fail("no server matched within " + std::to_string(timeout.count()) + " ms");
  }
  eprosima::fastrtps::rtps::WriteParams params;
  // Tells the server which of our readers the reply goes to.
  params.related_sample_identity().writer_guid(state.reply_reader);

  std::unique_lock<std::mutex> lock(state.mutex);
  ++state.writing;
  lock.unlock();
  const bool written = state.requests->write(const_cast<void*>(request), params);
  lock.lock();
  if (!written) {
    state.finish_write(nullptr);
    lock.unlock();
    return fail("the request could not be written");
  }
  const SequenceNumber_t sequence = params.sample_identity().sequence_number();
  if (MessagePtr early = state.finish_write(&sequence)) return early;

  state.pending.emplace(sequence, nullptr);
  bool server_left = false;
  while (!state.pending[sequence] && std::chrono::steady_clock::now() < deadline) {
    state.arrived.wait_until(lock,
                             std::min(deadline, std::chrono::steady_clock::now() +
                                                    detail::kPresenceCheck),
                             [&] { return state.pending[sequence] != nullptr; });
    if (state.pending[sequence]) break;
    lock.unlock();
    server_left = state.server_gone();
    lock.lock();
    if (server_left) break;
  }
  MessagePtr reply = std::move(state.pending[sequence]);
  state.pending.erase(sequence);
  lock.unlock();
  if (reply) return reply;
  return fail(state.why_unanswered(server_left, timeout));
}

}  // namespace transport

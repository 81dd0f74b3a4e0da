#include "transport/service.hpp"

#include <fastdds/rtps/common/InstanceHandle.h>
#include <fastdds/rtps/common/WriteParams.h>

#include <condition_variable>
#include <fastdds/dds/publisher/DataWriterListener.hpp>
#include <map>
#include <mutex>
#include <set>

#include "endpoints.hpp"
#include "transport/log.hpp"
#include "transport/names.hpp"

namespace transport {

using eprosima::fastrtps::rtps::SequenceNumber_t;

namespace detail {

using eprosima::fastrtps::rtps::GUID_t;
using eprosima::fastrtps::rtps::SampleIdentity;
using eprosima::fastrtps::rtps::WriteParams;

// The readers a server's reply writer reaches. A client's reply reader and request writer
// are discovered independently, so a request can come in before the reply can go out.
struct MatchedReaders : dds::DataWriterListener {
  void on_publication_matched(dds::DataWriter*,
                              const dds::PublicationMatchedStatus& status) override {
    const GUID_t reader = eprosima::fastrtps::rtps::iHandle2GUID(status.last_subscription_handle);
    std::lock_guard<std::mutex> lock(mutex);
    if (status.current_count_change > 0) readers.insert(reader);
    if (status.current_count_change < 0) readers.erase(reader);
  }

  bool reaches(const RequestId& id) {
    std::lock_guard<std::mutex> lock(mutex);
    if (id.reply_reader != GUID_t::unknown()) return readers.count(id.reply_reader) > 0;
    for (const GUID_t& reader : readers) {
      if (reader.guidPrefix == id.identity.writer_guid().guidPrefix) return true;
    }
    return false;
  }

  std::mutex mutex;
  std::set<GUID_t> readers;
};

struct ClientState {
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
};

}  // namespace detail

namespace {
// How long a reply waits for the client's reply reader to be discovered. Discovery of the
// two sides is not symmetric: the client may know the server while the server has yet to learn
// of the client's reader, and a discovery message that must be sent again waits for the
// middleware's own heartbeat, 3 s by default. A reply written before then would be lost, so
// the wait covers one such repair; it costs nothing once the reader is known.
constexpr std::chrono::milliseconds kReplyReaderWait{5000};
}  // namespace

ServiceServer::ServiceServer(Node& node, const std::string& service, const ServiceSupport& support,
                             Handler handler)
    : core_(node.core()),
      matched_(std::make_unique<detail::MatchedReaders>()),
      requests_(std::make_unique<detail::ReaderState>(
          support.request.ops, [this, handler = std::move(handler)](
                                   MessagePtr message, const detail::dds::SampleInfo& info) {
            handler(*this, std::move(message),
                    RequestId{info.sample_identity, info.related_sample_identity.writer_guid()});
          })) {
  // The reply writer comes first: a request may arrive as soon as the reader exists.
  replies_ = core_->create_writer(names::reply_topic(service), support.response, matched_.get());
  requests_->reader =
      core_->create_reader(names::request_topic(service), support.request, requests_.get());
}

ServiceServer::~ServiceServer() {
  core_->delete_reader(requests_->reader);
  core_->delete_writer(replies_);
}

bool ServiceServer::send_reply(const RequestId& id, const void* response) {
  if (!detail::wait_until([&] { return matched_->reaches(id); }, kReplyReaderWait)) {
    log("the client's reply reader is still unknown; replying anyway");
  }
  eprosima::fastrtps::rtps::WriteParams params;
  params.related_sample_identity(id.identity);
  return replies_->write(const_cast<void*>(response), params);
}

bool ServiceServer::wait_for_acknowledgments(std::chrono::milliseconds timeout) const {
  return detail::wait_for_acknowledgments(replies_, timeout);
}

ServiceClient::ServiceClient(Node& node, const std::string& service, const ServiceSupport& support)
    : core_(node.core()), state_(std::make_unique<detail::ClientState>()) {
  detail::ClientState* state = state_.get();
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
  return detail::wait_until(
      [&] {
        return detail::matched_count(state_->requests) > 0 &&
               detail::matched_count(state_->replies->reader) > 0;
      },
      timeout);
}

MessagePtr ServiceClient::call(const void* request, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  detail::ClientState& state = *state_;
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
    return nullptr;
  }
  const SequenceNumber_t sequence = params.sample_identity().sequence_number();
  if (MessagePtr early = state.finish_write(&sequence)) return early;

  state.pending.emplace(sequence, nullptr);
  state.arrived.wait_until(lock, deadline, [&] { return state.pending[sequence] != nullptr; });
  MessagePtr reply = std::move(state.pending[sequence]);
  state.pending.erase(sequence);
  return reply;
}

}  // namespace transport

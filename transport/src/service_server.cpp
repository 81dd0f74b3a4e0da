#include <fastdds/rtps/common/InstanceHandle.h>
#include <fastdds/rtps/common/WriteParams.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <fastdds/dds/publisher/DataWriterListener.hpp>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "endpoints.hpp"
#include "transport/log.hpp"
#include "transport/message_type.hpp"
#include "transport/names.hpp"
#include "transport/service.hpp"

namespace transport {

namespace detail {

using eprosima::fastrtps::rtps::GUID_t;
using Clock = std::chrono::steady_clock;

namespace {
// How long a reply waits for the client's reply reader to be discovered. Discovery of the
// two sides is not symmetric: the client may know the server while the server has yet to learn
// of the client's reader, and a discovery message that must be sent again waits for the
// middleware's own heartbeat, 3 s by default; the wait covers two such repairs (one was not
// always enough for a sanitizer build on two busy cores), and stays well inside a call's time.
constexpr std::chrono::milliseconds kReplyReaderWait{10000};

// The client a reply is for, as a person reading the log can find it again.
std::string client_of(const RequestId& id) {
  std::ostringstream text;
  if (id.reply_reader != GUID_t::unknown()) {
    text << "reply reader " << id.reply_reader;
  } else {
    text << "request writer " << id.identity.writer_guid();
  }
  return text.str();
}
}  // namespace

// The readers a server's reply writer reaches. A client's reply reader and request writer
// are discovered independently, so a request can come in before the reply can go out.
struct MatchedReaders : dds::DataWriterListener {
  explicit MatchedReaders(std::function<void()> changed) : changed(std::move(changed)) {}

  void on_publication_matched(dds::DataWriter*,
                              const dds::PublicationMatchedStatus& status) override {
    const GUID_t reader = eprosima::fastrtps::rtps::iHandle2GUID(status.last_subscription_handle);
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (status.current_count_change > 0) readers.insert(reader);
      if (status.current_count_change < 0) readers.erase(reader);
    }
    changed();
  }

  bool reaches(const RequestId& id) {
    std::lock_guard<std::mutex> lock(mutex);
    if (id.reply_reader != GUID_t::unknown()) return readers.count(id.reply_reader) > 0;
    for (const GUID_t& reader : readers) {
      if (reader.guidPrefix == id.identity.writer_guid().guidPrefix) return true;
    }
    return false;
  }

  const std::function<void()> changed;
  std::mutex mutex;
  std::set<GUID_t> readers;
};

// The server's own thread: it runs the handler for each request, so that the middleware's
// thread that delivered it goes on at once, and it writes each reply that waited for its
// client's reply reader as soon as the reader is known.
struct ServerThread {
  struct Request {
    MessagePtr message;
    RequestId id;
  };
  struct WaitingReply {
    RequestId id;
    MessagePtr response;
    Clock::time_point deadline;
  };

  explicit ServerThread(ServiceServer& server) : server(server) {}

  void start() { thread = std::thread([this] { run(); }); }

  // Ends the thread; what still waits is dropped, each with a line in the log.
  void stop() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stopping = true;
    }
    changed.notify_all();
    if (thread.joinable()) thread.join();
    for (const WaitingReply& reply : waiting) {
      log("the server of " + server.reply_topic_ + " closed before it could reach the " +
          client_of(reply.id) + ": that reply is dropped");
    }
    waiting.clear();
  }

  void push(Request request) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      requests.push_back(std::move(request));
    }
    changed.notify_all();
  }

  void wait_for_reader(const RequestId& id, MessagePtr response) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      waiting.push_back({id, std::move(response), Clock::now() + kReplyReaderWait});
    }
    changed.notify_all();
  }

  void readers_changed() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      readers_moved = true;
    }
    changed.notify_all();
  }

  void run() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      changed.wait_until(lock, next_deadline(),
                         [&] { return stopping || !requests.empty() || readers_moved; });
      if (stopping) return;
      readers_moved = false;
      std::deque<Request> arrived = std::move(requests);
      std::vector<WaitingReply> due = take_due();
      writing = due.size();
      lock.unlock();
      for (Request& request : arrived) answer(request);
      for (WaitingReply& reply : due) {
        if (!server.matched_->reaches(reply.id)) {
          log("no reply reader of the " + client_of(reply.id) + " on " + server.reply_topic_ +
              " appeared within " + std::to_string(kReplyReaderWait.count()) +
              " ms: its reply is dropped");
          ++lost;
        } else if (!server.write_reply(reply.id, reply.response.get())) {
          log("the reply on " + server.reply_topic_ + " to the " + client_of(reply.id) +
              " could not be written");
          ++lost;
        }
      }
      lock.lock();
      writing = 0;
      settled.notify_all();
    }
  }

  // Until every reply sent so far has been written or given up: none waits for its client's
  // reader and none is being written. False when the time is up first or one was given up.
  bool wait_until_written(Clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex);
    const bool done =
        settled.wait_until(lock, deadline, [&] { return waiting.empty() && writing == 0; });
    return done && lost == 0;
  }

  // Nothing may escape from a handler into this thread.
  void answer(Request& request) {
    try {
      server.handler_(server, std::move(request.message), request.id);
    } catch (const std::exception& error) {
      log("the handler of " + server.reply_topic_ + " failed: " + error.what());
    }
  }

  // Under the lock: the replies that can go now and those whose time is up.
  std::vector<WaitingReply> take_due() {
    std::vector<WaitingReply> due;
    const Clock::time_point now = Clock::now();
    for (auto reply = waiting.begin(); reply != waiting.end();) {
      if (reply->deadline <= now || server.matched_->reaches(reply->id)) {
        due.push_back(std::move(*reply));
        reply = waiting.erase(reply);
      } else {
        ++reply;
      }
    }
    return due;
  }

  Clock::time_point next_deadline() const {
    Clock::time_point next = Clock::time_point::max();
    for (const WaitingReply& reply : waiting) next = std::min(next, reply.deadline);
    return next;
  }

  ServiceServer& server;
  std::thread thread;
  std::mutex mutex;
  std::condition_variable changed;
  std::condition_variable settled;
  std::deque<Request> requests;
  std::vector<WaitingReply> waiting;
  // Taken off `waiting` and not yet written, and those that never will be.
  size_t writing = 0;
  size_t lost = 0;
  bool readers_moved = false;
  bool stopping = false;
};

}  // namespace detail

ServiceServer::ServiceServer(Node& node, const std::string& service, const ServiceSupport& support,
                             Handler handler)
    : core_(node.core()),
      reply_topic_(names::reply_topic(service)),
      handler_(std::move(handler)),
      thread_(std::make_unique<detail::ServerThread>(*this)),
      matched_(std::make_unique<detail::MatchedReaders>([this] { thread_->readers_changed(); })),
      requests_(std::make_unique<detail::ReaderState>(
          support.request.ops, [this](MessagePtr message, const detail::dds::SampleInfo& info) {
            thread_->push({std::move(message),
                           RequestId{info.sample_identity,
                                     info.related_sample_identity.writer_guid()}});
          })) {
  thread_->start();
  try {
    // The reply writer comes first: a request may arrive as soon as the reader exists.
    replies_ = core_->create_writer(reply_topic_, support.response, matched_.get());
    requests_->reader =
        core_->create_reader(names::request_topic(service), support.request, requests_.get());
  } catch (...) {
    core_->delete_writer(replies_);
    thread_->stop();
    throw;
  }
}

ServiceServer::~ServiceServer() {
  // No request comes once the reader is gone; the thread then finishes the one it runs.
  core_->delete_reader(requests_->reader);
  thread_->stop();
  core_->delete_writer(replies_);
}

bool ServiceServer::send_reply(const RequestId& id, const void* response) {
  if (matched_->reaches(id)) return write_reply(id, response);
  auto* type = dynamic_cast<CdrMessageType*>(replies_->get_type().get());
  MessagePtr kept = type != nullptr ? type->copy(response) : nullptr;
  if (!kept) return false;
  thread_->wait_for_reader(id, std::move(kept));
  return true;
}

bool ServiceServer::write_reply(const RequestId& id, const void* response) {
  eprosima::fastrtps::rtps::WriteParams params;
  params.related_sample_identity(id.identity);
  return replies_->write(const_cast<void*>(response), params);
}

bool ServiceServer::wait_for_acknowledgments(std::chrono::milliseconds timeout) const {
  // A reply still waiting for its client's reply reader is not in the writer yet.
  const detail::Clock::time_point deadline = detail::Clock::now() + timeout;
  if (!thread_->wait_until_written(deadline)) return false;
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - detail::Clock::now());
  return detail::wait_for_acknowledgments(replies_, std::max(left, std::chrono::milliseconds(0)));
}

}  // namespace transport

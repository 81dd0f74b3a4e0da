#include "topic.hpp"

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "filler.hpp"
#include "printer.hpp"
#include "transport/node.hpp"
#include "type_support.hpp"

namespace inspect {
namespace {

using Members = rosidl_typesupport_introspection_c__MessageMembers;

std::atomic<bool> interrupted{false};

extern "C" void on_signal(int) { interrupted = true; }

transport::MessageSupport table_support(const rosidl_message_type_support_t* dispatch,
                                        const Members& members) {
  return {dispatch,
          {[&members] { return new_message(members); },
           [&members](void* message) { delete_message(members, message); }}};
}

std::chrono::steady_clock::time_point after(double seconds) {
  return std::chrono::steady_clock::now() +
         std::chrono::duration_cast<std::chrono::steady_clock::duration>(
             std::chrono::duration<double>(seconds));
}

// The middleware's refusals, told as the tool tells every failure.
template <typename Body>
auto reporting(Body body) {
  try {
    return body();
  } catch (const Failure&) {
    throw;
  } catch (const std::invalid_argument& error) {
    throw Failure(error.what());
  } catch (const std::runtime_error& error) {
    throw Failure(error.what());
  }
}

}  // namespace

int echo(const TopicOptions& options) {
  const rosidl_message_type_support_t* dispatch = dispatch_record(options.type_name);
  const Members& members = introspection(*dispatch);

  // A node leaves its shared memory behind unless it is destroyed: an interrupt ends the wait
  // below instead of the process.
  std::signal(SIGINT, on_signal);
  std::signal(SIGTERM, on_signal);

  std::mutex output;
  std::atomic<size_t> printed{0};
  reporting([&] {
    transport::Node node("corvanthelis_inspect", {options.domain, options.partition});
    transport::Subscription subscription(node, options.topic, table_support(dispatch, members),
                                         [&](transport::MessagePtr message) {
                                           std::lock_guard<std::mutex> lock(output);
                                           if (options.count != 0 && printed >= options.count)
                                             return;
                                           print_value(std::cout, members, message.get());
                                           std::cout << "---" << std::endl;
                                           ++printed;
                                         });
    const auto deadline = after(options.timeout);
    while (!interrupted && (options.count == 0 || printed < options.count) &&
           (options.timeout == 0.0 || std::chrono::steady_clock::now() < deadline)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
  });
  const bool complete = options.count == 0 || printed >= options.count || interrupted;
  return complete ? 0 : 1;
}

void pub(const TopicOptions& options, const Value& value) {
  const rosidl_message_type_support_t* dispatch = dispatch_record(options.type_name);
  const Members& members = introspection(*dispatch);
  const transport::MessageSupport support = table_support(dispatch, members);
  const transport::MessagePtr message = transport::make_message(support.ops);
  fill_message(members, message.get(), value);

  reporting([&] {
    transport::Node node("corvanthelis_inspect", {options.domain, options.partition});
    transport::Publisher publisher(node, options.topic, support);
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::duration<double>(options.wait));
    if (!publisher.wait_for_subscribers(1, wait)) {
      throw Failure("no subscriber of " + options.topic + " appeared within " +
                    std::to_string(wait.count()) + " ms: nothing was sent");
    }
    if (!publisher.publish(message.get())) throw Failure("the middleware did not take the sample");
    if (!publisher.wait_for_acknowledgments(std::chrono::seconds(5))) {
      throw Failure("the subscribers did not acknowledge the sample within 5 s");
    }
    return 0;
  });
}

}  // namespace inspect

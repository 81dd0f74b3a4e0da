#include "echo.hpp"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>

#include "printer.hpp"
#include "transport/node.hpp"
#include "type_support.hpp"

namespace inspect {
namespace {

using Members = rosidl_typesupport_introspection_c__MessageMembers;

std::atomic<bool> interrupted{false};

extern "C" void on_signal(int) { interrupted = true; }

// A C structure made and released through the type's table: the tool knows no type.
transport::MessageOps table_ops(const Members& members) {
  return {[&members] {
            void* message = std::calloc(1, members.size_of_);
            if (message == nullptr) throw std::bad_alloc();
            members.init_function(message, ROSIDL_RUNTIME_C_MSG_INIT_ALL);
            return message;
          },
          [&members](void* message) {
            members.fini_function(message);
            std::free(message);
          }};
}

}  // namespace

int echo(const EchoOptions& options) {
  const rosidl_message_type_support_t* dispatch = dispatch_record(options.type_name);
  const Members& members = introspection(*dispatch);

  // The node leaves its shared memory behind unless it is destroyed: an interrupt ends the
  // wait below instead of the process.
  std::signal(SIGINT, on_signal);
  std::signal(SIGTERM, on_signal);

  std::mutex output;
  std::atomic<size_t> printed{0};
  try {
    transport::Node node("corvanthelis_inspect", {options.domain, options.partition});
    transport::Subscription subscription(
        node, options.topic, {dispatch, table_ops(members)}, [&](transport::MessagePtr message) {
          std::lock_guard<std::mutex> lock(output);
          if (options.count != 0 && printed >= options.count) return;
          print_value(std::cout, members, message.get());
          std::cout << "---" << std::endl;
          ++printed;
        });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(options.timeout);
    while (!interrupted && (options.count == 0 || printed < options.count) &&
           (options.timeout == 0.0 || std::chrono::steady_clock::now() < deadline)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  } catch (const std::invalid_argument& error) {
    throw Failure(error.what());
  } catch (const std::runtime_error& error) {
    throw Failure(error.what());
  }
  const bool complete = options.count == 0 || printed >= options.count || interrupted;
  return complete ? 0 : 1;
}

}  // namespace inspect

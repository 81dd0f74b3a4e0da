// A node that ends normally leaves no shared-memory files behind, whether it ends with its
// process or within it. Runs alone: other tests' files would come and go meanwhile.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "c_types.hpp"
#include "inbox.hpp"
#include "peer_process.hpp"
#include "transport/node.hpp"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kDomain = TEST_DOMAIN;
constexpr auto kPatience = 20s;

std::set<std::string> middleware_files() {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/shm")) {
    const std::string name = entry.path().filename().string();
    if (name.find("fastrtps") != std::string::npos) names.insert(name);
  }
  return names;
}

std::set<std::string> added(const std::set<std::string>& before,
                            const std::set<std::string>& after) {
  std::set<std::string> result;
  for (const std::string& name : after) {
    if (!before.count(name)) result.insert(name);
  }
  return result;
}

std::string listed(const std::set<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += " " + name;
  return text;
}

TEST(Shutdown, NodesLeaveNoSharedMemoryBehind) {
  const std::string partition = transport_test::run_partition("shutdown");
  const std::set<std::string> before = middleware_files();
  {
    transport::Node node("short_lived", {kDomain, partition});
    transport_test::Inbox inbox;
    transport::Subscription subscription(node, "/self", transport_test::trashes_c(),
                                         inbox.callback());
    transport::Publisher publisher(node, "/self", transport_test::trashes_c());
    ASSERT_TRUE(publisher.wait_for_subscribers(1, kPatience));
    transport::MessagePtr message = transport::make_message(transport_test::trashes_c().ops);
    ASSERT_TRUE(publisher.publish(message.get()));
    ASSERT_TRUE(inbox.wait_for(1, kPatience));
    ASSERT_FALSE(added(before, middleware_files()).empty())
        << "the node made no files: nothing is tested";
  }
  EXPECT_EQ(listed(added(before, middleware_files())), "") << "left by a node of this process";

  transport_test::PeerProcess peer({TRANSPORT_PEER, "self", std::to_string(kDomain), partition});
  ASSERT_EQ(peer.wait(kPatience), 0);
  EXPECT_EQ(listed(added(before, middleware_files())), "")
      << "left by a process that ended normally";
}

// A Python program that never closes its node: the module closes it at the interpreter's exit.
TEST(Shutdown, APythonNodeLeftOpenLeavesNoSharedMemoryBehind) {
#ifdef PYTHON_NEEDS_SANITIZER_RUNTIME
  GTEST_SKIP() << "the extension module is instrumented, the interpreter is not";
#endif
  const std::string partition = transport_test::run_partition("shutdown_python");
  const std::set<std::string> before = middleware_files();
  const std::string program =
      "import corvanthelis_transport as t\n"
      "from corvanthelis_interfaces.msg import Trashes\n"
      "node = t.Node('left_open', domain=" +
      std::to_string(kDomain) + ", partition='" + partition +
      "')\n"
      "received = []\n"
      "node.create_subscription(Trashes, '/self', received.append)\n"
      "publisher = node.create_publisher(Trashes, '/self')\n"
      "assert publisher.wait_for_subscribers(1, 20.0)\n"
      "publisher.publish(Trashes())\n"
      "assert node.spin_once(20.0) and len(received) == 1\n";
  setenv("PYTHONPATH", PYTHON_TREE, 1);
  transport_test::PeerProcess python({PYTHON_EXECUTABLE, "-c", program});
  ASSERT_EQ(python.wait(kPatience), 0);
  EXPECT_EQ(listed(added(before, middleware_files())), "")
      << "left by a Python process that ended normally";
}

}  // namespace

// A node that ends normally leaves no shared-memory files behind, whether it ends with its
// process or within it. Only the files this test's own processes made are judged, by whether
// they outlived their owner: other middleware processes on the host make, take over and remove
// theirs meanwhile.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include "c_types.hpp"
#include "inbox.hpp"
#include "peer_process.hpp"
#include "shm_files.hpp"
#include "transport/node.hpp"

namespace {

using namespace std::chrono_literals;
using transport_test::listed;
using transport_test::left_behind;

constexpr uint32_t kDomain = TEST_DOMAIN;
constexpr auto kPatience = 20s;

// What a process made: the files it mapped that were not there before it started.
std::set<std::string> made(const std::set<std::string>& mapped, const std::set<std::string>& before) {
  std::set<std::string> result;
  for (const std::string& name : mapped) {
    if (!before.count(name)) result.insert(name);
  }
  return result;
}

TEST(Shutdown, NodesLeaveNoSharedMemoryBehind) {
  const std::string partition = transport_test::run_partition("shutdown");
  std::set<std::string> ours;
  {
    const std::set<std::string> before = transport_test::middleware_files();
    transport::Node node("short_lived", {kDomain, partition});
    transport_test::Inbox inbox;
    transport::Subscription subscription(node, "/self", transport_test::trashes_c(),
                                         inbox.callback());
    transport::Publisher publisher(node, "/self", transport_test::trashes_c());
    ASSERT_TRUE(publisher.wait_for_subscribers(1, kPatience));
    transport::MessagePtr message = transport::make_message(transport_test::trashes_c().ops);
    ASSERT_TRUE(publisher.publish(message.get()));
    ASSERT_TRUE(inbox.wait_for(1, kPatience));
    ours = made(transport_test::mapped_middleware_files(getpid()), before);
    ASSERT_FALSE(ours.empty()) << "the node made no files: nothing is tested";
  }
  EXPECT_EQ(listed(left_behind(ours)), "") << "left by a node of this process";

  const std::set<std::string> before = transport_test::middleware_files();
  const transport_test::OutputFile said(partition);
  transport_test::PeerProcess peer({TRANSPORT_PEER, "self", std::to_string(kDomain), partition},
                                   said.path);
  ASSERT_EQ(peer.wait(kPatience), 0);
  std::set<std::string> mapped = peer.mapped_files();
  std::istringstream names(said.text());
  for (std::string name; std::getline(names, name);) mapped.insert(name);
  const std::set<std::string> theirs = made(mapped, before);
  ASSERT_FALSE(theirs.empty()) << "the peer made no files: nothing is tested";
  EXPECT_EQ(listed(left_behind(theirs)), "") << "left by a process that ended normally";
}

// A Python program that never closes its node: the module closes it at the interpreter's exit.
TEST(Shutdown, APythonNodeLeftOpenLeavesNoSharedMemoryBehind) {
#ifdef PYTHON_NEEDS_SANITIZER_RUNTIME
  GTEST_SKIP() << "the extension module is instrumented, the interpreter is not";
#endif
  const std::string partition = transport_test::run_partition("shutdown_python");
  const std::set<std::string> before = transport_test::middleware_files();
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
  const std::set<std::string> theirs = made(python.mapped_files(), before);
  ASSERT_FALSE(theirs.empty()) << "the program made no files: nothing is tested";
  EXPECT_EQ(listed(left_behind(theirs)), "") << "left by a Python process that ended normally";
}

}  // namespace

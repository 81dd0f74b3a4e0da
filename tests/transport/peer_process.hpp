#pragma once

// Another process of a test: started with arguments, waited for with a time limit, killed
// if the test gives up on it.

#include <chrono>
#include <set>
#include <string>
#include <vector>

namespace transport_test {

class PeerProcess {
 public:
  // The process's standard output goes to `output` when one is named.
  explicit PeerProcess(const std::vector<std::string>& arguments, const std::string& output = "");
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  // The exit status, or -1 when it did not end in time (it is then killed).
  int wait(std::chrono::milliseconds timeout);

  // Ends it at once, as a crash would: nothing of it runs any more, not even its exit.
  void kill();

  // The middleware's files in /dev/shm it had mapped while it was watched, which is while
  // wait() waits and at each call of this.
  const std::set<std::string>& mapped_files();

 private:
  int pid_ = -1;
  std::set<std::string> mapped_;
};

// Where a peer's standard output goes, removed with the test.
struct OutputFile {
  explicit OutputFile(const std::string& name);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  std::string text() const;
  const std::string path;
};

// A partition no other run on this host uses, so that parallel runs never hear each other.
std::string run_partition(const std::string& test_name);

}  // namespace transport_test

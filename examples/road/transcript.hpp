#pragma once

// What a demo node sent and received, one file per direction and channel, as YAML documents
// in order: <folder>/<node>/sent/<channel> and .../received/<channel>. demo.sh compares one
// node's sent file with the other's received file.

#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

namespace road {

class Transcript {
 public:
  Transcript(const std::filesystem::path& folder, const std::string& node) : root_(folder / node) {
    std::filesystem::create_directories(root_ / "sent");
    std::filesystem::create_directories(root_ / "received");
  }

  void sent(const std::string& channel, const std::string& yaml) { note("sent", channel, yaml); }
  void received(const std::string& channel, const std::string& yaml) {
    note("received", channel, yaml);
  }

 private:
  void note(const std::string& direction, const std::string& channel, const std::string& yaml) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::ofstream(root_ / direction / channel, std::ios::app) << yaml << "---\n";
  }

  std::filesystem::path root_;
  std::mutex mutex_;
};

}  // namespace road

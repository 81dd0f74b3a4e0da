#include "peer_process.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "shm_files.hpp"
#include "support/programs.hpp"

extern char** environ;

namespace transport_test {

PeerProcess::PeerProcess(const std::vector<std::string>& arguments, const std::string& output) {
  const std::vector<std::string> words = programs::launched(arguments);
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!output.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  const int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    pid_ = -1;
    throw std::runtime_error("cannot start " + arguments.front());
  }
}

PeerProcess::~PeerProcess() {
  if (pid_ > 0) wait(std::chrono::milliseconds(0));
}

int PeerProcess::wait(std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    mapped_files();
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      pid_ = -1;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void PeerProcess::kill() {
  if (pid_ <= 0) return;
  mapped_files();
  ::kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

const std::set<std::string>& PeerProcess::mapped_files() {
  if (pid_ > 0) {
    const std::set<std::string> now = mapped_middleware_files(pid_);
    mapped_.insert(now.begin(), now.end());
  }
  return mapped_;
}

OutputFile::OutputFile(const std::string& name)
    : path((std::filesystem::temp_directory_path() / (name + ".out")).string()) {}

OutputFile::~OutputFile() { std::remove(path.c_str()); }

std::string OutputFile::text() const {
  std::ifstream file(path);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

std::string run_partition(const std::string& test_name) {
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return test_name + "_" + std::to_string(getpid()) + "_" + std::to_string(now);
}

}  // namespace transport_test

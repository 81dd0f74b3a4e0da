#include "shm_files.hpp"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace transport_test {
namespace {

const std::string kFolder = "/dev/shm/";

bool is_middleware_file(const std::string& name) {
  return name.find("fastrtps_") != std::string::npos;
}

// The middleware's owner of a segment or port holds an exclusive lock on "<name>_el" for as
// long as it lives; a lock that can be taken has no owner left. A port whose lock file is gone
// has no listener either: the middleware removes the lock of a port it found dead, and leaves
// the port.
bool is_port(const std::string& name) { return name.rfind("fastrtps_port", 0) == 0; }

bool owner_gone(const std::string& name) {
  const int lock = ::open((kFolder + name + "_el").c_str(), O_RDONLY);
  if (lock < 0) return errno == ENOENT && is_port(name);
  const bool free = ::flock(lock, LOCK_EX | LOCK_NB) == 0;
  ::close(lock);
  return free;
}

}  // namespace

std::set<std::string> mapped_middleware_files(pid_t pid) {
  std::set<std::string> names;
  std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
  for (std::string line; std::getline(maps, line);) {
    const auto at = line.find(kFolder);
    if (at == std::string::npos) continue;
    const std::string name = line.substr(at + kFolder.size());
    if (is_middleware_file(name)) names.insert(name);
  }
  return names;
}

std::set<std::string> middleware_files() {
  std::set<std::string> names;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(kFolder, ignored)) {
    const std::string name = entry.path().filename().string();
    if (is_middleware_file(name)) names.insert(name);
  }
  return names;
}

std::set<std::string> left_behind(const std::set<std::string>& names) {
  std::set<std::string> left;
  for (const std::string& name : names) {
    const bool lock_or_semaphore = name.rfind("sem.", 0) == 0 || name.size() < 3 ||
                                   name.compare(name.size() - 3, 3, "_el") == 0;
    std::error_code unknown;
    if (lock_or_semaphore || !std::filesystem::exists(kFolder + name, unknown)) continue;
    const bool port = is_port(name);
    const bool has_lock = std::filesystem::exists(kFolder + name + "_el", unknown);
    if (port ? has_lock && owner_gone(name) : !has_lock || owner_gone(name)) left.insert(name);
  }
  return left;
}

std::set<std::string> remove_if_owner_gone(const std::set<std::string>& names) {
  std::set<std::string> removed;
  for (const std::string& name : names) {
    if (!owner_gone(name)) continue;
    for (const std::string& part : {name, name + "_el", "sem." + name + "_mutex"}) {
      std::error_code missing;
      if (std::filesystem::remove(kFolder + part, missing)) removed.insert(part);
    }
  }
  return removed;
}

std::string listed(const std::set<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += " " + name;
  return text;
}

}  // namespace transport_test

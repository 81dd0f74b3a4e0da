#pragma once

// The middleware's files in /dev/shm, judged by who made them: other middleware processes on
// the host (another test run, a demo, a user's node) make and remove theirs meanwhile, so a test
// looks only at the files its own processes have mapped and that were not there before them.

#include <sys/types.h>

#include <set>
#include <string>

namespace transport_test {

// The names in /dev/shm of the middleware files a process has mapped: its own segment and
// ports, and the ports of the participants it sends to.
std::set<std::string> mapped_middleware_files(pid_t pid);

// Every middleware file in /dev/shm now.
std::set<std::string> middleware_files();

// The segments and ports among `names` that are still in /dev/shm with no owner: left behind by
// whoever made them. A port number belongs to a participant id, so another participant may
// have taken a port over (it holds the port's lock), and a sender may have made a port again
// after its listener left (it has no lock at all); neither is left behind.
std::set<std::string> left_behind(const std::set<std::string>& names);

// Removes those of `names` whose owner is gone (no process holds the file's lock any more),
// with their lock and semaphore files, as the middleware itself never does for a killed
// process. Returns what it removed.
std::set<std::string> remove_if_owner_gone(const std::set<std::string>& names);

// " a b c" for a failure message.
std::string listed(const std::set<std::string>& names);

}  // namespace transport_test

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>

#include "definition_tree.hpp"
#include "naming.hpp"
#include "support/programs.hpp"

namespace idlc::test {
namespace {

std::string read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::set<std::string> files_under(const fs::path& root) {
  std::set<std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), root).string());
  }
  return files;
}

class Cli : public DefinitionTree {
 protected:
  struct Run {
    int status;
    std::string out;
    std::string err;
  };

  Run run(const std::vector<std::string>& definitions, const std::string& extra = "") {
    std::string command = programs::command(IDLC_PATH) + " --package " + kPackage + " --output '" +
                          output().string() + "'";
    for (const auto& [package, root] : search_path_) command += " --search " + package + "=" + root;
    for (const std::string& definition : definitions) {
      command += " '" + (root_ / kPackage / definition).string() + "'";
    }
    return run_command(command + " " + extra);
  }

  // Through files rather than a pipe, so that stdout and stderr are kept apart.
  Run run_command(const std::string& command) {
    const std::string redirected = command + " >'" + (root_ / "out.txt").string() + "' 2>'" +
                                   (root_ / "err.txt").string() + "'";
    const int raw = std::system(redirected.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return {status, read(root_ / "out.txt"), read(root_ / "err.txt")};
  }

  fs::path output() const { return root_ / "generated"; }

  void write_good_package() {
    action_dependencies();
    write(kPackage, "msg/Trash.msg", "int32 id\nstring name \"none\"\n");
    write(kPackage, "srv/MoveToGrab.srv", "Trash target\n---\nbool ok\n");
    write(kPackage, "action/ArmTask.action", "int32 mode\n---\n---\nfloat32 progress\n");
  }
  const std::vector<std::string> good_ = {"msg/Trash.msg", "srv/MoveToGrab.srv",
                                          "action/ArmTask.action"};
};

TEST_F(Cli, BadDefinitionFailsWithLocationAndWritesNothing) {
  write(kPackage, "msg/Good.msg", "int32 a\n");
  write(kPackage, "msg/Bad.msg", "int32 a\nNoSuch b\n");
  fs::create_directories(output());
  const Run result = run({"msg/Good.msg", "msg/Bad.msg"});
  EXPECT_NE(result.status, 0);
  EXPECT_NE(result.err.find((root_ / kPackage / "msg/Bad.msg").string() + ":2: "),
            std::string::npos)
      << result.err;
  EXPECT_TRUE(fs::is_empty(output()));
}

TEST_F(Cli, MisuseIsRefused) {
  write(kPackage, "msg/Good.msg", "int32 a\n");
  EXPECT_NE(run({"msg/Good.msg"}, "--emit no_such_deliverable").status, 0);
  EXPECT_NE(run({}).status, 0);
  EXPECT_NE(run({"msg/Good.msg"}, "--search missing_equals").status, 0);
  EXPECT_TRUE(files_under(output()).empty());
}

TEST_F(Cli, ListNamesTheFilesItWouldWriteAndWritesThem) {
  write_good_package();
  const Run listed = run(good_, "--list");
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_FALSE(fs::exists(output())) << "--list must not write";

  std::set<std::string> names;
  std::istringstream lines(listed.out);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_TRUE(names.insert(line).second) << line << " listed twice";
  }
  PackageSources sources{kPackage, {}, search_path_};
  for (const std::string& definition : good_) {
    sources.files.push_back((root_ / kPackage / definition).string());
  }
  for (const Interface* interface : load_package(model_, sources).interfaces) {
    EXPECT_EQ(names.count(naming::c_functions_source(*interface)), 1u) << listed.out;
  }

  const Run written = run(good_);
  ASSERT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(files_under(output()), names);

  // A second run with nothing changed leaves every file, and its time stamp, alone.
  const fs::path some_file = output() / *names.begin();
  const auto stamp = fs::last_write_time(some_file);
  ASSERT_EQ(run(good_).status, 0);
  EXPECT_EQ(fs::last_write_time(some_file), stamp);
  EXPECT_EQ(files_under(output()), names);
}

// What the build reads of the compiler: one line per deliverable, whose name --emit takes, and
// the runtime's files, listed as they are written.
TEST_F(Cli, DescribesTheDeliverablesAndWritesTheRuntime) {
  write_good_package();
  const Run described = run({}, "--describe");
  ASSERT_EQ(described.status, 0) << described.err;
  std::istringstream lines(described.out);
  std::size_t count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    const std::string name = line.substr(0, line.find('|'));
    EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 5) << line;
    EXPECT_EQ(run(good_, "--emit " + name + " --list").status, 0) << line;
  }
  EXPECT_EQ(count, naming::deliverables().size());

  const std::string runtime = programs::command(IDLC_PATH) + " --runtime --output '" +
                              (root_ / "runtime").string() + "'";
  const Run listed = run_command(runtime + " --list");
  ASSERT_EQ(listed.status, 0) << listed.err;
  ASSERT_EQ(run_command(runtime).status, 0);
  std::set<std::string> names;
  std::istringstream listed_lines(listed.out);
  for (std::string line; std::getline(listed_lines, line);) names.insert(line);
  EXPECT_EQ(files_under(root_ / "runtime"), names);
  EXPECT_EQ(names.count("corvanthelis_idlc_runtime.py"), 1u);
  EXPECT_NE(run_command(runtime + " --package " + kPackage).status, 0);
}

}  // namespace
}  // namespace idlc::test

// corvanthelis_idlc: compiles one package's interface definitions into its deliverables.
//
//   corvanthelis_idlc --package NAME --output DIR [--search PKG=ROOT]... [--emit DELIVERABLE]...
//                     [--list] DEFINITION...
//   corvanthelis_idlc --package NAME --describe
//   corvanthelis_idlc --runtime --output DIR [--list]
//
// With --list it prints the files it would write, relative to DIR, and writes nothing.
// --describe prints what a build needs to know of each deliverable, one line each:
// name|language|form|library target or -|the package's deliverables it links, comma-separated|
// the Python modules it makes, comma-separated. --runtime writes the files that the generated code
// of every package shares.

#include <iostream>
#include <string>

#include "emit/emitters.hpp"
#include "model/resolver.hpp"
#include "naming.hpp"
#include "support/output.hpp"

namespace {

using idlc::naming::Deliverable;
using idlc::naming::DeliverableInfo;

struct Options {
  idlc::PackageSources sources;
  std::string output;
  std::vector<const DeliverableInfo*> deliverables;
  bool list = false;
  bool describe = false;
  bool runtime = false;
};

[[noreturn]] void usage(const std::string& problem) {
  std::cerr << "corvanthelis_idlc: " << problem << "\n"
            << "usage: corvanthelis_idlc --package NAME --output DIR [--search PKG=ROOT]... "
               "[--emit DELIVERABLE]... [--list] DEFINITION...\n"
               "       corvanthelis_idlc --package NAME --describe\n"
               "       corvanthelis_idlc --runtime --output DIR [--list]\n";
  std::exit(2);
}

void check(const Options& options) {
  if (options.runtime) {
    if (options.output.empty()) usage("--output is required");
    if (!options.sources.package.empty() || !options.sources.files.empty() || options.describe ||
        !options.deliverables.empty()) {
      usage("--runtime takes no package, definitions or deliverables");
    }
    return;
  }
  if (options.sources.package.empty()) usage("--package is required");
  if (options.describe) return;
  if (options.output.empty()) usage("--output is required");
  if (options.sources.files.empty()) usage("no definition files given");
}

Options parse_arguments(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) usage("missing value after " + argument);
      return argv[++i];
    };
    if (argument == "--package") {
      options.sources.package = value();
    } else if (argument == "--output") {
      options.output = value();
    } else if (argument == "--search") {
      const std::string entry = value();
      const auto equals = entry.find('=');
      if (equals == std::string::npos) usage("--search takes PKG=ROOT, got '" + entry + "'");
      options.sources.search_path[entry.substr(0, equals)] = entry.substr(equals + 1);
    } else if (argument == "--emit") {
      const std::string name = value();
      const DeliverableInfo* deliverable = idlc::naming::find_deliverable(name);
      if (deliverable == nullptr) usage("unknown deliverable '" + name + "'");
      options.deliverables.push_back(deliverable);
    } else if (argument == "--list") {
      options.list = true;
    } else if (argument == "--describe") {
      options.describe = true;
    } else if (argument == "--runtime") {
      options.runtime = true;
    } else if (!argument.empty() && argument[0] == '-') {
      usage("unknown option '" + argument + "'");
    } else {
      options.sources.files.push_back(argument);
    }
  }
  check(options);
  if (options.deliverables.empty()) {
    for (const auto& deliverable : idlc::naming::deliverables()) {
      options.deliverables.push_back(&deliverable);
    }
  }
  return options;
}

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : ",") + word;
  return text;
}

void describe(const Options& options) {
  const std::string& package = options.sources.package;
  for (const DeliverableInfo* deliverable : options.deliverables) {
    std::vector<std::string> links;
    for (Deliverable link : deliverable->links) links.push_back(idlc::naming::root(link));
    const std::vector<std::string> modules = deliverable->id == Deliverable::PythonModules
                                                 ? idlc::naming::py_extension_modules(package)
                                                 : std::vector<std::string>{};
    const std::string target = std::string(deliverable->library).empty()
                                   ? "-"
                                   : idlc::naming::library_target(package, deliverable->id);
    std::cout << deliverable->name << "|" << deliverable->language << "|" << deliverable->form
              << "|" << target << "|" << joined(links) << "|" << joined(modules) << "\n";
  }
}

idlc::FileSet emit(const Options& options) {
  if (options.runtime) return idlc::emit_runtime();
  idlc::Model model;
  const idlc::Package& package = idlc::load_package(model, options.sources);
  idlc::FileSet files;
  for (const DeliverableInfo* deliverable : options.deliverables) {
    idlc::FileSet produced = idlc::emit(deliverable->id, package);
    files.insert(files.end(), produced.begin(), produced.end());
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parse_arguments(argc, argv);
  try {
    if (options.describe) {
      describe(options);
      return 0;
    }
    const idlc::FileSet files = emit(options);
    if (options.list) {
      for (const auto& file : files) std::cout << file.path << "\n";
      return 0;
    }
    idlc::write_files(options.output, files);
  } catch (const idlc::CompileError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << "corvanthelis_idlc: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

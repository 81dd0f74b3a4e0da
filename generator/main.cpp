// corvanthelis_idlc: compiles one package's interface definitions into its deliverables.
//
//   corvanthelis_idlc --package NAME --output DIR [--search PKG=ROOT]... [--emit DELIVERABLE]...
//                     [--list] DEFINITION...
//
// With --list it prints the files it would write, relative to DIR, and writes nothing.

#include <iostream>
#include <string>

#include "emit/emitters.hpp"
#include "model/resolver.hpp"
#include "support/output.hpp"

namespace {

struct Options {
  idlc::PackageSources sources;
  std::string output;
  std::vector<const idlc::Deliverable*> deliverables;
  bool list = false;
};

[[noreturn]] void usage(const std::string& problem) {
  std::cerr << "corvanthelis_idlc: " << problem << "\n"
            << "usage: corvanthelis_idlc --package NAME --output DIR [--search PKG=ROOT]... "
               "[--emit DELIVERABLE]... [--list] DEFINITION...\n";
  std::exit(2);
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
      const idlc::Deliverable* deliverable = idlc::find_deliverable(name);
      if (deliverable == nullptr) usage("unknown deliverable '" + name + "'");
      options.deliverables.push_back(deliverable);
    } else if (argument == "--list") {
      options.list = true;
    } else if (!argument.empty() && argument[0] == '-') {
      usage("unknown option '" + argument + "'");
    } else {
      options.sources.files.push_back(argument);
    }
  }
  if (options.sources.package.empty()) usage("--package is required");
  if (options.output.empty()) usage("--output is required");
  if (options.sources.files.empty()) usage("no definition files given");
  if (options.deliverables.empty()) {
    for (const auto& deliverable : idlc::deliverables()) options.deliverables.push_back(&deliverable);
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parse_arguments(argc, argv);
  try {
    idlc::Model model;
    const idlc::Package& package = idlc::load_package(model, options.sources);
    idlc::FileSet files;
    for (const idlc::Deliverable* deliverable : options.deliverables) {
      idlc::FileSet produced = deliverable->emit(package);
      files.insert(files.end(), produced.begin(), produced.end());
    }
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

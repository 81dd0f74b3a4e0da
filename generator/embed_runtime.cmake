# cmake -DSOURCE_DIR=<runtime folder> -DOUTPUT=<file.cpp> "-DFILES=<path|...>" -P embed_runtime.cmake
#
# Writes the definition of idlc::runtime_files(): each file's bytes as a character array, so
# that no text in the files can end a literal early.
string(REPLACE "|" ";" FILES "${FILES}")
set(arrays "")
set(rows "")
set(index 0)
foreach(path IN LISTS FILES)
  file(READ "${SOURCE_DIR}/${path}" bytes HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  string(APPEND arrays "const char file${index}[] = {${bytes}0x00};\n")
  string(APPEND rows "      {\"${path}\", {file${index}, sizeof file${index} - 1}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// written by embed_runtime.cmake from generator/runtime; do not edit

#include \"support/runtime_files.hpp\"

namespace idlc {
namespace {

${arrays}
}  // namespace

const std::vector<RuntimeFile>& runtime_files() {
  static const std::vector<RuntimeFile> all = {
${rows}  };
  return all;
}

}  // namespace idlc
")
# Unchanged content keeps its time stamp, so nothing that depends on it is rebuilt.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")

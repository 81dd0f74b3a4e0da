#include "model/reserved_words.hpp"

#include <algorithm>
#include <iterator>

namespace idlc {
namespace {

// Lower-case keywords only: field names are lower case, so no other keyword can be written.
constexpr std::string_view kKeywords[] = {
    "alignas",      "alignof",    "and",          "and_eq",    "as",
    "asm",          "assert",     "async",        "auto",      "await",
    "bitand",       "bitor",      "bool",         "break",     "case",
    "catch",        "char",       "char16_t",     "char32_t",  "char8_t",
    "class",        "co_await",   "co_return",    "co_yield",  "compl",
    "concept",      "const",      "const_cast",   "consteval", "constexpr",
    "constinit",    "continue",   "decltype",     "def",       "default",
    "del",          "delete",     "do",           "double",    "dynamic_cast",
    "elif",         "else",       "enum",         "except",    "explicit",
    "export",       "extern",     "false",        "finally",   "float",
    "for",          "friend",     "from",         "global",    "goto",
    "if",           "import",     "in",           "inline",    "int",
    "is",           "lambda",     "long",         "mutable",   "namespace",
    "new",          "noexcept",   "nonlocal",     "not",       "not_eq",
    "nullptr",      "operator",   "or",           "or_eq",     "pass",
    "private",      "protected",  "public",       "raise",     "register",
    "reinterpret_cast", "requires", "restrict",   "return",    "short",
    "signed",       "sizeof",     "static",       "static_assert", "static_cast",
    "struct",       "switch",     "template",     "this",      "thread_local",
    "throw",        "true",       "try",          "typedef",   "typeid",
    "typename",     "union",      "unsigned",     "using",     "virtual",
    "void",         "volatile",   "wchar_t",      "while",     "with",
    "xor",          "xor_eq",     "yield",
};

}  // namespace

bool is_reserved_word(std::string_view name) {
  return std::find(std::begin(kKeywords), std::end(kKeywords), name) != std::end(kKeywords);
}

}  // namespace idlc

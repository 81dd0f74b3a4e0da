#include "value_text.hpp"

#include <cctype>

#include "type_support.hpp"

namespace inspect {
namespace {

// Deeper than any type of the packages nests; it keeps hostile input from exhausting the stack.
constexpr int kMaxDepth = 64;

bool is_bare(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-' || c == '+' || c == '.';
}

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  Value document() {
    Value value = parse(0);
    skip_space();
    if (at_ < text_.size()) fail("expected the end of the input");
    return value;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw Failure("bad value text at offset " + std::to_string(at_) + ": " + what);
  }

  void skip_space() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])) != 0) ++at_;
  }

  bool take(char c) {
    skip_space();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }

  Value parse(int depth) {
    if (depth > kMaxDepth) fail("nested too deeply");
    skip_space();
    if (at_ >= text_.size()) fail("expected a value");
    Value value;
    value.offset = at_;
    const char c = text_[at_];
    if (c == '{') {
      value.kind = Value::Kind::Map;
      ++at_;
      if (take('}')) return value;
      do {
        std::string key = this->key();
        if (!take(':')) fail("expected ':' after the key");
        value.fields.emplace_back(std::move(key), parse(depth + 1));
      } while (take(','));
      if (!take('}')) fail("expected ',' or '}'");
    } else if (c == '[') {
      value.kind = Value::Kind::List;
      ++at_;
      if (take(']')) return value;
      do {
        value.items.push_back(parse(depth + 1));
      } while (take(','));
      if (!take(']')) fail("expected ',' or ']'");
    } else if (c == '"') {
      value.kind = Value::Kind::String;
      value.text = quoted();
    } else {
      value.text = bare();
    }
    return value;
  }

  std::string key() {
    skip_space();
    if (at_ < text_.size() && text_[at_] == '"') return quoted();
    return bare();
  }

  std::string bare() {
    const std::size_t start = at_;
    while (at_ < text_.size() && is_bare(text_[at_])) ++at_;
    if (at_ == start) fail("expected a value or a key");
    return text_.substr(start, at_ - start);
  }

  unsigned hex_digits(int count) {
    unsigned code = 0;
    for (int i = 0; i < count; ++i, ++at_) {
      if (at_ >= text_.size() || std::isxdigit(static_cast<unsigned char>(text_[at_])) == 0) {
        fail("expected a hex digit in an escape");
      }
      const int c = std::tolower(static_cast<unsigned char>(text_[at_]));
      code = code * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'a' + 10);
    }
    return code;
  }

  // JSON's escapes and YAML's \xNN; \u gives UTF-8.
  std::string quoted() {
    ++at_;
    std::string result;
    while (true) {
      if (at_ >= text_.size()) fail("unterminated string");
      const char c = text_[at_++];
      if (c == '"') return result;
      if (c != '\\') {
        result += c;
        continue;
      }
      if (at_ >= text_.size()) fail("unterminated escape");
      const char escape = text_[at_++];
      switch (escape) {
        case '"': case '\\': case '/': result += escape; break;
        case 'n': result += '\n'; break;
        case 't': result += '\t'; break;
        case 'r': result += '\r'; break;
        case 'b': result += '\b'; break;
        case 'f': result += '\f'; break;
        case '0': result += '\0'; break;
        case 'x': result += static_cast<char>(hex_digits(2)); break;
        case 'u': utf8(hex_digits(4), result); break;
        default: --at_; fail(std::string("unknown escape '\\") + escape + "'");
      }
    }
  }

  static void utf8(unsigned code, std::string& out) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xc0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
      out += static_cast<char>(0xe0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
      out += static_cast<char>(0x80 | (code & 0x3f));
    }
  }

  const std::string& text_;
  std::size_t at_ = 0;
};

}  // namespace

Value parse_value_text(const std::string& text) { return Parser(text).document(); }

}  // namespace inspect

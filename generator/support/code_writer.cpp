#include "support/code_writer.hpp"

#include <set>
#include <stdexcept>

namespace idlc {

std::string substitute(const std::string& text, const Bindings& bindings) {
  std::string result;
  std::set<std::string> used;
  std::size_t position = 0;
  while (position < text.size()) {
    const auto open = text.find('$', position);
    if (open == std::string::npos) {
      result += text.substr(position);
      break;
    }
    const auto close = text.find('$', open + 1);
    if (close == std::string::npos) {
      throw std::logic_error("unterminated placeholder in template: " + text);
    }
    result += text.substr(position, open - position);
    const std::string name = text.substr(open + 1, close - open - 1);
    bool found = false;
    for (const auto& [key, value] : bindings) {
      if (key == name) {
        result += value;
        used.insert(key);
        found = true;
        break;
      }
    }
    if (!found) throw std::logic_error("unbound placeholder $" + name + "$ in: " + text);
    position = close + 1;
  }
  for (const auto& binding : bindings) {
    if (used.count(binding.first) == 0) {
      throw std::logic_error("unused binding '" + binding.first + "' for: " + text);
    }
  }
  return result;
}

CodeWriter& CodeWriter::line(const std::string& text, const Bindings& bindings) {
  const std::string content = substitute(text, bindings);
  if (!content.empty()) text_.append(static_cast<std::size_t>(depth_ * width_), ' ');
  text_ += content;
  text_ += '\n';
  return *this;
}

CodeWriter& CodeWriter::lines(const std::string& text, const Bindings& bindings) {
  return append(substitute(text, bindings));
}

CodeWriter& CodeWriter::append(const std::string& text) {
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string piece = text.substr(start, end - start);
    if (!piece.empty()) text_.append(static_cast<std::size_t>(depth_ * width_), ' ');
    text_ += piece;
    text_ += '\n';
    start = end + 1;
  }
  return *this;
}

CodeWriter::Block CodeWriter::block(const std::string& header, const Bindings& bindings,
                                    std::string trailer) {
  line(header.empty() ? "{" : header + " {", bindings);
  indent();
  return Block(*this, std::move(trailer));
}

CodeWriter::Block::~Block() {
  writer_.dedent();
  writer_.line("}" + trailer_);
}

}  // namespace idlc

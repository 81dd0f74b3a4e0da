#pragma once

// Builds generated text line by line with scoped indentation and checked substitutions:
// "$name$" placeholders must all be bound, and every binding must be used, so a typo in a
// template fails the compiler's own tests instead of leaking into generated code.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace idlc {

using Bindings = std::vector<std::pair<std::string, std::string>>;

std::string substitute(const std::string& text, const Bindings& bindings);

// Code that is put together in one place and written in another, kept as its template and
// the values bound into it: a value (a literal may hold any character, '$' too) is never read
// as template text, however often the snippet is wrapped before it is written.
struct Snippet {
  // Template text alone converts too: names, unlike literals, never hold a '$'.
  Snippet(std::string template_text, Bindings values = {})
      : text(std::move(template_text)), bindings(std::move(values)) {}

  std::string text;
  Bindings bindings;

  // The snippet inside `before` and `after`, which are template text themselves.
  Snippet wrapped(const std::string& before, const std::string& after) const {
    return {before + text + after, bindings};
  }
};

class CodeWriter {
 public:
  // C-family code indents by 2 columns a level; Python by 4.
  explicit CodeWriter(int indent_width = 2) : width_(indent_width) {}

  // Writes one line at the current indentation; an empty text writes an empty line.
  CodeWriter& line(const std::string& text = "", const Bindings& bindings = {});
  CodeWriter& line(const Snippet& snippet) { return line(snippet.text, snippet.bindings); }
  // Writes several lines (separated by '\n') at the current indentation.
  CodeWriter& lines(const std::string& text, const Bindings& bindings = {});
  // Appends text produced elsewhere (already indented from column 0) at the current indentation.
  CodeWriter& append(const std::string& text);

  // Opens a brace block: writes `header {`, indents until the guard ends, closes with `}` and
  // `trailer` (";" for a struct, "" for a function body).
  class Block {
   public:
    Block(CodeWriter& writer, std::string trailer) : writer_(writer), trailer_(std::move(trailer)) {}
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    ~Block();

   private:
    CodeWriter& writer_;
    std::string trailer_;
  };
  [[nodiscard]] Block block(const std::string& header, const Bindings& bindings = {},
                            std::string trailer = "");
  [[nodiscard]] Block block(const Snippet& header) { return block(header.text, header.bindings); }

  void indent() { ++depth_; }
  void dedent() { --depth_; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  int width_;
  int depth_ = 0;
};

}  // namespace idlc

// Splits a page file's bytes into lines the way the page reader sees them.
#pragma once

#include <string>
#include <string_view>

namespace quom {

// A line ends at CR, and an LF right after it is skipped; a lone LF is part of the
// line. A byte 0x1A ends the file. Past the end every read yields an empty line.
class LineReader {
  public:
    explicit LineReader(std::string_view bytes);

    std::string Next();
    bool AtEnd() const { return pos_ >= bytes_.size(); }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

}  // namespace quom

#include "line_reader.h"

namespace quom {

namespace {
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kEndOfFile = '\x1A';
}  // namespace

LineReader::LineReader(std::string_view bytes) : bytes_(bytes) {
    // Nothing after an end-of-file byte is ever read.
    std::size_t eof = bytes_.find(kEndOfFile);
    if (eof != std::string_view::npos) bytes_ = bytes_.substr(0, eof);
}

std::string LineReader::Next() {
    if (AtEnd()) return {};
    std::size_t end = bytes_.find(kCr, pos_);
    if (end == std::string_view::npos) end = bytes_.size();
    std::string line(bytes_.substr(pos_, end - pos_));
    pos_ = end;
    if (pos_ < bytes_.size()) {
        ++pos_;  // the CR
        if (pos_ < bytes_.size() && bytes_[pos_] == kLf) ++pos_;
    }
    return line;
}

}  // namespace quom

#include "action_text.h"

namespace quom {

std::vector<std::string> SplitActionText(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find(';'); end != std::string_view::npos;
         end = text.find(';', start)) {
        lines.emplace_back(text.substr(start, end + 1 - start));
        start = end + 1;
    }
    return lines;
}

std::string JoinActionText(std::span<const std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        for (char c : line) {
            if (c != '\r' && c != '\n') text += c;
        }
    }
    return text;
}

}  // namespace quom

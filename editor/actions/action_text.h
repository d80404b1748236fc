// Cutting an action text into one statement per line for the event editor, and
// putting the lines back together when it is confirmed.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quom {

// One line per ";" in text, each running up to and including its ";", untrimmed.
// Whatever follows the last ";" (all of text when it holds none) is left out. A ";"
// inside an argument cuts it too; joining the lines restores it.
std::vector<std::string> SplitActionText(std::string_view text);

// The lines in order with nothing between them, so an empty line adds nothing. An
// action text is stored as one line of the page file, so a stray carriage return or
// line feed inside a line is dropped as well.
std::string JoinActionText(std::span<const std::string> lines);

}  // namespace quom

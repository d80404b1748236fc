// Turns a chooser entry into action text, asking the entry's prompts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "action_prompt.h"

namespace quom {

// Looks entry up in ActionTable (exact, case-sensitive). Not found: nullopt, and no
// prompt is shown. Found: asks the row's prompts in order, every one of them whatever
// an earlier one returned, and returns the composed text with each answer inserted
// as it came back: not trimmed, checked or escaped.
std::optional<std::string> ComposeAction(std::string_view entry, ActionPrompt& prompt);

}  // namespace quom

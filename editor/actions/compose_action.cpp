#include "compose_action.h"

#include "action_table.h"

namespace quom {

std::optional<std::string> ComposeAction(std::string_view entry, ActionPrompt& prompt) {
    const ActionEntry* row = FindAction(entry);
    if (row == nullptr) return std::nullopt;

    std::string text;
    for (const ActionArgument& argument : row->arguments()) {
        const ActionPromptText& p = argument.prompt;
        std::string answer = prompt.Ask(p.caption, p.prompt_line, p.default_text);
        text += argument.text_before;
        text += answer;
        text += kArgumentEnd;
    }
    text += row->text_after;
    return text;
}

}  // namespace quom

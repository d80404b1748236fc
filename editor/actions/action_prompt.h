// The question ComposeAction asks for each argument of a chooser entry. The editor
// answers it with its modal input box, tests with a script.
#pragma once

#include <string>
#include <string_view>

namespace quom {

// The input box's edit field takes at most this many characters, so an argument
// composed through a chooser is never longer. Longer arguments can only be typed
// into the event editor's statement list. The limit is the box's to keep:
// ComposeAction inserts whatever Ask returns.
inline constexpr int kMaxPromptAnswer = 255;

class ActionPrompt {
  public:
    virtual ~ActionPrompt() = default;

    // Shows a modal box titled caption with prompt_line above an edit field that starts
    // with default_text, all of it selected. Returns the field's text on OK (empty or
    // edited, one line of at most kMaxPromptAnswer characters) and default_text
    // unchanged on Cancel or when the box is closed: a prompt never fails.
    virtual std::string Ask(std::string_view caption, std::string_view prompt_line,
                            std::string_view default_text) = 0;
};

}  // namespace quom

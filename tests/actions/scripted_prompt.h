// An ActionPrompt that plays back prepared answers and records what it was asked.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "action_prompt.h"

namespace quom::test {

struct AskedPrompt {
    std::string caption;
    std::string prompt_line;
    std::string default_text;
    bool operator==(const AskedPrompt&) const = default;
};

// std::nullopt in the script stands for Cancel, which gives back the default. A
// prompt asked beyond the end of the script is recorded and cancelled, so the test
// sees the extra question in asked().
class ScriptedPrompt : public ActionPrompt {
  public:
    explicit ScriptedPrompt(std::vector<std::optional<std::string>> script = {})
        : script_(std::move(script)) {}

    std::string Ask(std::string_view caption, std::string_view prompt_line,
                    std::string_view default_text) override {
        std::size_t turn = asked_.size();
        asked_.push_back(
            {std::string(caption), std::string(prompt_line), std::string(default_text)});
        if (turn < script_.size() && script_[turn]) return *script_[turn];
        return std::string(default_text);
    }

    const std::vector<AskedPrompt>& asked() const { return asked_; }

  private:
    std::vector<std::optional<std::string>> script_;
    std::vector<AskedPrompt> asked_;
};

}  // namespace quom::test

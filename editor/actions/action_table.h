// The 22 entries both action choosers offer, in the order they list them, with the
// statements each entry writes and the prompts that collect its arguments.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace quom {

struct ActionPromptText {
    std::string_view caption;
    std::string_view prompt_line;
    std::string_view default_text;
};

// One answered argument: text_before, then the answer, then kArgumentEnd.
struct ActionArgument {
    std::string_view text_before;
    ActionPromptText prompt;
};

// Closes the statement whose argument an answer is.
inline constexpr std::string_view kArgumentEnd = ");";

// A chooser entry composes: for each argument in order, its text_before, the answer
// and kArgumentEnd; then text_after. An entry without arguments writes text_after
// alone.
struct ActionEntry {
    std::string_view entry;
    std::array<ActionArgument, 2> argument_slots{};
    int argument_count = 0;
    std::string_view text_after;

    constexpr std::span<const ActionArgument> arguments() const {
        return {argument_slots.data(), static_cast<std::size_t>(argument_count)};
    }
};

namespace action_rows {

constexpr ActionEntry Fixed(std::string_view entry, std::string_view text) {
    return {entry, {}, 0, text};
}

constexpr ActionEntry Asking(std::string_view entry, ActionArgument a,
                             std::string_view text_after = {}) {
    return {entry, {a, {}}, 1, text_after};
}

constexpr ActionEntry Asking(std::string_view entry, ActionArgument a, ActionArgument b,
                             std::string_view text_after) {
    return {entry, {a, b}, 2, text_after};
}

}  // namespace action_rows

inline constexpr std::size_t kActionCount = 22;

// clang-format off
inline constexpr std::array<ActionEntry, kActionCount> ActionTable = [] {
    using namespace action_rows;
    return std::array<ActionEntry, kActionCount>{
        Fixed("NONE", "NONE();"),
        Asking("Start Page", {"StartPage(", {"FILENAME", "Enter the filename of the page.", "page1.qmx"}}),
        Asking("Play Wave", {"Wav(", {"FILENAME", "Enter the sound filename.", "sound1.wav"}}),
        Asking("Wait Wave", {"WaitWav(", {"FILENAME", "Enter the sound filename.", "sound1.wav"}}),
        Asking("Play Midi", {"Midi(", {"FILENAME", "Enter the midi filename.", "midi1.mid"}}),
        Fixed("Pause Midi", "PauseMidi();"),
        Fixed("Stop Midi", "StopMidi();"),
        Asking("Start Program", {"Shell(", {"FILENAME", "Enter the filename of the program.", "calc.exe"}}),
        Fixed("Eject CD", "CDEject();"),
        Fixed("Play CD", "PlayCD();"),
        Fixed("Stop CD", "StopCD();"),
        Fixed("Next song", "NextCD();"),
        Fixed("Previous song", "PrevCD();"),
        Fixed("Minimize Window", "Minimize();"),
        // A message composed by a chooser is always preceded by a beep.
        Asking("Show Message", {"Beep();Message(", {"Message:", "Type the message to show.", "Hi. there"}}),
        // Copy and rename share the two operand statements; only the closing one differs.
        Asking("Copy File",
               {"Copy1(", {"File to copy:", "Type here the filename to copy", "C:\\test\\123.txt"}},
               {"Copy2(", {"File to copy:", "Type here the filename with the new directory", "C:\\123.txt"}},
               "CopyDone();"),
        Asking("Rename File",
               {"Copy1(", {"File to rename:", "Type here the filename to rename", "C:\\test\\123.txt"}},
               {"Copy2(", {"File to rename:", "Type here the new filename", "C:\\test\\321.txt"}},
               "RenameDone();"),
        Asking("Delete File", {"Delete(", {"Filename:", "Type the filename to delete.", "C:\\temp.qev"}}),
        Asking("Make Directory", {"Mkdir(", {"Directory:", "Type the name of the directory to create.", "C:\\quom"}}),
        Fixed("Beep", "Beep();"),
        // The prompt line really ends with a blank.
        Asking("Wait", {"Wait(", {"Time", "Enter the time of waiting in ms. 1 sec. = 1000ms. ", "250"}}),
        Fixed("Exit", "Exit();"),
    };
}();
// clang-format on

// The row whose entry text equals entry exactly (case-sensitive), or nullptr.
const ActionEntry* FindAction(std::string_view entry);

}  // namespace quom

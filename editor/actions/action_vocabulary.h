// The statement names of the action language and what each one's argument is, for
// the programs that look into action texts: the player checks names against it, the
// kit's compiler finds the files a page names.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace quom {

enum class ArgumentKind {
    None,          // the parentheses stay empty; anything in them is ignored
    PageFile,      // StartPage
    SoundFile,     // Wav, WaitWav
    MidiFile,      // Midi
    ProgramFile,   // Shell: a program, or a file opened with its application
    FileName,      // Copy1, Copy2, Delete
    FolderName,    // Mkdir
    Milliseconds,  // Wait
    Text,          // Message
};

struct ActionWord {
    std::string_view name;
    ArgumentKind argument;
};

inline constexpr std::array<ActionWord, 24> kActionVocabulary{{
    {"NONE", ArgumentKind::None},         {"StartPage", ArgumentKind::PageFile},
    {"Wav", ArgumentKind::SoundFile},     {"WaitWav", ArgumentKind::SoundFile},
    {"Midi", ArgumentKind::MidiFile},     {"PauseMidi", ArgumentKind::None},
    {"StopMidi", ArgumentKind::None},     {"Shell", ArgumentKind::ProgramFile},
    {"CDEject", ArgumentKind::None},      {"PlayCD", ArgumentKind::None},
    {"StopCD", ArgumentKind::None},       {"NextCD", ArgumentKind::None},
    {"PrevCD", ArgumentKind::None},       {"Minimize", ArgumentKind::None},
    {"Beep", ArgumentKind::None},         {"Message", ArgumentKind::Text},
    {"Copy1", ArgumentKind::FileName},    {"Copy2", ArgumentKind::FileName},
    {"CopyDone", ArgumentKind::None},     {"RenameDone", ArgumentKind::None},
    {"Delete", ArgumentKind::FileName},   {"Mkdir", ArgumentKind::FolderName},
    {"Wait", ArgumentKind::Milliseconds}, {"Exit", ArgumentKind::None},
}};

// The word spelled exactly name (names are case-sensitive), or nullptr.
constexpr const ActionWord* FindActionWord(std::string_view name) {
    const auto* found = std::find_if(kActionVocabulary.begin(), kActionVocabulary.end(),
                                     [name](const ActionWord& w) { return w.name == name; });
    return found == kActionVocabulary.end() ? nullptr : found;
}

}  // namespace quom

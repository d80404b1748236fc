// What the editor fixes about the kit's sibling programs: the folders below the
// editor's own folder, the programs started there, and the page the player opens.
#pragma once

namespace quom {

inline constexpr const char* kTestFolder = "temp";
inline constexpr const char* kHelpFolder = "help";
inline constexpr const char* kCompilerFolder = "compiler";

inline constexpr const char* kPlayerProgram = "run.exe";
inline constexpr const char* kHelpProgram = "help.exe";
inline constexpr const char* kCompilerProgram = "comp.exe";

// The page the player shows first, read from its current folder.
inline constexpr const char* kFirstPageName = "firstpag.qmx";

}  // namespace quom

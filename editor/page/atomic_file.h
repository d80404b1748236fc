// Replacing a file without ever leaving it half-written.
#pragma once

#include <filesystem>
#include <string_view>

namespace quom {

// Writes bytes to a temporary file in target's folder and renames it over target
// only when every byte is on disk. On failure the temporary file is removed, any
// earlier target is untouched, and IoError is thrown. A target that exists but may
// not be written (read-only, a folder) is refused with "File access denied".
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace quom

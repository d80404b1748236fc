// Reading a whole file into memory.
#pragma once

#include <filesystem>
#include <string>

namespace quom {

// The file's bytes. Throws IoError when the file cannot be opened or read (a folder
// under that name cannot be read either).
std::string ReadWholeFile(const std::filesystem::path& file);

}  // namespace quom

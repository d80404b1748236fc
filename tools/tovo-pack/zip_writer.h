// Writes a zip archive (stored or deflated entries, optional traditional encryption)
// from files and folders on disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tovo_pack {

struct ZipOptions {
    bool store = false;    // method 0 instead of deflate
    int level = 9;         // zlib level for deflate
    std::string password;  // traditional zip encryption when not empty
};

// Builds the archive of the given files and folders (a folder adds itself and
// everything below it, named relative to the folder's parent). Returns false with a
// message in error.
bool BuildZip(const std::vector<std::filesystem::path>& inputs, const ZipOptions& options,
              std::vector<std::uint8_t>* zip, std::string* error);

// Reads a whole file. Returns false when it cannot be read.
bool ReadAll(const std::filesystem::path& path, std::vector<std::uint8_t>* data);

}  // namespace tovo_pack

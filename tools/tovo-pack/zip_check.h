// Checks that a zip archive is one the Tovo stub can extract, before it is packed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovo_pack {

// True when the stub can extract every entry of zip: the archive ends with its end
// record (and comment), its central directory agrees with the local headers, every
// entry is stored or deflated (with at most traditional zip encryption) and has a name
// the stub writes. Otherwise false with a message naming the first problem in error.
bool CheckArchive(const std::vector<std::uint8_t>& zip, std::string* error);

// The reason the stub refuses an entry name, or nullptr when it takes it: empty, longer
// than the stub's 257-byte name buffer, absolute, holding a ":" or a ".." component
// (with either separator).
const char* RefusedNameReason(const std::string& name);

}  // namespace tovo_pack

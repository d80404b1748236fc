// The picture header checks on arbitrary bytes; the first byte picks the kind.
#include <cstddef>
#include <cstdint>
#include <string>

#include "picture.h"
#include "quom_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    auto kind = static_cast<quom::PictureKind>(data[0] % 4);
    try {
        quom::Picture picture = quom::PictureFromBytes(
            kind, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
        if (picture.width < 0 || picture.height < 0) __builtin_trap();
    } catch (const quom::QuomError&) {
    }
    return 0;
}

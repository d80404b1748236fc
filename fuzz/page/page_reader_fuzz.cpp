// The page reader on arbitrary bytes: it must stop cleanly at the first bad line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "page.h"
#include "page_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quom::Page page;
    try {
        // Pictures are looked up in a folder that does not exist, so a slot line
        // ends the read without touching the file system beyond one failed open.
        quom::ReadPageBytes(page, std::string_view(reinterpret_cast<const char*>(data), size),
                            "/nonexistent-quom-fuzz-folder");
    } catch (const quom::PageReadError&) {
    }
    return 0;
}

#include "record.h"

namespace tovo_pack {

bool EncodeRecord(const Record& record, std::vector<std::uint8_t>* out, std::string* error) {
    struct Field {
        const char* option;
        const std::string* text;
    };
    const Field fields[] = {{"--caption", &record.caption},
                            {"--folder", &record.defaultFolder},
                            {"--command", &record.command},
                            {"--message", &record.startupMessage}};
    std::vector<std::uint8_t> bytes = {'M',
                                       'P',
                                       'V',
                                       record.flags,
                                       static_cast<std::uint8_t>(record.spare & 0xFF),
                                       static_cast<std::uint8_t>(record.spare >> 8),
                                       0,
                                       0};
    for (const Field& f : fields) {
        if (f.text->size() > 255) {
            *error = std::string(f.option) + " is " + std::to_string(f.text->size()) +
                     " bytes long; the record holds at most 255 bytes per text";
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>(f.text->size()));
        bytes.insert(bytes.end(), f.text->begin(), f.text->end());
    }
    bytes.insert(bytes.end(), record.padding, 0);
    if (bytes.size() > 0xFFFF) {
        *error = "the record is " + std::to_string(bytes.size()) +
                 " bytes long; its size field holds at most 65535";
        return false;
    }
    bytes[6] = static_cast<std::uint8_t>(bytes.size() & 0xFF);
    bytes[7] = static_cast<std::uint8_t>(bytes.size() >> 8);
    *out = std::move(bytes);
    return true;
}

}  // namespace tovo_pack

// Passwords of encrypted entries (traditional zip encryption).
#include <cstring>

#include "Dialog.h"
#include "SFXgbls.h"
#include "SFXmisc.h"

char Password[80];

bool CheckPassword(const std::uint8_t header[12], std::uint16_t flags, const char* password,
                   std::uint16_t dosTime, std::uint32_t crc) {
    if (password[0] == '\0') return false;
    InitKeys(password);
    std::uint8_t plain = 0;
    for (int i = 0; i < 12; ++i) {
        plain = header[i] ^ DecryptByte();
        UpdateKeys(plain);
    }
    // The last header byte repeats the high byte of the CRC, or of the DOS time when
    // the sizes and CRC follow in a data descriptor (flag bit 3).
    const std::uint8_t expected = (flags & 0x08) != 0 ? dosTime >> 8 : crc >> 24;
    return plain == expected;
}

bool PasswordProcedure(std::uint16_t flags, std::uint16_t dosTime, std::uint32_t crc, int* asked,
                       bool askFirst) {
    std::uint8_t header[12];
    if (os::ReadFile(ArchiveFile, header, sizeof header) != sizeof header) return false;
    bool ok =
        !askFirst && Password[0] != '\0' && CheckPassword(header, flags, Password, dosTime, crc);
    for (; !ok && *asked < 3; ++*asked) {
        char typed[80];
        os::AskPassword(typed, sizeof typed);
        CopyText(Password, typed, sizeof Password);
        ok = CheckPassword(header, flags, Password, dosTime, crc);
    }
    return ok;
}

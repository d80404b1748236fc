// The default extraction folder: a plain path, "><" for the temporary folder, or a
// registry form ROOT\Subkey\Value[|Suffix] naming a folder held in the registry.
#include <cstring>

#include "SFXgbls.h"
#include "SFXmisc.h"

namespace {

// A registry value shorter than this many bytes (NUL included) names no usable folder.
constexpr std::uint32_t kShortestValueSize = 5;

bool RootOfName(const char* name, os::RegistryRoot* root) {
    struct Spelling {
        const char* text;
        os::RegistryRoot root;
    };
    static const Spelling kSpellings[] = {{"HKEY_CURRENT_USER", os::RegistryRoot::CurrentUser},
                                          {"HKCU", os::RegistryRoot::CurrentUser},
                                          {"HKEY_LOCAL_MACHINE", os::RegistryRoot::LocalMachine},
                                          {"HKLM", os::RegistryRoot::LocalMachine},
                                          {"HKEY_USERS", os::RegistryRoot::Users},
                                          {"HKU", os::RegistryRoot::Users}};
    for (const Spelling& s : kSpellings) {
        if (std::strcmp(name, s.text) == 0) {
            *root = s.root;
            return true;
        }
    }
    return false;
}

// Reads the folder a registry form names into DefaultFolder; returns the value's size
// as the registry reported it, 0 when it could not be read.
std::uint32_t ReadRegistryFolder() {
    char form[kTextSize];
    CopyText(form, DefaultFolder, sizeof form);
    const char* suffix = nullptr;
    if (char* bar = std::strrchr(form, '|')) {
        *bar = '\0';
        suffix = bar + 1;
    }
    // Without both backslashes the form names no value.
    char* lastSlash = std::strrchr(form, '\\');
    if (lastSlash == nullptr) return 0;
    *lastSlash = '\0';
    const char* valueName = lastSlash + 1;
    char* firstSlash = std::strchr(form, '\\');
    if (firstSlash == nullptr) return 0;
    *firstSlash = '\0';
    const char* subkey = firstSlash + 1;
    os::RegistryRoot root;
    if (!RootOfName(form, &root)) return 0;

    char value[kTextSize];
    const std::uint32_t size = os::ReadRegistryValue(root, subkey, valueName, value, sizeof value);
    if (size == 0) return 0;
    value[std::strcspn(value, ";")] = '\0';  // a list of folders gives its first
    CopyText(DefaultFolder, value, kTextSize);
    if (suffix != nullptr && std::strlen(value) + std::strlen(suffix) + 2 < kTextSize - 1) {
        if (!EndsWith(DefaultFolder, os::kSeparator)) {
            const char separator[2] = {os::kSeparator, '\0'};
            AppendText(DefaultFolder, separator, kTextSize);
        }
        AppendText(DefaultFolder, suffix, kTextSize);
    }
    return size;
}

}  // namespace

void ResolveDefaultFolder() {
    if (DefaultFolder[0] == 'H' && DefaultFolder[1] == 'K' &&
        ReadRegistryFolder() < kShortestValueSize) {
        os::TempFolder(DefaultFolder, kTextSize - 1);
    }
    if (std::strcmp(DefaultFolder, "><") == 0) os::TempFolder(DefaultFolder, kTextSize - 1);
}

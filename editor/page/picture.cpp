#include "picture.h"

#include <optional>
#include <string>
#include <utility>

#include "atomic_file.h"
#include "picture_headers.h"
#include "quom_error.h"
#include "whole_file.h"

namespace quom {

namespace {

struct KindInfo {
    PictureKind kind;
    std::string_view extension;  // lower case, without the dot
    const char* invalid_message;
};

constexpr KindInfo kKinds[] = {
    {PictureKind::Bitmap, "bmp", "Bitmap image is not valid"},
    {PictureKind::Icon, "ico", "Icon image is not valid"},
    {PictureKind::EnhancedMetafile, "emf", "Metafile is not valid"},
    {PictureKind::Metafile, "wmf", "Metafile is not valid"},
};

const KindInfo& InfoFor(PictureKind kind) {
    for (const KindInfo& info : kKinds)
        if (info.kind == kind) return info;
    return kKinds[0];
}

// The text after the last dot of the name's last component; empty without a dot.
// Both separators count, since slot texts and dialog paths may use either.
std::string_view ExtensionOf(std::string_view file_name) {
    const auto name_start = file_name.find_last_of("/\\:");
    if (name_start != std::string_view::npos) file_name.remove_prefix(name_start + 1);
    const auto dot = file_name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : file_name.substr(dot + 1);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::optional<PictureSize> SizeOf(PictureKind kind, std::string_view bytes) {
    switch (kind) {
        case PictureKind::Bitmap:
            return BitmapFileSize(bytes);
        case PictureKind::Icon:
            return IconFileSize(bytes);
        case PictureKind::EnhancedMetafile:
            return EnhancedMetafileSize(bytes);
        case PictureKind::Metafile:
            return MetafileSize(bytes);
    }
    return std::nullopt;
}

}  // namespace

PictureKind PictureKindForName(std::string_view file_name) {
    const std::string_view extension = ExtensionOf(file_name);
    for (const KindInfo& info : kKinds)
        if (EqualsIgnoringAsciiCase(extension, info.extension)) return info.kind;
    throw QuomError(FormatMessage("Unknown picture file extension (.%s)", std::string(extension)));
}

void CheckBareFileName(std::string_view file_name) {
    // Both separators and the drive colon count on every system: a page may come
    // from Windows, where each of them leads out of the folder.
    const bool bare = file_name.find_first_of("/\\:") == std::string_view::npos &&
                      file_name != "." && file_name != "..";
    if (!bare) {
        throw QuomError(
            FormatMessage("Picture file %s is not in the page's folder", std::string(file_name)));
    }
}

Picture PictureFromBytes(PictureKind kind, std::string bytes) {
    const std::optional<PictureSize> size = SizeOf(kind, bytes);
    if (!size) throw QuomError(InfoFor(kind).invalid_message);
    Picture picture;
    picture.kind = kind;
    picture.bytes = std::move(bytes);
    picture.width = size->width;
    picture.height = size->height;
    return picture;
}

Picture LoadPictureFile(const std::filesystem::path& file, const std::string& shown_name) {
    // The extension decides before the file is touched: an unknown one is reported
    // even for a file that does not exist.
    const PictureKind kind = PictureKindForName(file.string());
    std::string bytes;
    try {
        bytes = ReadWholeFile(file);
    } catch (const IoError&) {
        throw QuomError(FormatMessage("Cannot open file %s", shown_name));
    }
    return PictureFromBytes(kind, std::move(bytes));
}

void WritePictureFile(const Picture& picture, const std::filesystem::path& file) {
    try {
        WriteFileAtomically(file, picture.bytes);
    } catch (const IoError&) {
        throw QuomError(FormatMessage("Cannot create file %s", file.string()));
    }
}

}  // namespace quom

// A picture held by a picture item: the bytes of the file it was loaded from, its
// kind and its size in pixels. Written back, it keeps the format of its kind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quom {

enum class PictureKind { Bitmap, Icon, EnhancedMetafile, Metafile };

struct Picture {
    PictureKind kind = PictureKind::Bitmap;
    std::string bytes;  // the whole file, as read or as built
    int width = 0;
    int height = 0;

    bool operator==(const Picture&) const = default;
};

// The kind that a file name's extension selects (bmp, ico, emf, wmf; any case).
// Throws QuomError "Unknown picture file extension (.%s)" for anything else, with
// the extension (without its dot, possibly empty) in place of %s.
PictureKind PictureKindForName(std::string_view file_name);

// A picture-file slot names a file in the page's own folder: a bare file name with
// no folder part. A name holding "/", "\" or ":", or the name "." or "..", would
// read or write a file elsewhere; it throws QuomError "Picture file %s is not in
// the page's folder" with the name in place of %s.
void CheckBareFileName(std::string_view file_name);

// Checks the header of bytes as a file of the given kind and returns the picture.
// Throws QuomError "Bitmap image is not valid", "Icon image is not valid" or
// "Metafile is not valid" when the header is truncated, inconsistent or wrong.
Picture PictureFromBytes(PictureKind kind, std::string bytes);

// Loads a picture file: kind by extension, then the header check. shown_name is the
// name used in "Cannot open file %s" when the file cannot be read.
Picture LoadPictureFile(const std::filesystem::path& file, const std::string& shown_name);

// Writes the picture's file in the format of its kind, replacing any file of that
// name. Throws QuomError "Cannot create file %s" with the full path in place of %s.
void WritePictureFile(const Picture& picture, const std::filesystem::path& file);

// The placeholder every picture item shows until a picture is loaded into it: a
// 28x28 true-colour bitmap built in code.
const Picture& PlaceholderPicture();

}  // namespace quom

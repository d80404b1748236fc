// The page file: 343 CR LF lines, one property per line, in a fixed order, with the
// pictures stored beside it as separate files named by the picture-file slots.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "page.h"
#include "quom_error.h"

namespace quom {

inline constexpr int kPageFileLines = 343;
inline constexpr const char* kPageFileExtension = ".qmx";

// Where one line of the page file goes.
enum class PageProperty {
    Caption,
    Left,
    Top,
    Action,
    PictureSlot,
    PageWidth,
    PageHeight,
    Width,
    Height,
    Colour,
    PageColour,
    FontSize,
};

struct PageLine {
    PageProperty property;
    ItemKind kind;  // unused for the page's own properties
    int id;         // 1..20; 0 for the page's own properties
};

// The property stored on a 1-based line number (1..343).
PageLine PageLineAt(int line_number);

// "page colour", "Button1 left", "Picture01 picture-file slot": for messages.
std::string DescribePageLine(const PageLine& line);
// Property name as `qmx dump` prints it after the item name: caption, left, ...
std::string_view PropertyKey(PageProperty property);

// The 343 lines of the page, without line ends.
std::string PageLineText(const Page& page, const PageLine& line);

// The whole page file's bytes: every line followed by CR LF.
std::string FormatPageFile(const Page& page);

// Writes the page file atomically: a temporary file beside the target is renamed over
// it only when complete, so a failed write leaves any earlier file untouched.
// Throws IoError.
void WritePageFile(const Page& page, const std::filesystem::path& target);

// Writes the picture of every picture item whose slot names a file into folder,
// under the slot text, in slot order. Throws QuomError "Cannot create file %s", or,
// before writing anything, the error of CheckBareFileName for a slot that names a
// file outside folder.
void WritePagePictures(const Page& page, const std::filesystem::path& folder);

// A failure while reading a page: which line, and the message the user sees.
class PageReadError : public QuomError {
  public:
    PageReadError(int line_number, const std::string& message)
        : QuomError(message), line_number_(line_number) {}
    int line_number() const { return line_number_; }

  private:
    int line_number_;
};

// Applies one line's text to the page through the model's setters. Picture slots
// load the named picture relative to picture_folder. Throws QuomError.
void ApplyPageLine(Page& page, const PageLine& line, const std::string& text,
                   const std::filesystem::path& picture_folder);

// Reads the 343 lines from bytes and applies each at once, in file order. Stops at
// the first line that fails, with everything before it applied: throws
// PageReadError carrying the line number and the message.
void ReadPageBytes(Page& page, std::string_view bytes, const std::filesystem::path& picture_folder);

// Opens file (IoError when it cannot be read) and reads it as ReadPageBytes does.
// Pictures are taken relative to picture_folder.
void ReadPageFile(Page& page, const std::filesystem::path& file,
                  const std::filesystem::path& picture_folder);

}  // namespace quom

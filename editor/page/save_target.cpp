#include "save_target.h"

#include "page_file.h"

namespace quom {

SaveTarget ResolveSaveTarget(const std::string& typed,
                             const std::function<bool(const std::string&)>& file_exists) {
    // Typing page while page.qmx exists must not replace page.qmx unasked, so the
    // question is about the file that will really be written.
    if (file_exists(typed)) return {typed, true};
    std::string with_extension = typed + kPageFileExtension;
    return {with_extension, file_exists(with_extension)};
}

}  // namespace quom

// Which file Save writes for the name typed into the save dialog, and whether to ask
// before replacing it.
#pragma once

#include <functional>
#include <string>

namespace quom {

struct SaveTarget {
    std::string file;      // the page file to write
    bool confirm = false;  // ask "OK to overwrite %s" with file in place of %s
};

// ".qmx" is added unless a file of exactly the typed name exists, in which case
// that file is written. Whatever the target, it is confirmed when it exists.
SaveTarget ResolveSaveTarget(const std::string& typed,
                             const std::function<bool(const std::string&)>& file_exists);

}  // namespace quom

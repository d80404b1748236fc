// Reading a page file for showing, with the page reader's own message on failure.
#pragma once

#include <memory>

#include <QString>

#include "page.h"

namespace quom {

struct LoadedPage {
    std::unique_ptr<Page> page;  // null when the page could not be read
    QString error;               // "firstpag.qmx, line 153 (page colour): ..."
};

// Reads the page file (pictures from its folder) into a fresh page.
LoadedPage LoadPage(const QString& file);

}  // namespace quom

#include "page_loading.h"

#include <QDir>
#include <QFileInfo>

#include "model_text.h"
#include "page_file.h"
#include "quom_error.h"

namespace quom {

namespace {

// Far above any page: 343 lines, a few of them actions of some thousand characters.
constexpr qint64 kLargestPage = qint64{64} << 20;

}  // namespace

LoadedPage LoadPage(const QString& file) {
    const QFileInfo info(file);
    const QString shown = QDir::toNativeSeparators(info.filePath());
    if (!info.exists()) return {nullptr, QStringLiteral("%1: File not found.").arg(shown)};
    // Devices and pipes never end; a page is a few kilobytes of text.
    if (!info.isFile() || info.size() > kLargestPage) {
        return {nullptr, QStringLiteral("%1 is not a page file.").arg(shown)};
    }
    auto page = std::make_unique<Page>();
    try {
        ReadPageFile(*page, ToPath(info.absoluteFilePath()), ToPath(info.absolutePath()));
    } catch (const PageReadError& e) {
        const std::string where = DescribePageLine(PageLineAt(e.line_number()));
        return {nullptr, QStringLiteral("%1, line %2 (%3): %4")
                             .arg(shown)
                             .arg(e.line_number())
                             .arg(FromModelText(where), FromModelText(e.what()))};
    } catch (const QuomError& e) {
        return {nullptr, QStringLiteral("%1: %2").arg(shown, FromModelText(e.what()))};
    }
    return {std::move(page), {}};
}

}  // namespace quom

#include "player_window.h"

#include <algorithm>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include "page_loading.h"

namespace quom {

namespace {

// A page larger than this each way is shown cut to it; no screen is larger.
constexpr int kLargestSide = 16384;

}  // namespace

PlayerWindow::PlayerWindow(Devices devices) : runner_(*this, devices) {
    setObjectName(QStringLiteral("Player"));
    setWindowTitle(QString::fromLatin1(kPlayerTitle));
}

QString PlayerWindow::ShowPage(const QString& file) {
    LoadedPage loaded = LoadPage(file);
    if (!loaded.page) return loaded.error;
    const QSize size(std::clamp(loaded.page->width, 1, kLargestSide),
                     std::clamp(loaded.page->height, 1, kLargestSide));
    // The old page may still be handling the click that asked for the new one.
    if (view_ != nullptr) {
        view_->hide();
        view_->deleteLater();
    }
    view_ = new PageView(std::move(loaded.page), this);
    view_->setGeometry(QRect(QPoint(0, 0), size));
    connect(view_, &PageView::ItemClicked, this, [this](const PageItem& item) {
        runner_.Run(QString::fromStdString(item.name), item.action);
    });
    view_->show();
    setFixedSize(size);
    page_folder_ = QFileInfo(file).absolutePath();
    return {};
}

void PlayerWindow::ShowBox(int icon, const QString& text, std::function<void()> closed) {
    auto* box = new QMessageBox(static_cast<QMessageBox::Icon>(icon), windowTitle(), text,
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("PlayerMessage"));
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [closed] { closed(); });
    box->open();
}

void PlayerWindow::ShowMessage(const QString& text, std::function<void()> closed) {
    ShowBox(QMessageBox::NoIcon, text, std::move(closed));
}

void PlayerWindow::ShowFailure(const QString& text, std::function<void()> closed) {
    ShowBox(QMessageBox::Critical, text, std::move(closed));
}

void PlayerWindow::Minimize() {
    showMinimized();
}

void PlayerWindow::Beep() {
    QApplication::beep();
}

void PlayerWindow::Exit() {
    close();
    QApplication::exit(0);
}

QString PlayerWindow::StartProgram(const QString& program, const QStringList& arguments,
                                   const QString& folder) {
    if (!QProcess::startDetached(program, arguments, folder)) {
        return QStringLiteral("cannot start %1").arg(QDir::toNativeSeparators(program));
    }
    return {};
}

QString PlayerWindow::OpenDocument(const QString& file) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
        return QStringLiteral("no application opens %1").arg(QDir::toNativeSeparators(file));
    }
    return {};
}

}  // namespace quom

#include "editor_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

#include "page_file.h"

namespace quom_test {

EditorFixture::EditorFixture() {
    program_folder_ = QDir(program_dir_.path()).canonicalPath();
    windows_ = std::make_unique<quom::EditorWindows>(dialogs_, [this] { return program_folder_; });
    windows_->form1()->FormShow();
}

void EditorFixture::WriteStandIn(const QString& file, const QString& record_file) const {
    QFile script(file);
    script.open(QIODevice::WriteOnly);
    script.write(QStringLiteral("#!/bin/sh\npwd > '%1'\n").arg(record_file).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

std::function<void(QDialog&)> ClickId(int id) {
    return [id](QDialog& dialog) {
        QTest::mouseClick(static_cast<quom::TForm2&>(dialog).IdButton(id), Qt::LeftButton);
    };
}

void ShowAndWait(quom::TForm1* form) {
    form->show();
    if (!QTest::qWaitForWindowExposed(form)) qFatal("the main window was not shown");
}

void SelectAndRefresh(quom::TForm1* form, const char* name) {
    form->Select(QString::fromLatin1(name));
    if (!QTest::qWaitFor([form] { return !form->Timer1()->isActive(); })) qFatal("no refresh");
}

std::string ReadBytes(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

void WriteBytes(const QString& file, const std::string& bytes) {
    QFile f(file);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::vector<std::string> PageLines(const quom::Page& page) {
    const std::string text = quom::FormatPageFile(page);
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

namespace {

std::string Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

}  // namespace

std::string BitmapFileBytes() {
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    return Encoded(image, "BMP");
}

std::string IconFileBytes() {
    // Encoded once: Qt's icon writer leaves some padding bytes unset, so two
    // encodings of one image need not match.
    static const std::string bytes = [] {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(QColor(0, 160, 0));
        return Encoded(image, "ICO");
    }();
    return bytes;
}

}  // namespace quom_test

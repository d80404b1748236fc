#include "file_operations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace quom {

namespace {

constexpr qint64 kCopyChunk = 1 << 16;

QString NotFound(const QString& path) {
    return QStringLiteral("%1 does not exist").arg(QDir::toNativeSeparators(path));
}

}  // namespace

QString CopyFileOver(const QString& from, const QString& to) {
    const QFileInfo source(from);
    if (!source.exists()) return NotFound(from);
    if (!source.isFile())
        return QStringLiteral("%1 is a folder").arg(QDir::toNativeSeparators(from));
    QFileInfo target(to);
    if (target.isDir()) target = QFileInfo(QDir(to), source.fileName());
    // Opening the target for writing would empty the very file being read.
    if (target.exists() && target.canonicalFilePath() == source.canonicalFilePath()) {
        return QStringLiteral("%1 is the file itself").arg(QDir::toNativeSeparators(to));
    }
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) return in.errorString();
    QSaveFile out(target.filePath());
    if (!out.open(QIODevice::WriteOnly)) return out.errorString();
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kCopyChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            return in.errorString();
        }
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return out.errorString();
        }
    }
    if (!out.commit()) return out.errorString();
    return {};
}

QString RenamePath(const QString& from, const QString& to) {
    if (!QFileInfo::exists(from)) return NotFound(from);
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink()) {
        return QStringLiteral("%1 exists already").arg(QDir::toNativeSeparators(to));
    }
    if (!QDir().rename(from, to)) {
        return QStringLiteral("cannot rename it to %1").arg(QDir::toNativeSeparators(to));
    }
    return {};
}

QString DeleteFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return NotFound(path);
    if (info.isDir() && !info.isSymLink()) {
        return QStringLiteral("%1 is a folder; only files are deleted")
            .arg(QDir::toNativeSeparators(path));
    }
    QFile file(path);
    if (!file.remove()) return file.errorString();
    return {};
}

QString MakeFolder(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) return {};
    if (info.exists()) {
        return QStringLiteral("a file named %1 exists").arg(QDir::toNativeSeparators(path));
    }
    if (!QDir().mkpath(path)) {
        return QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(path));
    }
    return {};
}

}  // namespace quom

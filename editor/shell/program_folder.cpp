#include "program_folder.h"

#include <cerrno>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "quom_error.h"

namespace quom {

namespace {

bool IsFolderBreak(QChar c) {
#ifdef Q_OS_WIN
    return c == u'\\' || c == u':';
#else
    return c == u'/';
#endif
}

// The file the system would start for a bare name: the program's own folder
// first, then the current directory, then the search path.
QString FindSibling(const QString& program_folder, const QString& program) {
    for (const QString& folder : {program_folder, QDir::currentPath()}) {
        const QFileInfo candidate(QDir(folder), program);
        if (candidate.isFile() && candidate.isExecutable()) return candidate.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(program);
}

}  // namespace

QChar PathSeparator() {
#ifdef Q_OS_WIN
    return u'\\';
#else
    return u'/';
#endif
}

QString ProgramFolderOf(const QString& program_path) {
    qsizetype last = program_path.size() - 1;
    while (last >= 0 && !IsFolderBreak(program_path[last])) --last;
    if (last < 0) return QString();
    const bool keep_separator =
        program_path[last] != PathSeparator() || last == 0 || IsFolderBreak(program_path[last - 1]);
    return program_path.left(keep_separator ? last + 1 : last);
}

QString ProgramFolder() {
    return ProgramFolderOf(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
}

QString SiblingFolder(const QString& program_folder, const QString& name) {
    return program_folder + PathSeparator() + name;
}

void ChangeDirectory(const QString& folder) {
    errno = 0;
    if (QDir::setCurrent(folder)) return;
    const int err = errno != 0 ? errno : ENOENT;
    throw IoError(IoCodeFromErrno(err, IoAction::ChangeDirectory));
}

void StartSibling(const QString& program_folder, const QString& folder, const QString& program) {
    ChangeDirectory(folder);
    const QString file = FindSibling(program_folder, program);
    if (file.isEmpty()) return;
    QProcess::startDetached(file, {}, QDir::currentPath());
}

}  // namespace quom

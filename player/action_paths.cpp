#include "action_paths.h"

#include <QDir>

namespace quom {

namespace {

#ifndef Q_OS_WIN
bool NamesDrive(const QString& name) {
    return name.size() >= 2 && name[1] == u':' && name[0].isLetter() && name[0].unicode() < 128;
}

bool NamesShare(const QString& name) {
    return name.startsWith(QStringLiteral("\\\\"));
}
#endif

}  // namespace

ActionPath ResolveActionPath(const QString& argument, const QString& page_folder) {
    // The system would end the name at the NUL and use another file.
    if (argument.contains(QChar(0))) return {{}, QStringLiteral("holds a NUL character")};
#ifdef Q_OS_WIN
    const QString name = QDir::fromNativeSeparators(argument);
#else
    if (NamesDrive(argument)) {
        return {{},
                QStringLiteral("names the drive %1, which this system does not have")
                    .arg(argument.left(2))};
    }
    if (NamesShare(argument)) {
        return {{}, QStringLiteral("names a Windows network share, which this system cannot open")};
    }
    QString name = argument;
    name.replace(u'\\', u'/');
#endif
    return {QDir::cleanPath(QDir(page_folder).absoluteFilePath(name)), {}};
}

}  // namespace quom

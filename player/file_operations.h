// The file statements' work on the file system. Each returns why it failed, or an
// empty text. Paths are absolute (see action_paths.h).
#pragma once

#include <QString>

namespace quom {

// Copies the file from over to: an existing file is replaced, and when to is a
// folder the copy goes into it under the file's own name. The copy is written beside
// its target and renamed over it when complete, so a failed copy leaves no
// half-written file and an earlier file of that name intact.
QString CopyFileOver(const QString& from, const QString& to);

// Renames (or moves) the file or folder from to the name to, which must not exist.
QString RenamePath(const QString& from, const QString& to);

// Deletes one file; a folder is refused.
QString DeleteFile(const QString& path);

// Creates the folder and any missing folders above it; a folder that exists is fine.
QString MakeFolder(const QString& path);

}  // namespace quom

// The editor's artwork from the program's resources, drawn at its own size.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace quom {

// Registers the artwork resources; call once before the first window is built.
void InitArt();

// An SVG from the resources as a pixmap of the SVG's own size, e.g. "glyphs/new".
QPixmap ArtPixmap(const QString& name);

QIcon ProgramIcon();

}  // namespace quom

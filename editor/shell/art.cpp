#include "art.h"

#include <QPainter>
#include <QSvgRenderer>

// Outside any namespace, as the resource initialiser requires.
static void InitArtResources() {
    Q_INIT_RESOURCE(quom_art);
}

namespace quom {

void InitArt() {
    InitArtResources();
}

QPixmap ArtPixmap(const QString& name) {
    QSvgRenderer renderer(QStringLiteral(":/quom/%1.svg").arg(name));
    QPixmap pixmap(renderer.defaultSize());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    QSvgRenderer renderer(QStringLiteral(":/quom/quom.svg"));
    for (int size : {16, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace quom

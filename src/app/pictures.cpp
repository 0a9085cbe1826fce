#include "app/pictures.h"

#include <QPainter>
#include <QSvgRenderer>

// The pictures are compiled into the application library; a static library's
// resources must be registered by hand.
static void registerPictures() { Q_INIT_RESOURCE(penvox); }

namespace penvox::pictures {

QPixmap pixmap(const QString& name, QSize size) {
    static const bool registered = (registerPictures(), true);
    (void)registered;
    QPixmap result(size);
    result.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    QPainter painter(&result);
    renderer.render(&painter);
    return result;
}

QIcon programIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64}) icon.addPixmap(pixmap(QStringLiteral("penvox"), QSize(side, side)));
    return icon;
}

}  // namespace penvox::pictures

#include "app/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace mosaiq {

QIcon AppIcon() {
    QPixmap mark(64, 64);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(32, 72, 128));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            painter.setBrush(QColor::fromHsv(((row * 3 + column) * 37) % 360, 120, 235));
            painter.drawRect(QRectF(10 + column * 15, 10 + row * 15, 13, 13));
        }
    }
    painter.end();
    return QIcon::fromTheme(QStringLiteral("mosaiq"), QIcon(mark));
}

}  // namespace mosaiq

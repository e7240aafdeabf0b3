#include "app/splash_window.h"

#include "core/version.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QScreen>

namespace mosaiq {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 190;

}  // namespace

QPixmap SplashWindow::Picture() {
    QPixmap picture(kWidth, kHeight);
    picture.fill(KeyColour());
    QPainter painter(&picture);
    // No anti-aliasing: a blended edge pixel would neither match the key nor the card.
    QPainterPath card;
    card.addRoundedRect(QRectF(0, 0, kWidth, kHeight), 22, 22);
    QLinearGradient gradient(0, 0, kWidth, kHeight);
    gradient.setColorAt(0, QColor(32, 72, 128));
    gradient.setColorAt(1, QColor(18, 120, 140));
    painter.fillPath(card, gradient);
    // A mosaic of tiles along the top, the program's mark.
    for (int i = 0; i < 9; ++i) {
        const QColor tile = QColor::fromHsv((i * 37) % 360, 120, 235);
        painter.fillRect(QRect(30 + i * 29, 18, 24, 24), tile);
    }
    QFont title = painter.font();
    title.setPointSize(18);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(30, 150, 260, 32), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Mosaiq %1").arg(QString::fromLatin1(kVersion)));
    return picture;
}

SplashWindow::SplashWindow(QWidget* owner)
    : QWidget(owner,
              Qt::SplashScreen | Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint),
      m_picture(Picture()) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_picture.size());
    setMask(m_picture.createMaskFromColor(KeyColour(), Qt::MaskInColor));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
}

void SplashWindow::ShowFading() {
    setWindowOpacity(0.0);
    show();
    auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(500);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void SplashWindow::CloseFading() {
    auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(200);
    fade->setStartValue(windowOpacity());
    fade->setEndValue(0.0);
    connect(fade, &QPropertyAnimation::finished, this, &QWidget::close);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    QFont font(QStringLiteral("Sans Serif"), 10);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(
        QRect(QPoint(30, 50), QPoint(291, 140)), Qt::AlignLeft | Qt::TextWordWrap,
        QStringLiteral("正在启动，请稍候……\n批量下载相册：选择网站类型，输入帐号或地址，"
                       "点击“获取相册”。按 Esc 退出。"));
}

void SplashWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        QCoreApplication::exit(0);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace mosaiq

#pragma once

#include <QPixmap>
#include <QWidget>

namespace mosaiq {

// The start-up window: a shaped, borderless picture with the start-up text that fades in,
// and fades out when start-up is done. Esc on it ends the program.
class SplashWindow : public QWidget {
    Q_OBJECT

  public:
    explicit SplashWindow(QWidget* owner);

    void ShowFading();
    // Fades out, then deletes itself.
    void CloseFading();

    // The key colour of the picture: its pixels are not part of the window.
    static QColor KeyColour() { return QColor(212, 120, 120); }
    static QPixmap Picture();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPixmap m_picture;
};

}  // namespace mosaiq

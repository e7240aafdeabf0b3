#include "core/version.h"
#include "sites/site_types.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(mosaiq::kProgramName));
    QApplication::setApplicationVersion(QString::fromLatin1(mosaiq::kVersion));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Mosaiq %1").arg(QString::fromLatin1(mosaiq::kVersion)));
    auto* layout = new QVBoxLayout(&window);
    auto* siteBox = new QComboBox(&window);
    siteBox->addItems(mosaiq::SiteTypeNames());
    layout->addWidget(siteBox);
    layout->addWidget(new QLabel(
        QStringLiteral("窗口的其余部分尚未完成 (the rest of the window is not built yet)."),
        &window));
    window.resize(480, 120);
    window.show();
    return app.exec();
}

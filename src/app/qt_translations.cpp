#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace mosaiq {

QTranslator* InstallQtTranslations(const QLocale& locale) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(QCoreApplication::instance());
    const bool chosen = locale.language() != QLocale::C;
    if ((chosen && translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"), folder)) ||
        translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qt"),
                         QStringLiteral("_"), folder)) {
        QCoreApplication::installTranslator(translator);
        return translator;
    }
    delete translator;
    return nullptr;
}

}  // namespace mosaiq

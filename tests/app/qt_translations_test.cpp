#include "app/qt_translations.h"

#include "app/gui_application.h"

#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

namespace mosaiq {
namespace {

// Qt's own buttons were English inside a Chinese window.
TEST(QtTranslations, ButtonsFollowTheLocaleAndAreChineseWithoutOne) {
    test::EnsureGuiApplication();
    struct Case {
        QLocale locale;
        const char* yes;
    };
    const Case cases[] = {
        {QLocale(QLocale::Chinese, QLocale::China), "是(&Y)"},
        {QLocale::c(), "是(&Y)"},
        {QLocale(QLocale::German, QLocale::Germany), "&Ja"},
    };
    for (const Case& k : cases) {
        QTranslator* translator = InstallQtTranslations(k.locale);
        ASSERT_NE(translator, nullptr) << "Qt's translations are missing: run scripts/deps";
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString::fromUtf8(k.yes))
            << k.locale.name().toStdString();
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

}  // namespace
}  // namespace mosaiq

#pragma once

#include <QLocale>
#include <QString>

class QTranslator;

namespace mosaiq {

// Installs Qt's own translations (Yes/No/OK, the file and folder dialogs) for `locale`, so that
// they match the window. Without a locale of the user's (the "C" locale) or without Qt's
// catalogue for it, Simplified Chinese, the window's own language. Returns the installed
// translator (owned by the application), or null when no catalogue was found.
QTranslator* InstallQtTranslations(const QLocale& locale);

}  // namespace mosaiq

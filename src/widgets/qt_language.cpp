#include "qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
QTranslator *g_translator = nullptr;
bool g_installed = false;
} // namespace

void ApplyQtLanguage(bool english)
{
    if (english) {
        if (g_installed)
            QCoreApplication::removeTranslator(g_translator);
        g_installed = false;
        return;
    }
    if (g_installed)
        return;
    if (!g_translator) {
        g_translator = new QTranslator(QCoreApplication::instance());
        // A missing translation leaves Qt's English texts: nothing else depends on it.
        if (!g_translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            return;
    } else if (g_translator->isEmpty()) {
        return;
    }
    g_installed = QCoreApplication::installTranslator(g_translator);
}

#include "language.h"

namespace {
bool g_english = false;
}

bool EnglishVersion() { return g_english; }
void SetEnglishVersion(bool english) { g_english = english; }

QString LangText(const char *english, const char *russian)
{
    return QString::fromUtf8(g_english ? english : russian);
}

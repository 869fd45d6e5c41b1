#pragma once
#include <QString>

// The program-wide interface language. Every bilingual text is picked by it at
// the moment the text is set; false (Russian) until the ini file has been read.
bool EnglishVersion();
void SetEnglishVersion(bool english);

// Picks the English or the Russian form by the current language. Both are UTF-8.
QString LangText(const char *english, const char *russian);

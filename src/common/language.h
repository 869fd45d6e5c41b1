#pragma once
#include <QString>

// The program-wide interface language. Every bilingual text is picked by it at
// the moment the text is set; false (Russian) until the ini file has been read.
bool EnglishVersion();
void SetEnglishVersion(bool english);

// Picks the English or the Russian form by the current language. Both are UTF-8.
QString LangText(const char *english, const char *russian);

// A count with its noun in the current language: "1 byte", "5 bytes",
// "1 байт", "3 байта", "11 байт". Russian takes three forms: for 1 (21, 31...),
// for 2..4 (22..24...) and for the rest (5..20, 25..30...).
QString CountText(long long n, const char *englishOne, const char *englishMany, const char *russianOne,
                  const char *russianFew, const char *russianMany);
// The same for bytes and for blocks, the counts the messages speak of.
QString ByteCount(long long n);
QString BlockCount(long long n);

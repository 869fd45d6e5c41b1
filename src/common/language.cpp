#include "language.h"

namespace {
bool g_english = false;
}

bool EnglishVersion() { return g_english; }
void SetEnglishVersion(bool english) { g_english = english; }

QString LangText(const char *english, const char *russian) { return QString::fromUtf8(g_english ? english : russian); }

QString CountText(long long n, const char *englishOne, const char *englishMany, const char *russianOne,
                  const char *russianFew, const char *russianMany)
{
    const char *noun = nullptr;
    if (g_english) {
        noun = n == 1 ? englishOne : englishMany;
    } else {
        const long long m100 = (n < 0 ? -n : n) % 100, m10 = m100 % 10;
        if (m10 == 1 && m100 != 11)
            noun = russianOne;
        else if (m10 >= 2 && m10 <= 4 && (m100 < 12 || m100 > 14))
            noun = russianFew;
        else
            noun = russianMany;
    }
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(noun);
}

QString ByteCount(long long n) { return CountText(n, "byte", "bytes", "байт", "байта", "байт"); }
QString BlockCount(long long n) { return CountText(n, "block", "blocks", "блок", "блока", "блоков"); }

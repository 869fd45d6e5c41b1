#pragma once
#include <QString>

namespace ed {

// A caption in both languages; get() gives the one in force.
struct Text {
    const char *en = "";
    const char *ru = "";
    QString get() const; // in the current language
};

} // namespace ed

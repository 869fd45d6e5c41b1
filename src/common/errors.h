#pragma once
#include <QString>
#include <stdexcept>

// Errors travel as exceptions that carry the text the user is shown.
class TripError : public std::runtime_error {
public:
    explicit TripError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

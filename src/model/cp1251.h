#pragma once
#include <QByteArray>
#include <QString>

// Windows-1251, the 8-bit code page of the device's texts and of the journal
// export. Characters it cannot hold become `replacement`.
QByteArray ToCp1251(const QString &text, char replacement = '?');
QString FromCp1251(const QByteArray &bytes);

#pragma once
// 8-bit text of the data files (palettes, character sets, language files): Windows-1252,
// the code page they were written in; Unicode only behind a byte-order mark.

#include <QByteArray>
#include <QString>
#include <QStringList>

QString decodeCp1252(const QByteArray& bytes);
// Characters outside Windows-1252 become '?'.
QByteArray encodeCp1252(const QString& text);
// The character that byte `b` (0..255) denotes in Windows-1252.
QChar cp1252Char(quint8 b);
// Reads the text of a data file: UTF-8 or UTF-16 when it starts with that byte-order mark
// (the mark is dropped), Windows-1252 otherwise, even when the bytes are valid UTF-8.
QString decodeDataText(const QByteArray& bytes);
// Splits text into lines at CR LF or a lone LF (a final line end gives no extra empty line).
QStringList splitDataLines(const QString& text);

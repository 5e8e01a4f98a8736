#include "FieldSplit.h"

namespace {
bool isBlank(QChar c) { return c.unicode() >= 1 && c.unicode() <= 32; }
}

QStringList splitDelimitedFields(const QString& line, QChar delimiter, QChar quote)
{
    QStringList fields;
    // A NUL ends the line, as it ends the text in the file's 8-bit world.
    const qsizetype nul = line.indexOf(QChar(u'\0'));
    const QStringView text = nul < 0 ? QStringView(line) : QStringView(line).left(nul);
    const qsizetype n = text.size();
    qsizetype p = 0;
    while (p < n && isBlank(text[p]))
        ++p;
    while (p < n) {
        QString field;
        if (text[p] == quote) {
            ++p;
            while (p < n) {
                if (text[p] == quote) {
                    if (p + 1 < n && text[p + 1] == quote) {
                        field.append(quote);
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                field.append(text[p++]);
            }
        } else {
            const qsizetype start = p;
            while (p < n && text[p].unicode() > 32 && text[p] != delimiter)
                ++p;
            field = text.mid(start, p - start).toString();
        }
        fields.append(field);
        while (p < n && isBlank(text[p]))
            ++p;
        if (p < n && text[p] == delimiter) {
            do {
                ++p;
            } while (p < n && isBlank(text[p]));
            // A comma at the end of the line, blanks after it or not, gives a last empty field.
            if (p == n)
                fields.append(QString());
        }
    }
    return fields;
}

QString quoteField(const QString& field, QChar quote)
{
    bool needs = field.isEmpty();
    for (QChar c : field) {
        if (isBlank(c) || c == QLatin1Char(',') || c == quote) {
            needs = true;
            break;
        }
    }
    if (!needs)
        return field;
    QString q = field;
    q.replace(quote, QString(quote) + quote);
    return quote + q + quote;
}

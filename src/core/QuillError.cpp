#include "QuillError.h"

#include "TStitch.h"

QString QuillError::translated(TStitch& stitch) const
{
    // Language files hold one text per line: a key of several lines is translated line by line.
    QStringList lines = m_key.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (!line.isEmpty())
            line = stitch.translate(line);
    QStringList arguments = m_arguments;
    for (QString& a : arguments)
        if (a.startsWith(QChar(kTranslatableMark)))
            a = stitch.translate(a.mid(1));
    return fill(lines.join(QLatin1Char('\n')), arguments);
}

QString QuillError::fill(const QString& text, const QStringList& arguments)
{
    if (arguments.isEmpty())
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('%') && i + 1 < text.size() && text[i + 1].isDigit()) {
            qsizetype j = i + 1;
            int n = 0;
            while (j < text.size() && text[j].isDigit() && n < 100)
                n = n * 10 + text[j++].digitValue();
            if (n >= 1 && n <= arguments.size()) {
                const QString& a = arguments[n - 1];
                out += a.startsWith(QChar(kTranslatableMark)) ? a.mid(1) : a;
                i = j - 1;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

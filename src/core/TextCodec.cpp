#include "TextCodec.h"

#include <QStringDecoder>

namespace {
// Windows-1252 at 0x80..0x9F; the five undefined bytes map to their C1 control codes.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

QChar cp1252Char(quint8 b)
{
    return (b >= 0x80 && b <= 0x9F) ? QChar(kHigh[b - 0x80]) : QChar(char16_t(b));
}

QString decodeCp1252(const QByteArray& bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = cp1252Char(quint8(bytes[i]));
    return out;
}

QByteArray encodeCp1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        char byte = '?';
        for (int i = 0; i < 32; ++i) {
            if (kHigh[i] == u) {
                byte = char(0x80 + i);
                break;
            }
        }
        out.append(byte);
    }
    return out;
}

QString decodeDataText(const QByteArray& bytes)
{
    // Only a byte-order mark makes the text Unicode: a Windows-1252 file can happen to be
    // valid UTF-8 ("\xC3\xA9" is "\u00C3\u00A9" there), so the bytes alone never decide.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16, QStringDecoder::Flag::ConvertInitialBom);
        QString s = utf16.decode(bytes);
        if (s.startsWith(QChar(0xFEFF)))
            s.remove(0, 1);
        return s;
    }
    return decodeCp1252(bytes);
}

QStringList splitDataLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& l : lines) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }
    return lines;
}

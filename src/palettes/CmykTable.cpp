#include "CmykTable.h"

#include "core/QuillError.h"
#include "core/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <optional>

namespace {

constexpr int kMaxWarnings = 20;

int channel(int percent, int black)
{
    const double v = std::clamp(percent, 0, 100) / 100.0;
    const double k = std::clamp(black, 0, 100) / 100.0;
    return Rnd((1.0 - (k + v * (1.0 - k))) * 255.0);
}

// An integer as the INI files of this format hold it: an optional sign, then decimal digits,
// "$" and hexadecimal digits, or "0x" and hexadecimal digits; it must fit in 32 bits.
std::optional<qint64> parseIniInteger(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    int base = 10;
    if (text.startsWith(u'$')) {
        base = 16;
        text = text.mid(1);
    } else if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        text = text.mid(2);
    }
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    qint64 v = 0;
    for (QChar ch : text) {
        const int d = base == 16 && ch.isLetter() ? (ch.toLower().unicode() - u'a' + 10)
                                                  : (ch.unicode() - u'0');
        if (ch.unicode() > 127 || d < 0 || d >= base)
            return std::nullopt;
        v = v * base + d;
    }
    if (base == 10 ? v > (negative ? 2147483648LL : 2147483647LL) : v > 0xFFFFFFFFLL)
        return std::nullopt;
    if (base == 16 && v > 0x7FFFFFFFLL)
        v -= 0x100000000LL; // a 32-bit pattern such as $FFFFFFFF
    return negative ? -v : v;
}

struct IniValue
{
    QString text;
    int line = 0;
};

struct IniSection
{
    QString name;
    int line = 0;
    QHash<QString, IniValue> keys; // lower-case key -> the first value given
};

// Collects warnings up to a limit, so that a large damaged file cannot flood the start-up.
class WarningSink
{
public:
    WarningSink(QStringList* out, QString fileName) : m_out(out), m_file(std::move(fileName)) {}
    ~WarningSink()
    {
        if (m_out && m_dropped > 0)
            m_out->append(QStringLiteral("\"%1\": %2 more problems were not listed.")
                              .arg(m_file).arg(m_dropped));
    }
    void add(const QString& where, const QString& what)
    {
        if (!m_out)
            return;
        if (m_count++ >= kMaxWarnings) {
            ++m_dropped;
            return;
        }
        m_out->append(QStringLiteral("\"%1\", %2: %3").arg(m_file, where, what));
    }

private:
    QStringList* m_out;
    QString m_file;
    int m_count = 0;
    int m_dropped = 0;
};

QString lineRef(int line) { return QStringLiteral("line %1").arg(line); }
QString sectionRef(const IniSection& s) { return QStringLiteral("section [%1]").arg(s.name); }

// "color" followed by a number without leading zeros, or 0.
qint64 colorSectionNumber(const QString& lowerName)
{
    if (!lowerName.startsWith(QLatin1String("color")) || lowerName.size() == 5
        || lowerName.size() > 15 || lowerName.at(5) == u'0')
        return 0;
    qint64 n = 0;
    for (QChar ch : QStringView(lowerName).mid(5)) {
        if (ch < u'0' || ch > u'9')
            return 0;
        n = n * 10 + (ch.unicode() - u'0');
    }
    return n;
}

QString hexDigits(ColorKey c)
{
    return QStringLiteral("%1%2%3")
        .arg(kRedOf(c), 2, 16, QLatin1Char('0'))
        .arg(kGreenOf(c), 2, 16, QLatin1Char('0'))
        .arg(kBlueOf(c), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

ColorKey cmykToRgb(int c, int m, int y, int k)
{
    return makeColorKey(channel(c, k), channel(m, k), channel(y, k));
}

TCMYK makeCmyk(quint8 c, quint8 m, quint8 y, quint8 k)
{
    return TCMYK{c, m, y, k, cmykToRgb(c, m, y, k)};
}

TCMYK rgbToCmyk(ColorKey color)
{
    const double r = 1.0 - kRedOf(color) / 255.0;
    const double g = 1.0 - kGreenOf(color) / 255.0;
    const double b = 1.0 - kBlueOf(color) / 255.0;
    const double k = std::min({r, g, b});
    int c = 0, m = 0, y = 0;
    if (k != 1.0) {
        c = Rnd((r - k) / (1.0 - k) * 100.0);
        m = Rnd((g - k) / (1.0 - k) * 100.0);
        y = Rnd((b - k) / (1.0 - k) * 100.0);
    }
    return makeCmyk(quint8(c), quint8(m), quint8(y), quint8(Rnd(k * 100.0)));
}

ColorKey printColor(const TStitch& stitch, ColorKey c, bool useCmyk)
{
    if (!useCmyk)
        return c;
    const TCMYK* e = stitch.CMYK.find(cmykTableKey(c));
    return e ? e->RGBColor : c;
}

QString cmykFilePath(const TStitch& stitch)
{
    const QDir folder(stitch.PalettesPath);
    const QString name = QString::fromLatin1(kCmykFileName);
    const QString exact = folder.filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    // A table named in another case ("CMYK.ini") is the same table where file names ignore
    // case; reading and saving use it rather than leave two tables side by side.
    const QStringList found = folder.entryList({name}, QDir::Files | QDir::Hidden);
    return found.isEmpty() ? exact : folder.filePath(found.first());
}

CmykTable parseCmykTable(const QByteArray& bytes, const QString& fileName, QStringList* warnings)
{
    WarningSink warn(warnings, fileName);

    // The sections in file order; of two with the same name (or two equal keys in a section)
    // the first one counts, as the system's own INI reader does.
    QList<IniSection> sections;
    QHash<QString, int> sectionIndex;
    int current = -1;
    const QString text = QString::fromLatin1(bytes);
    int lineNo = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++lineNo;
        line = line.trimmed();
        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            const qsizetype close = line.indexOf(u']');
            const QString name = close < 0 ? QString() : line.mid(1, close - 1).trimmed().toString();
            if (name.isEmpty()) {
                warn.add(lineRef(lineNo), QStringLiteral("\"%1\" is not a section name; the "
                                                         "keys below it are ignored.")
                                              .arg(line.toString()));
                current = -1;
                continue;
            }
            const QString lower = name.toLower();
            if (sectionIndex.contains(lower)) {
                warn.add(lineRef(lineNo), QStringLiteral("section [%1] appears again; only the "
                                                         "first one is read.")
                                              .arg(name));
                current = -1;
                continue;
            }
            sectionIndex.insert(lower, int(sections.size()));
            sections.append(IniSection{name, lineNo, {}});
            current = int(sections.size()) - 1;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        const QString key = eq < 0 ? QString() : line.left(eq).trimmed().toString();
        if (key.isEmpty()) {
            warn.add(lineRef(lineNo),
                     QStringLiteral("\"%1\" is not a key and value; it is skipped.")
                         .arg(line.left(40).toString()));
            continue;
        }
        if (current < 0)
            continue; // keys outside a readable section belong to none
        QString value = line.mid(eq + 1).trimmed().toString();
        if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
            value = value.mid(1, value.size() - 2);
        auto& keys = sections[current].keys;
        if (!keys.contains(key.toLower()))
            keys.insert(key.toLower(), IniValue{value, lineNo});
    }

    // "count" of [main]: missing reads as 0; one that is not a count is reported and every
    // colour section is read, so that a damaged header does not lose the table.
    qint64 count = 0;
    bool countKnown = true;
    if (const int mi = sectionIndex.value(QStringLiteral("main"), -1); mi >= 0) {
        const IniSection& main = sections[mi];
        if (auto it = main.keys.constFind(QStringLiteral("count")); it != main.keys.cend()) {
            const auto n = parseIniInteger(it->text);
            if (!n || *n < 0) {
                warn.add(sectionRef(main), QStringLiteral("\"count\" value \"%1\" is not a "
                                                          "number of entries; every colour "
                                                          "section is read.")
                                               .arg(it->text));
                countKnown = false;
            } else {
                count = *n;
            }
        }
    }

    // The colour sections numbered 1 to count, in number order. Only sections present are
    // visited, so a huge count costs nothing.
    QList<std::pair<qint64, int>> numbered;
    for (int i = 0; i < sections.size(); ++i) {
        const qint64 n = colorSectionNumber(sections[i].name.toLower());
        if (n <= 0)
            continue;
        if (countKnown && n > count) {
            warn.add(sectionRef(sections[i]),
                     QStringLiteral("the section lies beyond \"count\" %1 and is ignored.")
                         .arg(count));
            continue;
        }
        numbered.append({n, i});
    }
    std::sort(numbered.begin(), numbered.end());
    if (countKnown && numbered.size() < count)
        warn.add(QStringLiteral("section [main]"),
                 QStringLiteral("\"count\" is %1 but the file holds %2 colour sections; the "
                                "missing ones are skipped.")
                     .arg(count)
                     .arg(numbered.size()));

    CmykTable table;
    for (const auto& [n, index] : numbered) {
        const IniSection& s = sections[index];
        auto number = [&](const char* key, qint64* out) {
            auto it = s.keys.constFind(QString::fromLatin1(key).toLower());
            if (it == s.keys.cend()) {
                *out = 0;
                return true;
            }
            const auto v = parseIniInteger(it->text);
            if (!v) {
                warn.add(sectionRef(s) + QStringLiteral(", ") + lineRef(it->line),
                         QStringLiteral("the \"%1\" value \"%2\" is not a number; the section "
                                        "is skipped.")
                             .arg(QString::fromLatin1(key), it->text.left(40)));
                return false;
            }
            *out = *v;
            return true;
        };
        qint64 rgb = 0, c = 0, m = 0, y = 0, k = 0;
        if (!number("rgb", &rgb) || !number("CValue", &c) || !number("MValue", &m)
            || !number("YValue", &y) || !number("KValue", &k))
            continue;
        // rgb holds red in bits 16-23, green in 8-15 and blue in 0-7: a pixel value already.
        const TColor32 key = TColor32(rgb & 0xFFFFFF) | 0xFF000000u;
        table.insert(key, makeCmyk(quint8(c & 0xFF), quint8(m & 0xFF), quint8(y & 0xFF),
                                   quint8(k & 0xFF)));
    }
    return table;
}

void loadCmykTable(TStitch& stitch, QStringList* warnings)
{
    stitch.CMYK.clear();
    const QString path = cmykFilePath(stitch);
    QFile file(path);
    if (!file.exists())
        return;
    const QString shown = QDir::toNativeSeparators(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (warnings)
            warnings->append(QStringLiteral("Cannot read the CMYK table \"%1\": %2")
                                 .arg(shown, file.errorString()));
        return;
    }
    stitch.CMYK = parseCmykTable(file.readAll(), shown, warnings);
}

QByteArray cmykTableBytes(const CmykTable& table)
{
    QString text = QStringLiteral("[main]\r\ncount=%1\r\n").arg(table.size());
    int i = 0;
    for (const auto& [key, e] : table) {
        text += QStringLiteral("\r\n[color%1]\r\nrgb=$%2\r\nCValue=%3\r\nMValue=%4\r\n"
                               "YValue=%5\r\nKValue=%6\r\n")
                    .arg(++i)
                    .arg(hexDigits(pixelToKey(key)))
                    .arg(e.C)
                    .arg(e.M)
                    .arg(e.Y)
                    .arg(e.K);
    }
    return text.toLatin1();
}

void saveCmykTable(const TStitch& stitch)
{
    writeFileSafely(cmykFilePath(stitch), cmykTableBytes(stitch.CMYK),
                    QStringLiteral("CMYK table"));
}

#include "FileTestSupport.h"

#include "support/TestSupport.h"
#include "session/DesignSummary.h"

#include <QFile>
#include <QJsonDocument>
#include <QtEndian>
#include <cstring>

namespace filetest {

QByteArray u16(quint16 v)
{
    uchar b[2];
    qToLittleEndian(v, b);
    return QByteArray(reinterpret_cast<const char*>(b), 2);
}

QByteArray u32(quint32 v)
{
    uchar b[4];
    qToLittleEndian(v, b);
    return QByteArray(reinterpret_cast<const char*>(b), 4);
}

QByteArray f64(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    uchar b[8];
    qToLittleEndian(bits, b);
    return QByteArray(reinterpret_cast<const char*>(b), 8);
}

QByteArray be16(quint16 v)
{
    uchar b[2];
    qToBigEndian(v, b);
    return QByteArray(reinterpret_cast<const char*>(b), 2);
}

QByteArray str(const QByteArray& latin1) { return u32(quint32(latin1.size())) + latin1; }
QByteArray text(const QByteArray& latin1) { return latin1 + QByteArray(1, '\0'); }

QByteArray block(const char* id, quint8 version, const QByteArray& content)
{
    QByteArray b(id, 4);
    b += char(version);
    b += QByteArray(3, '\0');
    b += u32(quint32(16 + content.size())) + u32(quint32(16 + content.size()));
    return b + content;
}

QByteArray QvxLayout::bytes() const
{
    const int v = headVersion;
    QByteArray head = str(palette) + str(charSet) + str(font) + u16(1) + u16(0) + u32(2) + u32(0)
        + u32(0) + u32(width) + u32(height) + str("") + str("") + str("Arial") + u32(16) + u16(0)
        + u16(1) + str("Arial") + u32(12) + u16(0) + u16(1);
    if (v >= 1)
        head += f64(0.01) + f64(0);
    if (v >= 2)
        head += u32(background);
    if (v >= 3)
        head += f64(0.01);
    QByteArray inner = block("HEAD", quint8(v), head) + block("CHAR", 0, str("ABCDEFGHIJ"));
    QByteArray colo = u32(quint32(colours.size()));
    for (const Colour& c : colours)
        colo += str(c.name) + (coloVersion >= 1 ? str(c.id) : u32(c.id.toUInt())) + u32(c.key)
            + u32(quint32(c.charID));
    inner += block("COLO", quint8(coloVersion), colo);
    QByteArray pixd;
    for (quint32 c : cells)
        pixd += u32(c);
    inner += block("PIXD", 0, pixd);
    auto numbers = [](const QList<QList<quint32>>& rows) {
        QByteArray b = u32(quint32(rows.size()));
        for (const auto& row : rows)
            for (quint32 n : row)
                b += u32(n);
        return b;
    };
    if (v >= 3)
        inner += block("BACK", 0, numbers(back));
    if (v >= 4) {
        QByteArray quar;
        for (quint32 i = 0; i < 4 * width * height; ++i)
            quar += u32(i < quint32(quarters.size()) ? quarters[i] : 0xFFFFFFFFu);
        inner += block("QUAR", 0, quar);
    }
    if (v >= 5) {
        QByteArray titl = str(title) + u32(quint32(comment.size()));
        for (const QByteArray& line : comment)
            titl += str(line);
        inner += block("TITL", 0, titl);
    }
    if (v >= 6) {
        inner += block("FRKN", 0, numbers(knots));
        QByteArray rh = u32(quint32(rhodes.size()));
        for (const auto& r : rhodes) {
            rh += u32(r[0]) + u32(r[1]) + u32(r[2]) + u32(quint32((r.size() - 3) / 4));
            for (int i = 3; i < r.size(); ++i)
                rh += u32(r[i]);
        }
        inner += block("BACK", 0, rh);
    }
    QByteArray outer("QVXT", 4);
    outer += QByteArray(4, '\0') + u32(quint32(16 + inner.size())) + u32(quint32(16 + inner.size()));
    return QByteArray("HDSF") + outer + inner;
}

void SessionFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_session = freshSession();
}

std::unique_ptr<Session> SessionFixture::freshSession()
{
    Session::Options options;
    static int sessions = 0;
    options.settingsFile = m_dir.filePath(QStringLiteral("settings-%1.ini").arg(++sessions));
    options.dataDir = testsupport::shippedDataDir();
    auto s = std::make_unique<Session>(options);
    s->initialiseWithNewDesign();
    return s;
}

QString SessionFixture::writeFile(const QString& name, const QByteArray& bytes) const
{
    const QString p = path(name);
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << p.toStdString();
    return p;
}

QJsonObject SessionFixture::designSummary(bool cells) { return ::designSummary(doc(), cells); }

} // namespace filetest

void PrintTo(const QJsonObject& o, std::ostream* os)
{
    *os << QJsonDocument(o).toJson(QJsonDocument::Compact).left(4000).toStdString();
}

void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

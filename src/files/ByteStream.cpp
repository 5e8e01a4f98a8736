#include "ByteStream.h"

#include "core/LargeMemory.h"
#include "core/QuillError.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QRegularExpression>
#include <cstring>

ByteReader::ByteReader(const QByteArray& data, const QString& fileName)
    : m_data(data), m_fileName(fileName)
{
}

void ByteReader::fail(const QString& problem, const QStringList& arguments) const
{
    // One key for the whole line: the problem's %1, %2 ... follow the file name's %1.
    static const QRegularExpression number(QStringLiteral("%(\\d+)"));
    QString key = QStringLiteral("Cannot read the design file \"%1\": ");
    qsizetype at = 0;
    for (auto it = number.globalMatch(problem); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        key += problem.mid(at, m.capturedStart() - at) + QLatin1Char('%')
            + QString::number(m.captured(1).toInt() + 1);
        at = m.capturedEnd();
    }
    key += problem.mid(at) + QLatin1Char('.');
    throw QuillError(key, QStringList{QDir::toNativeSeparators(m_fileName)} + arguments);
}

const uchar* ByteReader::take(qsizetype n, const char* what)
{
    if (n < 0 || n > remaining())
        fail(QStringLiteral("the file ends inside %1 (offset %2)"),
                 {QuillError::translatable(QLatin1String(what)), QString::number(m_pos)});
    const uchar* p = reinterpret_cast<const uchar*>(m_data.constData()) + m_pos;
    m_pos += n;
    return p;
}

quint8 ByteReader::u8(const char* what) { return *take(1, what); }
quint16 ByteReader::u16(const char* what) { return qFromLittleEndian<quint16>(take(2, what)); }
quint32 ByteReader::u32(const char* what) { return qFromLittleEndian<quint32>(take(4, what)); }
quint16 ByteReader::u16be(const char* what) { return qFromBigEndian<quint16>(take(2, what)); }

double ByteReader::f64(const char* what)
{
    const quint64 bits = qFromLittleEndian<quint64>(take(8, what));
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

QByteArray ByteReader::bytes(qsizetype n, const char* what)
{
    const uchar* p = take(n, what);
    return QByteArray(reinterpret_cast<const char*>(p), n);
}

void ByteReader::skip(qsizetype n, const char* what) { take(n, what); }

QString ByteReader::string(const char* what)
{
    const quint32 n = u32(what);
    if (n > kMaxString)
        fail(QStringLiteral("%1 is %2 bytes long (at most %3 are allowed)"),
                 {QuillError::translatable(QLatin1String(what)), QString::number(n), QString::number(kMaxString)});
    if (qsizetype(n) > remaining())
        fail(QStringLiteral("%1 claims %2 bytes but only %3 are left"),
                 {QuillError::translatable(QLatin1String(what)), QString::number(n), QString::number(remaining())});
    return decodeCp1252(bytes(qsizetype(n), what));
}

QString ByteReader::text()
{
    const qsizetype end = m_data.indexOf('\0', m_pos);
    const qsizetype stop = end < 0 ? m_data.size() : end;
    const QString s = decodeCp1252(m_data.mid(m_pos, stop - m_pos));
    m_pos = end < 0 ? m_data.size() : end + 1;
    return s;
}

void ByteReader::requireRecords(quint64 count, quint64 bytesEach, const char* what)
{
    const quint64 left = quint64(remaining());
    if (bytesEach == 0 ? false : count > left / bytesEach)
        fail(QStringLiteral("%1 claims %2 entries of %3 bytes but only %4 bytes are left"),
                 {QuillError::translatable(QLatin1String(what)), QString::number(count), QString::number(bytesEach), QString::number(left)});
}

void ByteWriter::reserve(qsizetype n)
{
    if (n <= m_data.capacity())
        return;
    m_data.reserve(n);
    adviseHugePages(m_data.data() + m_data.size(), std::size_t(m_data.capacity() - m_data.size()));
}

void ByteWriter::u16(quint16 v)
{
    uchar b[2];
    qToLittleEndian(v, b);
    m_data.append(reinterpret_cast<const char*>(b), 2);
}

void ByteWriter::u32(quint32 v)
{
    uchar b[4];
    qToLittleEndian(v, b);
    m_data.append(reinterpret_cast<const char*>(b), 4);
}

void ByteWriter::f64(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    uchar b[8];
    qToLittleEndian(bits, b);
    m_data.append(reinterpret_cast<const char*>(b), 8);
}

void ByteWriter::string(const QString& text, const QString& what)
{
    const QByteArray bytes = encodeCp1252(text);
    if (bytes.size() > qsizetype(ByteReader::kMaxString))
        throw QuillError(QStringLiteral("%1 is longer than %2 characters and cannot be saved."),
                         {what, QString::number(ByteReader::kMaxString)});
    u32(quint32(bytes.size()));
    m_data.append(bytes);
}

qsizetype ByteWriter::beginBlock(const char id[4], quint8 version)
{
    const qsizetype offset = m_data.size();
    m_data.append(id, 4);
    u8(version);
    u8(0); // compression
    u8(0); // subblocktype
    u8(0); // unused
    u32(0);
    u32(0);
    return offset;
}

void ByteWriter::endBlock(qsizetype offset) { setLengths(offset, quint32(m_data.size() - offset)); }

void ByteWriter::setLengths(qsizetype offset, quint32 length)
{
    uchar b[4];
    qToLittleEndian(length, b);
    std::memcpy(m_data.data() + offset + 8, b, 4);
    std::memcpy(m_data.data() + offset + 12, b, 4);
}

QByteArray readDesignBytes(const QString& filename)
{
    QFile in(filename);
    if (!in.open(QIODevice::ReadOnly))
        throw QuillError(QStringLiteral("Cannot open the design file \"%1\": %2."),
                         {QDir::toNativeSeparators(filename), QuillError::translatable(in.errorString())});
    auto failed = [&] {
        return QuillError(QStringLiteral("Cannot read the design file \"%1\": %2."),
                         {QDir::toNativeSeparators(filename), QuillError::translatable(in.errorString())});
    };
    // A regular file is read in one go into a buffer of its size; anything else (a pipe, a
    // file that reports no size) as it comes.
    const qint64 size = in.isSequential() ? 0 : in.size();
    if (size <= 0) {
        const QByteArray bytes = in.readAll();
        if (in.error() != QFileDevice::NoError)
            throw failed();
        return bytes;
    }
    QByteArray bytes = newLargeByteArray(qsizetype(size));
    if (bytes.isEmpty())
        throw QuillError(QStringLiteral("Cannot read the design file \"%1\": not enough memory "
                                        "for %2 bytes."),
                         {QDir::toNativeSeparators(filename), QString::number(size)});
    qint64 got = 0;
    while (got < size) {
        const qint64 n = in.read(bytes.data() + got, size - got);
        if (n < 0)
            throw failed();
        if (n == 0)
            break; // the file shrank while it was read
        got += n;
    }
    bytes.truncate(qsizetype(got));
    return bytes;
}

#pragma once
// Bounds-checked reading and plain writing of the binary design formats. Every read checks
// what is left of the data first and fails with a QuillError naming the file and the part
// that does not fit, so a reader never runs past the end or trusts a size from the file.

#include <QByteArray>
#include <QString>
#include <QStringList>

class ByteReader
{
public:
    // `fileName` only goes into error messages.
    ByteReader(const QByteArray& data, const QString& fileName);

    qsizetype pos() const { return m_pos; }
    qsizetype remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }

    // Little-endian numbers; `what` names the part being read for the error message.
    quint8 u8(const char* what);
    quint16 u16(const char* what);
    quint32 u32(const char* what);
    qint32 i32(const char* what) { return qint32(u32(what)); }
    double f64(const char* what);
    // Big-endian 16-bit number.
    quint16 u16be(const char* what);
    // `n` raw bytes.
    QByteArray bytes(qsizetype n, const char* what);
    void skip(qsizetype n, const char* what);
    // u32 byte count, then that many Windows-1252 bytes; longer than kMaxString is rejected.
    QString string(const char* what);
    // Bytes up to a 0 byte (consumed) or the end of the data, decoded as Windows-1252.
    QString text();

    // Fails unless `count` records of at least `bytesEach` bytes fit in what is left.
    void requireRecords(quint64 count, quint64 bytesEach, const char* what);

    // Reports damage: `problem` is a translation key with %1, %2 ... for `arguments`.
    [[noreturn]] void fail(const QString& problem, const QStringList& arguments = {}) const;
    // The next n bytes in place (valid while the reader lives); fails when fewer are left.
    const uchar* take(qsizetype n, const char* what);

    static constexpr quint32 kMaxString = 10000;

private:

    QByteArray m_data;
    QString m_fileName;
    qsizetype m_pos = 0;
};

// The whole of a design file; throws QuillError naming the file when it cannot be read.
QByteArray readDesignBytes(const QString& filename);

// Little-endian writer over a growing buffer, with the lengths of blocks patched afterwards.
class ByteWriter
{
public:
    void u8(quint8 v) { m_data.append(char(v)); }
    void u16(quint16 v);
    void u32(quint32 v);
    void i32(qint32 v) { u32(quint32(v)); }
    void f64(double v);
    void raw(const QByteArray& bytes) { m_data.append(bytes); }
    // Room for `n` bytes in all, so that large rasters are not copied as the buffer grows.
    void reserve(qsizetype n);
    // u32 byte count and the Windows-1252 bytes. Throws QuillError for a text that would be
    // longer than a reader accepts (ByteReader::kMaxString), naming `what`.
    void string(const QString& text, const QString& what);

    // Writes a 16-byte block header with zero lengths and returns its offset.
    qsizetype beginBlock(const char id[4], quint8 version);
    // Sets both length fields of the block at `offset` to the block's size so far.
    void endBlock(qsizetype offset);
    // Sets both length fields of the header at `offset` to `length`.
    void setLengths(qsizetype offset, quint32 length);

    qsizetype size() const { return m_data.size(); }
    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

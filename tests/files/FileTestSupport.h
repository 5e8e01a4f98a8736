#pragma once
// Helpers of the design-file tests: a session started from the shipped data with its settings
// in a temporary folder, and builders for design files written byte by byte.

#include "core/PatternDocument.h"
#include "session/Session.h"

#include <QByteArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace filetest {

// Little-endian and big-endian numbers and the strings of the two formats.
QByteArray u16(quint16 v);
QByteArray u32(quint32 v);
QByteArray f64(double v);
QByteArray be16(quint16 v);
QByteArray str(const QByteArray& latin1);  // u32 length + bytes
QByteArray text(const QByteArray& latin1); // bytes + 0
// A 16-byte block header with both lengths set to 16 + content size, then the content.
QByteArray block(const char* id, quint8 version, const QByteArray& content);

// Describes a small native design file; bytes() writes it with the layout of `headVersion`.
struct QvxLayout
{
    int headVersion = 6;
    int coloVersion = 1;
    QByteArray palette = "DMC";
    QByteArray charSet = "Quillmark Symbols";
    QByteArray font = "KorvaldArtSymbols110";
    quint32 width = 3, height = 2;
    quint32 background = 0x00FFFFFF;
    struct Colour
    {
        QByteArray name, id;
        quint32 key;
        qint32 charID;
    };
    QList<Colour> colours{{"Red", "321", 0x0000FF, 0}, {"Blue", "310", 0xFF0000, 1}};
    QList<quint32> cells{0, 0xFFFFFFFF, 1, 0xFFFFFFFF, 0xFFFFFFFF, 1};
    QList<quint32> quarters; // empty: all 0xFFFFFFFF
    // Back stitches: x1, y1, x2, y2 (as stored), key.
    QList<QList<quint32>> back{{0, 0, 2, 2, 0x0000FF}};
    QByteArray title = "A title";
    QList<QByteArray> comment{"first line", "second line"};
    QList<QList<quint32>> knots{{1, 1, 0xFF0000}};
    // Rhodes: width, height, key, then the stitches' coordinates in fours.
    QList<QList<quint32>> rhodes{{2, 2, 0x0000FF, 0, 0, 2, 2, 2, 0, 0, 2}};

    QByteArray bytes() const;
};

// A session over the shipped data with its settings in a temporary folder, a default design
// made, and a temporary folder for the files of one test.
class SessionFixture : public ::testing::Test
{
protected:
    void SetUp() override;

    Session& session() { return *m_session; }
    PatternDocument& doc() { return m_session->document(); }
    TStitch& st() { return m_session->stitch(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString writeFile(const QString& name, const QByteArray& bytes) const;
    QJsonObject summary() { return designSummary(true); }
    QJsonObject designSummary(bool cells);
    // A second session (the application started again) for reading what was saved.
    std::unique_ptr<Session> freshSession();

    QTemporaryDir m_dir;
    std::unique_ptr<Session> m_session;
};

} // namespace filetest

// Readable failure messages.
void PrintTo(const QJsonObject& o, std::ostream* os);
void PrintTo(const QString& s, std::ostream* os);

#pragma once
// A picture file read from the top a band of rows at a time as 32-bit ARGB pixels, for a
// conversion that needs each row only once. A JPEG picture is decoded band by band straight
// into 32-bit pixels, so that no whole copy of the picture is held; any other picture (and a
// JPEG the band decoder does not take: CMYK, a rotation to apply, a damaged file) is read
// whole with loadPicture and handed out by rows, with loadPicture's pixels and errors.

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

// loadPicture with Qt's reader alone: the whole picture, or the errors of loadPicture.
QImage readPictureWithQt(const QString& path);

class PictureRows
{
public:
    // Opens the picture and reads its size. Throws QuillError as loadPicture does.
    explicit PictureRows(const QString& path);
    // A picture already read whole.
    explicit PictureRows(const QImage& whole);
    ~PictureRows();
    PictureRows(const PictureRows&) = delete;
    PictureRows& operator=(const PictureRows&) = delete;

    // The whole picture decoded by the band decoder into one ARGB32 picture: the pixels
    // loadPicture gives, without a 24-bit copy converted afterwards. A null picture when the
    // band decoder does not take the file (or fails on it).
    static QImage decodeWhole(const QString& path);

    QSize size() const { return m_size; }
    // The whole picture when it was read whole (null while rows are decoded band by band).
    const QImage& whole() const { return m_whole; }

    // Decodes the next rows, at most `maxRows`, into `out` (rows of size().width() pixels one
    // after the other); returns how many, 0 at the end. Only for a picture not read whole.
    // Throws Failed when the decoder cannot go on: the caller starts again with the picture
    // read whole (whose reader then reports the problem as loadPicture does).
    struct Failed
    {
    };
    int readRows(quint32* out, int maxRows);

private:
    PictureRows() = default;
    struct Jpeg;
    bool openJpeg(const QString& path);

    std::unique_ptr<Jpeg> m_jpeg;
    QImage m_whole;
    QSize m_size;
};

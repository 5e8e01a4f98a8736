#pragma once
// The ghost picture of a design: the picture shown faintly under the chart, kept in a ".png"
// beside the design file. Opening a design or converting a picture makes it, saving writes it
// back as it is.

#include <QImage>
#include <QString>

struct GhostPicture
{
    QImage ghostPicture; // as loaded, unscaled; null when no ghost picture is loaded
    // Stretched over the design with the picture resampler (a whole copy of the conversion's
    // adjusted picture) rather than nearest neighbour (a reduced picture, or one from a file).
    bool resample = false;

    bool isLoaded() const { return !ghostPicture.isNull(); }
    void drop()
    {
        ghostPicture = QImage();
        resample = false;
    }
};

// The ghost picture's file beside a design file: the same name with the extension ".png".
QString ghostPictureFileName(const QString& designFile);

// The picture as the PNG file written beside the design. It is a guide picture, not an
// archive: the fastest zlib level, which costs about a fifth more bytes than the default and
// a small part of its time. Throws QuillError when the picture cannot be encoded.
QByteArray encodeGhostPicture(const QImage& picture);

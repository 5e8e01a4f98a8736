#pragma once
// The ghost picture of a design: the picture shown faintly under the chart, kept in a ".png"
// beside the design file. Opening a design loads it, saving writes it back as it was loaded.

#include <QImage>
#include <QString>

struct GhostPicture
{
    QImage ghostPicture; // as loaded, unscaled; null when no ghost picture is loaded

    bool isLoaded() const { return !ghostPicture.isNull(); }
    void drop() { ghostPicture = QImage(); }
};

// The ghost picture's file beside a design file: the same name with the extension ".png".
QString ghostPictureFileName(const QString& designFile);

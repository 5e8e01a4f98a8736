#include "DesignFile.h"

#include "DesignLoad.h"
#include "core/PatternDocument.h"
#include "core/QuillError.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace {

// Position of the extension's dot in the last path component, or -1.
qsizetype extensionDot(const QString& path)
{
    const qsizetype slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash + 1 ? dot : -1;
}

QString extensionOf(const QString& path)
{
    const qsizetype dot = extensionDot(path);
    return dot < 0 ? QString() : path.mid(dot).toLower();
}

QString replaceExtension(const QString& path, const QString& extension)
{
    const qsizetype dot = extensionDot(path);
    return (dot < 0 ? path : path.left(dot)) + extension;
}

} // namespace

QString ghostPictureFileName(const QString& designFile)
{
    return replaceExtension(designFile, QStringLiteral(".png"));
}

bool isDesignFileName(const QString& path)
{
    const QString ext = extensionOf(path);
    return ext == QLatin1String(".qvxp") || ext == QLatin1String(".qvx") || ext == QLatin1String(".stv");
}

QString nativeDesignFileName(const QString& path)
{
    return replaceExtension(path, QStringLiteral(".qvxp"));
}

QString saveAsFileName(const QString& chosen)
{
    return extensionOf(chosen) == QLatin1String(".qvxp") ? chosen : chosen + QStringLiteral(".qvxp");
}

DesignFileContent readDesignFile(const QString& path)
{
    DesignFileContent content;
    content.path = path;
    const QString ext = extensionOf(path);
    if (ext == QLatin1String(".qvxp") || ext == QLatin1String(".qvx")) {
        content.kind = DesignFileContent::Native;
        ReadQVX(content.qvx, path);
    } else if (ext == QLatin1String(".stv")) {
        content.kind = DesignFileContent::Text;
        readSTVFile(content.stv, path);
    } else {
        throw QuillError(QStringLiteral("Cannot open \"%1\": it is not a design file "
                                        "(design files end in .qvxp, .qvx or .stv)."),
                         {QDir::toNativeSeparators(path)});
    }
    const QString ghostFile = ghostPictureFileName(path);
    if (QFileInfo(ghostFile).isFile()) {
        // A picture that cannot be read is no ghost picture; the design still opens.
        QImageReader reader(ghostFile);
        content.ghostPicture = reader.read();
    }
    return content;
}

void applyDesignFile(PatternDocument& doc, const DesignFileContent& content, GhostPicture* ghost)
{
    if (content.kind == DesignFileContent::Native)
        applyQVX(doc, content.qvx, content.path);
    else
        applySTV(doc, content.stv, content.path);
    if (ghost) {
        ghost->ghostPicture = content.ghostPicture;
        ghost->resample = false; // a picture read from a file is stretched pixel by pixel
    }
}

void openDesignFile(PatternDocument& doc, const QString& path, GhostPicture* ghost)
{
    const DesignFileContent content = readDesignFile(path);
    applyDesignFile(doc, content, ghost);
}

void saveDesignFile(PatternDocument& doc, const QString& path, const GhostPicture* ghost,
                    const QByteArray& ghostPng)
{
    SaveQVX(doc, path, ghost, ghostPng);
    TStitch& st = doc.stitch();
    st.setFilename(path);
    st.FileNameAssigned = true;
    st.setFileSaved(true);
}

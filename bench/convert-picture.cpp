// Converts one picture with the conversion pipeline and reports the time of each part:
//   convert-picture IN OUT.png [--size N] [--colors N] [--dither NAME] [--level N]
//                   [--palette NAME] [--write-palette PALETTE.png]
// OUT.png receives the final picture (one pixel per cell). --write-palette writes the
// palette's colours as a picture (for other tools' colour mapping) and exits.
#include "BenchConversion.h"
#include "BuildConfig.h"
#include "convert/PictureConversion.h"
#include "core/QuillError.h"
#include "session/Session.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    ConversionSettings settings = benchConversionSettings();
    QString palettePicture;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString a = args[i];
        const QString v = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == QLatin1String("--size")) { settings.size = v.toInt(); ++i; }
        else if (a == QLatin1String("--colors")) { settings.colors = v.toInt(); ++i; }
        else if (a == QLatin1String("--level")) { settings.level = v.toInt(); ++i; }
        else if (a == QLatin1String("--palette")) { settings.palette = v; ++i; }
        else if (a == QLatin1String("--write-palette")) { palettePicture = v; ++i; }
        else if (a == QLatin1String("--dither")) {
            const auto m = ditherMethodFromName(v);
            if (!m) {
                std::fprintf(stderr, "unknown dithering method: %s\n", qPrintable(v));
                return 2;
            }
            settings.dither = *m;
            ++i;
        } else files << a;
    }

    QTemporaryDir dir;
    Session::Options o;
    o.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    o.dataDir = QStringLiteral(QUILLMARK_SOURCE_DATA_DIR);
    Session session(o);
    try {
        session.initialiseWithNewDesign();
        if (!palettePicture.isEmpty()) {
            const ColorTable* p = session.stitch().ColorPalettes.find(settings.palette);
            if (!p)
                throw QuillError(QStringLiteral("unknown palette ") + settings.palette);
            QImage img(p->size(), 1, QImage::Format_RGB32);
            for (int i = 0; i < p->size(); ++i)
                img.setPixel(i, 0, keyToOpaquePixel(p->at(i).first));
            if (!img.save(palettePicture))
                throw QuillError(QStringLiteral("cannot write ") + palettePicture);
            return 0;
        }
        if (files.size() != 2) {
            std::fprintf(stderr, "usage: convert-picture IN OUT.png [--size N] [--colors N] "
                                 "[--dither NAME] [--level N] [--palette NAME]\n");
            return 2;
        }
        QElapsedTimer total;
        total.start();
        const QImage picture = loadPicture(files[0]);
        const qint64 loaded = total.elapsed();
        settings.sourcePath = files[0];
        ConversionResult result;
        convertPicture(picture, settings, session.document(), &result);
        const qint64 converted = total.elapsed();
        if (!result.final.toOpaqueImage().save(files[1]))
            throw QuillError(QStringLiteral("cannot write ") + files[1]);
        const qint64 all = total.elapsed();
        std::printf("picture %dx%d -> design %dx%d, %d colours; load %lld ms, convert %lld ms, "
                    "save %lld ms, total %lld ms\n",
                    picture.width(), picture.height(), result.final.width, result.final.height,
                    session.stitch().usedColors(), loaded, converted - loaded, all - converted, all);
    } catch (const QuillError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}

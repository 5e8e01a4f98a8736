#include "PictureRows.h"

#include "PictureConversion.h"

#include <QFileInfo>
#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back
// to the setjmp of the call that failed. Warnings (damaged but readable data) are counted by
// libjpeg and decoding goes on, as Qt's reader does.
struct PictureRows::Jpeg
{
    struct Error
    {
        jpeg_error_mgr mgr;
        std::jmp_buf jump;
    };
    jpeg_decompress_struct info{};
    Error error{};
    std::FILE* file = nullptr;
    bool created = false;
    bool started = false;

    static void errorExit(j_common_ptr cinfo)
    {
        std::longjmp(reinterpret_cast<Error*>(cinfo->err)->jump, 1);
    }
    static void silent(j_common_ptr) {}

    ~Jpeg()
    {
        if (created)
            jpeg_destroy_decompress(&info);
        if (file)
            std::fclose(file);
    }

    // The header, and the decoder set up for 32-bit pixels (blue, green, red, alpha in memory,
    // which is ARGB32 on this byte order). False for a file that is not a plain colour JPEG.
    bool start(const char* path)
    {
        file = std::fopen(path, "rb");
        if (!file)
            return false;
        info.err = jpeg_std_error(&error.mgr);
        error.mgr.error_exit = errorExit;
        error.mgr.output_message = silent;
        if (setjmp(error.jump))
            return false;
        jpeg_create_decompress(&info);
        created = true;
        jpeg_stdio_src(&info, file);
        if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
            return false;
        if (info.num_components != 3
            || (info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_RGB))
            return false;
        info.out_color_space = JCS_EXT_BGRA;
        return true;
    }

    bool begin()
    {
        if (setjmp(error.jump))
            return false;
        jpeg_start_decompress(&info);
        started = true;
        return info.output_components == 4;
    }

    // -1 on a fatal error.
    int read(quint32* out, int maxRows)
    {
        if (setjmp(error.jump))
            return -1;
        int n = 0;
        while (n < maxRows && info.output_scanline < info.output_height) {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(out + size_t(n) * info.output_width);
            n += int(jpeg_read_scanlines(&info, &row, 1));
        }
        return n;
    }
};

PictureRows::PictureRows(const QString& path)
{
    if (!openJpeg(path)) {
        m_jpeg.reset();
        m_whole = readPictureWithQt(path);
        m_size = m_whole.size();
    }
}

PictureRows::PictureRows(const QImage& whole)
    : m_whole(whole), m_size(whole.size())
{
}

PictureRows::~PictureRows() = default;

QImage PictureRows::decodeWhole(const QString& path)
{
    PictureRows rows;
    if (!rows.openJpeg(path))
        return QImage();
    QImage image(rows.m_size, QImage::Format_ARGB32);
    if (image.isNull() || image.bytesPerLine() != qsizetype(rows.m_size.width()) * 4)
        return QImage();
    const int height = rows.m_size.height();
    try {
        for (int y = 0; y < height;) {
            const int n = rows.readRows(reinterpret_cast<quint32*>(image.scanLine(y)), height - y);
            if (n == 0)
                return QImage();
            y += n;
        }
    } catch (const Failed&) {
        return QImage();
    }
    return image;
}

bool PictureRows::openJpeg(const QString& path)
{
    // Pictures of these names are refused by loadPicture whatever they hold.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("wmf") || suffix == QLatin1String("emf"))
        return false;
    QImageReader reader(path);
    if (reader.format() != "jpeg")
        return false;
    // A picture that Qt's reader would turn or mirror is read whole by it.
    if (reader.autoTransform() && reader.transformation() != QImageIOHandler::TransformationNone)
        return false;
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * qint64(size.height()) > kMaxPicturePixels)
        return false; // loadPicture refuses it with its message
    m_jpeg = std::make_unique<Jpeg>();
    if (!m_jpeg->start(QFile::encodeName(path).constData()))
        return false;
    if (int(m_jpeg->info.image_width) != size.width() || int(m_jpeg->info.image_height) != size.height())
        return false;
    if (!m_jpeg->begin())
        return false;
    m_size = size;
    return true;
}

int PictureRows::readRows(quint32* out, int maxRows)
{
    const int n = m_jpeg ? m_jpeg->read(out, maxRows) : -1;
    if (n < 0)
        throw Failed{};
    return n;
}

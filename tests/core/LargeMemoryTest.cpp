// Large buffers get huge-page advice but behave as ordinary images and byte arrays: the
// requested size and format, writable in place, and a null result instead of a crash when
// memory cannot be had.
#include "core/LargeMemory.h"

#include <gtest/gtest.h>

TEST(LargeMemory, ImagesHaveTheRequestedShapeAndKeepWhatIsWritten)
{
    struct Case { int width, height; };
    for (const Case c : {Case{2, 1}, Case{3, 2}, Case{2000, 2000}, Case{4000, 4000}}) {
        QImage image = newLargeImage(c.width, c.height, QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << c.width << "x" << c.height;
        EXPECT_EQ(image.size(), QSize(c.width, c.height));
        EXPECT_EQ(image.format(), QImage::Format_ARGB32);
        image.fill(0xFF102030u);
        image.setPixel(c.width - 1, c.height - 1, 0xFF405060u);
        EXPECT_EQ(image.pixel(0, 0), 0xFF102030u);
        EXPECT_EQ(image.pixel(c.width - 1, c.height - 1), 0xFF405060u);
    }
    EXPECT_TRUE(newLargeImage(0, 0, QImage::Format_ARGB32).isNull());
}

TEST(LargeMemory, ByteArraysHaveTheRequestedSizeOrAreEmpty)
{
    for (const qsizetype size : {qsizetype(1), qsizetype(4097), qsizetype(5) << 20}) {
        QByteArray bytes = newLargeByteArray(size);
        ASSERT_EQ(bytes.size(), size);
        bytes[size - 1] = 'q';
        EXPECT_EQ(bytes.at(size - 1), 'q');
    }
    // Far more than any machine has: empty, not a crash.
    EXPECT_TRUE(newLargeByteArray(qsizetype(1) << 46).isEmpty());
}

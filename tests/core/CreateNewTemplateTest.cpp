// A new design that the memory cannot hold is refused with a message before anything of the
// current design is dropped.
#include "core/QuillError.h"
#include "support/SmallDesign.h"

#include <gtest/gtest.h>

using namespace testsupport;

TEST(CreateNewTemplate, TooLargeForMemoryLeavesTheDesignAsItWas)
{
    SmallDesign d(6, 4);
    d.doc.updatePixel(1, 2, kRed, true);
    d.stitch.Title = QStringLiteral("Kept");
    const QJsonObject before = snapshot(d.doc);
    // 60000 x 60000 cells: the quarter raster alone would need about 58 GB.
    EXPECT_THROW(d.doc.CreateNewTemplate(60000, 60000, QStringLiteral("Shapes"), QStringLiteral("Small")),
                 QuillError);
    EXPECT_EQ(snapshot(d.doc), before);
    EXPECT_EQ(d.stitch.Title, QStringLiteral("Kept"));
    EXPECT_EQ(d.doc.checkInvariant(), QString());
}

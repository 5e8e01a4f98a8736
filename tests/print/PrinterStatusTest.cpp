// The printer status shown in the print dialog: the word built from the print system's queue
// state and state reasons, and the text shown for a word.
#include "print/PrinterStatus.h"

#include <gtest/gtest.h>

namespace {

using namespace PrinterStatus;

TEST(PrinterStatusTest, OneBitAloneShowsItsNameEverythingElseReady)
{
    const struct { quint32 status; const char* shown; } cases[] = {
        {0, "Ready"},
        {1, "PAUSED"},
        {2, "ERROR"},
        {4, "PENDING_DELETION"},
        {8, "PAPER_JAM"},
        {16, "PAPER_OUT"},
        {32, "MANUAL_FEED"},
        {64, "PAPER_PROBLEM"},
        {128, "OFFLINE"},
        {256, "IO_ACTIVE"},
        {512, "BUSY"},
        {1024, "PRINTING"},
        {2048, "OUTPUT_BIN_FULL"},
        {4096, "NOT_AVAILABLE"},
        {8192, "WAITING"},
        {16384, "PROCESSING"},
        {32768, "INITIALIZING"},
        {65536, "WARMING_UP"},
        {131072, "TONER_LOW"},
        {262144, "NO_TONER"},
        {524288, "PAGE_PUNT"},
        {1048576, "USER_INTERVENTION"},
        {2097152, "OUT_OF_MEMORY"},
        {4194304, "DOOR_OPEN"},
        // Combinations are compared as a whole.
        {1026, "Ready"},   // printing with an error
        {3, "Ready"},
        {1024 | 4194304, "Ready"},
        // Bits the platform does not name.
        {1u << 23, "Ready"},
        {1u << 31, "Ready"},
        {0xFFFFFFFFu, "Ready"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(c.status), QLatin1String(c.shown)) << c.status;
}

TEST(PrinterStatusTest, WordFromQueueStateAndReasons)
{
    const struct { int state; QStringList reasons; quint32 word; } cases[] = {
        {0, {}, 0},
        {0, {QStringLiteral("none")}, 0},
        {1, {}, Printing},
        {2, {}, Error},
        {3, {}, Error},
        // A stopped queue whose reasons say why shows that instead of a bare error.
        {3, {QStringLiteral("paused")}, Paused},
        {0, {QStringLiteral("media-empty-error")}, PaperOut},
        {0, {QStringLiteral("media-jam-error")}, PaperJam},
        {0, {QStringLiteral("toner-low-report")}, TonerLow},
        {0, {QStringLiteral("marker-supply-empty-warning")}, NoToner},
        {0, {QStringLiteral("offline-report")}, Offline},
        {0, {QStringLiteral("cover-open-error")}, DoorOpen},
        {1, {QStringLiteral("media-empty-error")}, Printing | PaperOut},
        {0, {QStringLiteral("toner-low-report"), QStringLiteral("door-open-error")},
         TonerLow | DoorOpen},
        {0, {QStringLiteral("cups-missing-filter-warning")}, 0},
        {3, {QStringLiteral("something-new-error")}, Error},
        {7, {}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(word(c.state, c.reasons), c.word) << c.state << " " << c.reasons.join(',').toStdString();
    EXPECT_EQ(text(word(1)), QLatin1String("PRINTING"));
    EXPECT_EQ(text(word(1, {QStringLiteral("media-jam-error")})), QLatin1String("Ready"));
}

} // namespace

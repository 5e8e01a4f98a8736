#include "SmallDesign.h"

#include "TestSupport.h"
#include "core/SymbolFont.h"
#include "editing/TActions.h"
#include "session/DesignSummary.h"

#include <gtest/gtest.h>

namespace testsupport {

void addSmallCatalogue(TStitch& stitch)
{
    static const QString family =
        registerSymbolFontFile(shippedDataDir() + QStringLiteral("/fonts/KorvaldArtSymbols110.ttf"));
    ColorTable p;
    const ColorKey keys[] = {kRed, kGreen, kWhite, kBlue};
    const char* ids[] = {"321", "B5200", "3865", "310"};
    const char* names[] = {"Red", "Green", "White", "Blue"};
    for (int i = 0; i < 4; ++i) {
        TColorInfo e;
        e.colorID = ids[i];
        e.colorName = names[i];
        e.charID = i;
        e.orderID = i;
        e.matchColor = keys[i];
        p.insert(keys[i], e);
    }
    stitch.ColorPalettes.insert(QStringLiteral("Small"), p);
    TCharacterInfo set;
    set.Name = QStringLiteral("Shapes");
    set.fontName = family;
    set.characters = QString(QChar(0xA0)) + QChar(0xA1) + QChar(0xA2) + QChar(0xA3) + QChar(0xA4)
        + QChar(0xA5) + QChar(0xA6);
    stitch.characters.insert(set.Name, set);
}

SmallDesign::SmallDesign(int width, int height)
{
    addSmallCatalogue(stitch);
    doc.CreateNewTemplate(width, height, QStringLiteral("Shapes"), QStringLiteral("Small"));
}

QJsonObject snapshot(const PatternDocument& doc)
{
    return designSummary(doc, true);
}

void expectUndoRedo(TActions& history, PatternDocument& doc, const QJsonObject& before)
{
    const QJsonObject after = snapshot(doc);
    history.Undo();
    EXPECT_EQ(snapshot(doc), before);
    EXPECT_EQ(doc.checkInvariant().toStdString(), "");
    history.Redo();
    EXPECT_EQ(snapshot(doc), after);
    EXPECT_EQ(doc.checkInvariant().toStdString(), "");
    history.Undo();
    EXPECT_EQ(snapshot(doc), before);
}

} // namespace testsupport

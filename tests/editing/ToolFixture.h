#pragma once
// The fixture of the tool tests: a small design of W x H cells with its history and a tool
// controller mapping `Zoom` pixels to a cell, drawing in red.

#include "editing/TActions.h"
#include "editing/ToolController.h"
#include "support/SmallDesign.h"

#include <gtest/gtest.h>

template <int W, int H, int Zoom>
struct ToolFixture : ::testing::Test
{
    static constexpr int kZoom = Zoom;

    testsupport::SmallDesign d{W, H};
    PatternDocument& doc = d.doc;
    TActions history{doc};
    ToolController tools{doc, history};

    void SetUp() override
    {
        PointerMapping m;
        m.cellWidth = m.cellHeight = Zoom;
        tools.setMapping(m);
        d.stitch.setDrawcolor(testsupport::kRed);
    }
};

#include "ui/main/main_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(MainLayout, GrowthSpreadsOverListViewsAndPathField) {
    ui::MainLayout a = ui::designLayout();
    ui::MainLayout b = a;
    ui::applyResizeRules(a, 12000.0f, 9000.0f);
    ui::applyResizeRules(b, 13000.0f, 9000.0f);
    const float x = 1000.0f;
    EXPECT_NEAR(b.list1Width - a.list1Width, x, 0.01f);
    EXPECT_NEAR(b.drive1Width - a.drive1Width, 0.47f * x, 0.01f);
    EXPECT_NEAR(b.dir1Width - a.dir1Width, 0.47f * x, 0.01f);
    EXPECT_NEAR(b.txtFolderMaskWidth - a.txtFolderMaskWidth, x - 1.04f * 0.47f * x, 0.05f);
    EXPECT_NEAR(b.file1Width, b.txtFolderMaskWidth, 0.0f);
    EXPECT_NEAR(b.file1Left, b.txtFolderMaskLeft, 0.0f);
    EXPECT_NEAR(b.txtFolderMaskLeft - a.txtFolderMaskLeft, 0.47f * x + 0.025f * x, 0.01f);
    EXPECT_EQ(b.lblPathLeft, b.lblMusterLeft);
    EXPECT_EQ(b.cboMusterLeft, b.lblMusterLeft + 735.0f);
    EXPECT_EQ(b.check1Left, b.cboMusterLeft + 1095.0f + 400.0f);
    // The marker frames the list: 10 twips out on the left and top, 50 on the right and bottom.
    EXPECT_EQ(b.shpMarkerLeft, 110.0f);
    EXPECT_EQ(b.shpMarkerTop, 4190.0f);
    EXPECT_EQ(b.shpMarkerWidth, b.list1Width + 60.0f);
    EXPECT_EQ(b.shpMarkerHeight, b.list1Height + 60.0f);
}

TEST(MainLayout, ListHeightFollowsOuterHeight) {
    ui::MainLayout l = ui::designLayout();
    ui::applyResizeRules(l, 11910.0f, 9000.0f);
    EXPECT_NEAR(l.list1Height, 9000.0f - 1.42f * (2790.0f + 315.0f + 375.0f + 360.0f), 0.01f);
}

TEST(MainLayout, VerySmallWindowKeepsRefusedSizes) {
    ui::MainLayout l = ui::designLayout();
    ui::applyResizeRules(l, 12000.0f, 9000.0f);
    const ui::MainLayout before = l;
    ui::applyResizeRules(l, 300.0f, 200.0f);
    // Negative sizes are refused: those controls keep their previous sizes.
    EXPECT_EQ(l.list1Width, before.list1Width);
    EXPECT_EQ(l.list1Height, before.list1Height);
    EXPECT_EQ(l.shpMarkerWidth, before.shpMarkerWidth);
    // Sizes that stay non-negative, and all positions, still follow the rules after them.
    EXPECT_NEAR(l.drive1Width, 300.0f / 2.0f * 0.94f, 0.01f);
    EXPECT_EQ(l.dir1Width, l.drive1Width);
    EXPECT_NEAR(l.txtFolderMaskLeft, l.drive1Width + 7.5f, 0.01f);
    // The path field's width uses the kept list width.
    EXPECT_NEAR(l.txtFolderMaskWidth, before.list1Width - l.dir1Width * 1.04f, 0.05f);
}

} // namespace

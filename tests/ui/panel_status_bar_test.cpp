#include "ui/controls/panel_status_bar.h"

#include "qt_app.h"
#include "ui/controls/twips.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

TEST(PanelStatusBar, NumberedPanelsHoldTheirText) {
    testsupport::ensureApp();
    ui::PanelStatusBar bar;
    bar.addPanel({1440, 1440, false, {}});
    bar.addPanel({1440, 1440, false, {}});
    bar.addPanel({2445, 2440, true, {}});
    EXPECT_EQ(bar.panelCount(), 3);

    bar.setPanelText(1, "Dateien: 0");
    bar.setPanelText(2, "Verzeichnisse: 0");
    bar.setPanelText(3, "Version 1.2.3");
    bar.setPanelText(3, "Zielordner: C:\\Ziel");
    EXPECT_EQ(bar.panelText(1), "Dateien: 0");
    EXPECT_EQ(bar.panelText(2), "Verzeichnisse: 0");
    EXPECT_EQ(bar.panelText(3), "Zielordner: C:\\Ziel");

    // Numbers outside 1..3 change nothing and read as empty.
    bar.setPanelText(0, "x");
    bar.setPanelText(4, "x");
    EXPECT_TRUE(bar.panelText(0).isEmpty());
    EXPECT_TRUE(bar.panelText(4).isEmpty());
    EXPECT_EQ(bar.panelText(1), "Dateien: 0");

    // A path is shown as text, never as markup.
    bar.setPanelText(1, "<b>C:\\a&b</b>");
    const QList<QLabel*> labels = bar.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 3);
    for (QLabel* label : labels)
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

// Widths in twips: the first two panels keep theirs, only the last one takes the room left.
TEST(PanelStatusBar, OnlyTheLastPanelStretches) {
    testsupport::ensureApp();
    ui::PanelStatusBar bar;
    bar.addPanel({1440, 1440, false, {}});
    bar.addPanel({1440, 1440, false, {}});
    bar.addPanel({2445, 2440, true, {}});
    bar.setPanelText(1, "1");
    bar.setPanelText(2, "2");
    bar.resize(ui::toPixels(11910, &bar), 30);
    bar.show();
    QApplication::processEvents();
    const QList<QLabel*> labels = bar.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 3);
    EXPECT_EQ(labels[0]->width(), ui::toPixels(1440, &bar));
    EXPECT_EQ(labels[1]->width(), ui::toPixels(1440, &bar));
    EXPECT_EQ(labels[2]->minimumWidth(), ui::toPixels(2440, &bar));
    EXPECT_GT(labels[2]->width(), ui::toPixels(11910 - 2 * 1440 - 2445, &bar));
}

} // namespace

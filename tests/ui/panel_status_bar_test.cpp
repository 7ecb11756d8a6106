#include "ui/controls/panel_status_bar.h"

#include "qt_app.h"
#include "ui/controls/twips.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

TEST(PanelStatusBar, NumberedPanelsHoldTheirText) {
    testsupport::ensureApp();
    ui::PanelStatusBar bar;
    bar.addPanel(1440);
    bar.addPanel(1440);
    bar.addPanel(2440);
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

TEST(PanelStatusBar, MinimumWidthsAreTwips) {
    testsupport::ensureApp();
    ui::PanelStatusBar bar;
    bar.addPanel(1440);
    bar.addPanel(2440);
    const QList<QLabel*> labels = bar.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0]->minimumWidth(), ui::toPixels(1440, &bar));
    EXPECT_EQ(labels[1]->minimumWidth(), ui::toPixels(2440, &bar));
    EXPECT_GT(labels[1]->minimumWidth(), labels[0]->minimumWidth());
}

} // namespace

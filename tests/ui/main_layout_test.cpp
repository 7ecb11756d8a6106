// The main window's layout at sizes from the start size up: no control covers another, none
// leaves the window, and the panels keep their places relative to each other.

#include "main_window_scaffold.h"
#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/temp_tree.h"

#include <QLabel>
#include <QStyle>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Where a control shows something: a label only where its text stands.
QRect shownRect(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                                   label->sizeHint().boundedTo(label->size()), label->geometry());
    return w->geometry();
}

// At the desktop's font size and at half as large again.
class MainLayout : public ::testing::TestWithParam<double> {};

TEST_P(MainLayout, ControlsNeitherOverlapNorLeaveTheWindowAndKeepTheirOrder) {
    const testsupport::ScaledAppFont font(GetParam());
    testsupport::FakeHome home;
    const auto fs =
        platform::createPlatformOver({{'c', testsupport::utf8(home.home()), ""}},
                                     testsupport::utf8(home.home()), home.documentsText());
    testsupport::ScriptedPrompts prompts;
    testsupport::MainWindowScaffold w(*fs, prompts);
    w.window.show();
    const QSize start = w.window.size();
    for (const QSize size : {start, start * 3 / 2, QSize(start.width() * 2, start.height())}) {
        w.window.resize(size);
        QWidget* client = w.window.centralWidget();
        std::vector<QWidget*> shown;
        for (QWidget* c : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (c->isVisible())
                shown.push_back(c);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_TRUE(client->rect().contains(shown[i]->geometry()))
                << shown[i]->objectName().toStdString() << " at " << size.width();
            for (std::size_t j = i + 1; j < shown.size(); ++j)
                EXPECT_FALSE(shownRect(shown[i]).intersects(shownRect(shown[j])))
                    << shown[i]->objectName().toStdString() << " and "
                    << shown[j]->objectName().toStdString() << " at " << size.width();
        }
        const auto g = [](const QWidget* c) { return c->geometry(); };
        EXPECT_LE(g(w.toolBar).bottom(), g(w.driveList).top());
        EXPECT_LT(g(w.driveList).right(), g(w.folderEdit).left());
        EXPECT_LT(g(w.folderView).right(), g(w.fileView).left());
        EXPECT_LT(g(w.folderEdit).bottom(), g(w.fileView).top());
        EXPECT_LT(g(w.pattern).right(), g(w.subfolders).left());
        EXPECT_LT(g(w.folderView).bottom(), g(w.resultList).top());
        EXPECT_LT(g(w.resultList).bottom(), g(w.statusBar).top());
        // The marker frames the result list whenever it is shown.
        EXPECT_TRUE(g(w.listMarker).contains(g(w.resultList)));
    }
}

INSTANTIATE_TEST_SUITE_P(FontSizes, MainLayout, ::testing::Values(1.0, 1.5));

} // namespace

#include "ui/main/main_layout.h"

namespace ui {

namespace {

// A size that a control refuses leaves the old value in place.
void setSize(float& target, float value) {
    if (value >= 0.0f)
        target = value;
}

} // namespace

MainLayout designLayout() {
    using namespace design;
    MainLayout l;
    l.resultListWidth = resultList.width;
    l.resultListHeight = resultList.height;
    l.driveListWidth = driveList.width;
    l.folderViewWidth = folderView.width;
    l.folderEditLeft = folderEdit.left;
    l.folderEditWidth = folderEdit.width;
    l.fileViewLeft = fileView.left;
    l.fileViewWidth = fileView.width;
    l.patternLabelLeft = patternLabel.left;
    l.folderLabelLeft = folderLabel.left;
    l.patternLeft = pattern.left;
    l.subfoldersLeft = subfolders.left;
    l.markerLeft = listMarker.left;
    l.markerTop = listMarker.top;
    l.markerWidth = listMarker.width;
    l.markerHeight = listMarker.height;
    return l;
}

void placeMarker(MainLayout& l) {
    l.markerLeft = design::resultList.left - 10.0f;
    l.markerTop = design::resultList.top - 10.0f;
    setSize(l.markerWidth, l.resultListWidth + 60.0f);
    setSize(l.markerHeight, l.resultListHeight + 60.0f);
}

void applyResizeRules(MainLayout& l, float W, float H) {
    setSize(l.resultListWidth, W - 480.0f);
    setSize(l.resultListHeight, H - 1.42f * (design::folderView.height + design::driveList.height +
                                             design::statusBar.height + design::toolBar.height));
    setSize(l.driveListWidth, W / 2.0f * 0.94f);
    l.folderEditLeft = l.driveListWidth + W * 0.025f;
    l.fileViewLeft = l.folderEditLeft;
    setSize(l.folderViewWidth, l.driveListWidth);
    setSize(l.folderEditWidth, l.resultListWidth - l.folderViewWidth * 1.04f);
    setSize(l.fileViewWidth, l.folderEditWidth);
    l.patternLabelLeft = l.fileViewLeft;
    l.folderLabelLeft = l.patternLabelLeft;
    l.patternLeft = l.patternLabelLeft + design::patternLabel.width;
    l.subfoldersLeft = l.patternLeft + design::pattern.width + 400.0f;
    placeMarker(l);
}

} // namespace ui

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
    l.list1Width = List1.width;
    l.list1Height = List1.height;
    l.drive1Width = Drive1.width;
    l.dir1Width = Dir1.width;
    l.txtFolderMaskLeft = txtFolderMask.left;
    l.txtFolderMaskWidth = txtFolderMask.width;
    l.file1Left = File1.left;
    l.file1Width = File1.width;
    l.lblMusterLeft = lblMuster.left;
    l.lblPathLeft = lblPath.left;
    l.cboMusterLeft = cboMuster.left;
    l.check1Left = Check1.left;
    l.shpMarkerLeft = shpMarker.left;
    l.shpMarkerTop = shpMarker.top;
    l.shpMarkerWidth = shpMarker.width;
    l.shpMarkerHeight = shpMarker.height;
    return l;
}

void placeMarker(MainLayout& l) {
    l.shpMarkerLeft = design::List1.left - 10.0f;
    l.shpMarkerTop = design::List1.top - 10.0f;
    setSize(l.shpMarkerWidth, l.list1Width + 60.0f);
    setSize(l.shpMarkerHeight, l.list1Height + 60.0f);
}

void applyResizeRules(MainLayout& l, float W, float H) {
    setSize(l.list1Width, W - 480.0f);
    setSize(l.list1Height, H - 1.42f * (design::Dir1.height + design::Drive1.height +
                                        design::StatusBar1.height + design::Toolbar1.height));
    setSize(l.drive1Width, W / 2.0f * 0.94f);
    l.txtFolderMaskLeft = l.drive1Width + W * 0.025f;
    l.file1Left = l.txtFolderMaskLeft;
    setSize(l.dir1Width, l.drive1Width);
    setSize(l.txtFolderMaskWidth, l.list1Width - l.dir1Width * 1.04f);
    setSize(l.file1Width, l.txtFolderMaskWidth);
    l.lblMusterLeft = l.file1Left;
    l.lblPathLeft = l.lblMusterLeft;
    l.cboMusterLeft = l.lblMusterLeft + design::lblMuster.width;
    l.check1Left = l.cboMusterLeft + design::cboMuster.width + 400.0f;
    placeMarker(l);
}

} // namespace ui

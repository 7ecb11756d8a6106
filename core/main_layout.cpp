#include "core/main_layout.h"

namespace core {

namespace {

// A size that a control refuses leaves the old value in place.
void setSize(float& target, float value) {
    if (value >= 0.0f)
        target = value;
}

} // namespace

MainLayout DesignLayout() {
    MainLayout l;
    l.list1Left = 120;
    l.list1Top = 4200;
    l.list1Width = 11655;
    l.list1Height = 3570;
    l.drive1Width = 5640;
    l.drive1Height = 315;
    l.dir1Width = 5640;
    l.dir1Height = 2790;
    l.txtFolderMaskLeft = 6120;
    l.txtFolderMaskWidth = 5640;
    l.file1Left = 6120;
    l.file1Width = 5640;
    l.lblMusterLeft = 6120;
    l.lblMusterWidth = 735;
    l.lblPathLeft = 6120;
    l.cboMusterLeft = 6720;
    l.cboMusterWidth = 1095;
    l.check1Left = 8040;
    l.statusBar1Height = 375;
    l.toolbar1Height = 360;
    l.shpMarkerLeft = 9720;
    l.shpMarkerTop = 3600;
    l.shpMarkerWidth = 615;
    l.shpMarkerHeight = 495;
    return l;
}

void PlaceMarker(MainLayout& l) {
    l.shpMarkerLeft = l.list1Left - 10.0f;
    l.shpMarkerTop = l.list1Top - 10.0f;
    setSize(l.shpMarkerWidth, l.list1Width + 60.0f);
    setSize(l.shpMarkerHeight, l.list1Height + 60.0f);
}

void ApplyResizeRules(MainLayout& l, float W, float H) {
    setSize(l.list1Width, W - 480.0f);
    setSize(l.list1Height,
            H - 1.42f * (l.dir1Height + l.drive1Height + l.statusBar1Height + l.toolbar1Height));
    setSize(l.drive1Width, W / 2.0f * 0.94f);
    l.txtFolderMaskLeft = l.drive1Width + W * 0.025f;
    l.file1Left = l.txtFolderMaskLeft;
    setSize(l.dir1Width, l.drive1Width);
    setSize(l.txtFolderMaskWidth, l.list1Width - l.dir1Width * 1.04f);
    setSize(l.file1Width, l.txtFolderMaskWidth);
    l.lblMusterLeft = l.file1Left;
    l.lblPathLeft = l.lblMusterLeft;
    l.cboMusterLeft = l.lblMusterLeft + l.lblMusterWidth;
    l.check1Left = l.cboMusterLeft + l.cboMusterWidth + 400.0f;
    PlaceMarker(l);
}

} // namespace core

#pragma once

// The main window's resize rules, in twips and single precision. A rule whose value a control
// would refuse (a negative width or height) is skipped and the rules after it still run.

namespace core {

struct MainLayout {
    // Changed by the rules.
    float list1Width = 0, list1Height = 0;
    float drive1Width = 0;
    float txtFolderMaskLeft = 0, txtFolderMaskWidth = 0;
    float file1Left = 0, file1Width = 0;
    float dir1Width = 0;
    float lblMusterLeft = 0, lblPathLeft = 0;
    float cboMusterLeft = 0;
    float check1Left = 0;
    float shpMarkerLeft = 0, shpMarkerTop = 0, shpMarkerWidth = 0, shpMarkerHeight = 0;
    // Read by the rules, never changed by them.
    float list1Left = 0, list1Top = 0;
    float dir1Height = 0, drive1Height = 0, statusBar1Height = 0, toolbar1Height = 0;
    float lblMusterWidth = 0, cboMusterWidth = 0;
};

// The design-time geometry of the main window's controls.
MainLayout DesignLayout();

// Places the marker frame around the result list: 10 twips beyond its left and top edges and
// 50 beyond its right and bottom edges.
void PlaceMarker(MainLayout& layout);

// Runs the thirteen resize rules for the window's outer width and height in twips.
void ApplyResizeRules(MainLayout& layout, float outerWidth, float outerHeight);

} // namespace core

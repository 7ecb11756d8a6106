#pragma once

// The main window's geometry in twips: the design-time place of every control, written here
// once, and the resize rules, in single precision. A rule whose value a control would refuse (a
// negative width or height) is skipped and the rules after it still run.

namespace ui {

struct TwipsRect {
    float left, top, width, height;
};

// Where each control of the main window stands at design time, in its client area.
namespace design {
inline constexpr float clientWidth = 11910, clientHeight = 8280;
inline constexpr TwipsRect StatusBar1{0, 7905, 11910, 375};
inline constexpr TwipsRect Command1{9120, 7200, 1215, 375};
inline constexpr TwipsRect Text3{8400, 7200, 615, 285};
inline constexpr TwipsRect Text2{7680, 7200, 615, 285};
inline constexpr TwipsRect Text1{3720, 7200, 3855, 285};
inline constexpr TwipsRect cmdList{10440, 7200, 1455, 375};
inline constexpr TwipsRect Check1{8040, 3600, 1995, 255};
inline constexpr TwipsRect cboMuster{6720, 3600, 1095, 315};
inline constexpr TwipsRect List1{120, 4200, 11655, 3570};
inline constexpr TwipsRect Toolbar1{0, 0, 11910, 360};
inline constexpr TwipsRect txtFolderMask{6120, 720, 5640, 285};
inline constexpr TwipsRect File1{6120, 1200, 5640, 2235};
inline constexpr TwipsRect Dir1{120, 1200, 5640, 2790};
inline constexpr TwipsRect Drive1{120, 720, 5640, 315};
inline constexpr TwipsRect shpMarker{9720, 3600, 615, 495};
inline constexpr TwipsRect Label3{240, 7200, 855, 255};
inline constexpr TwipsRect Label4{2040, 7200, 855, 255};
inline constexpr TwipsRect Label5{2760, 7200, 855, 255};
inline constexpr TwipsRect Label6{960, 7200, 855, 255};
inline constexpr TwipsRect lblMuster{6120, 3620, 735, 375};
inline constexpr TwipsRect lblPath{6120, 480, 4215, 375};
inline constexpr TwipsRect lbDrive{120, 480, 1215, 255};
} // namespace design

struct MainLayout {
    // What the rules change.
    float list1Width = 0, list1Height = 0;
    float drive1Width = 0;
    float txtFolderMaskLeft = 0, txtFolderMaskWidth = 0;
    float file1Left = 0, file1Width = 0;
    float dir1Width = 0;
    float lblMusterLeft = 0, lblPathLeft = 0;
    float cboMusterLeft = 0;
    float check1Left = 0;
    float shpMarkerLeft = 0, shpMarkerTop = 0, shpMarkerWidth = 0, shpMarkerHeight = 0;
    // What the rules read and never change stays where the design puts it.
};

// What the resize rules read and change, as the design places it.
MainLayout designLayout();

// Places the marker frame around the result list: 10 twips beyond its left and top edges and
// 50 beyond its right and bottom edges.
void placeMarker(MainLayout& layout);

// Runs the thirteen resize rules for the window's outer width and height in twips.
void applyResizeRules(MainLayout& layout, float outerWidth, float outerHeight);

} // namespace ui

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
inline constexpr TwipsRect statusBar{0, 7905, 11910, 375};
inline constexpr TwipsRect subfolders{8040, 3600, 1995, 255};
inline constexpr TwipsRect pattern{6720, 3600, 1095, 315};
inline constexpr TwipsRect resultList{120, 4200, 11655, 3570};
inline constexpr TwipsRect toolBar{0, 0, 11910, 360};
inline constexpr TwipsRect folderEdit{6120, 720, 5640, 285};
inline constexpr TwipsRect fileView{6120, 1200, 5640, 2235};
inline constexpr TwipsRect folderView{120, 1200, 5640, 2790};
inline constexpr TwipsRect driveList{120, 720, 5640, 315};
inline constexpr TwipsRect listMarker{9720, 3600, 615, 495};
inline constexpr TwipsRect patternLabel{6120, 3620, 735, 375};
inline constexpr TwipsRect folderLabel{6120, 480, 4215, 375};
inline constexpr TwipsRect driveLabel{120, 480, 1215, 255};
} // namespace design

struct MainLayout {
    // What the rules change.
    float resultListWidth = 0, resultListHeight = 0;
    float driveListWidth = 0;
    float folderEditLeft = 0, folderEditWidth = 0;
    float fileViewLeft = 0, fileViewWidth = 0;
    float folderViewWidth = 0;
    float patternLabelLeft = 0, folderLabelLeft = 0;
    float patternLeft = 0;
    float subfoldersLeft = 0;
    float markerLeft = 0, markerTop = 0, markerWidth = 0, markerHeight = 0;
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

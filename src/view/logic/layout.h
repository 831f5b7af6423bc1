// Where the main window's controls sit, in pixels of its drawing area. The
// window places its widgets from this table and the artwork generator paints
// the buttons' released faces into the background picture at the same
// rectangles, so the two always agree.
#pragma once

namespace valkoran::layout {

struct Rect {
  int x, y, w, h;
  constexpr int Right() const { return x + w; }
  constexpr int Bottom() const { return y + h; }
  constexpr bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// The drawing area of frmGalaxy and the background picture that fills it.
inline constexpr int kAreaWidth = 1018;
inline constexpr int kAreaHeight = 693;
inline constexpr int kBackgroundWidth = 1024;
inline constexpr int kBackgroundHeight = 768;
// A drawing area this wide or narrower cannot hold the view.
inline constexpr int kMinimumAreaWidth = 1000;

// The sun, and the scales from model units to pixels, derived from it.
inline constexpr float kViewCenterX = 1018.0f / 2;
inline constexpr float kViewCenterY = 693.0f / 3 - 25;

// Pointer moves above this line draw the pending order's line.
inline constexpr int kLowerPanelTop = 408;

// The strength bar of a battle.
inline constexpr int kBarLeft = 280, kBarRight = 735, kBarTop = 476, kBarBottom = 484;

// Left column: the attacker's frame, then the chat.
inline constexpr Rect kFraFrom{4, 360, 270, 110};
inline constexpr Rect kTxtChat{4, 476, 270, 176};
inline constexpr Rect kTxtMessage{4, 656, 200, 22};

// Middle column: notice line and message box above the bar, the panel below.
inline constexpr Rect kTxtGame{280, 420, 455, 20};
inline constexpr Rect kTxtMove{280, 446, 455, 17};  // one line; enlarged 62 up, 84 high
inline constexpr int kTxtMoveRise = 62, kTxtMoveTall = 84;
inline constexpr Rect kTxtOwned{280, 488, 455, 16};
inline constexpr Rect kLstOwned{280, 504, 455, 88};
inline constexpr Rect kLstTravel{280, 596, 455, 84};

// Right column: the defender's frame, seat status lines, buttons, indicators.
inline constexpr Rect kFraTo{744, 360, 270, 110};
inline constexpr Rect StatusLine(int seat) { return Rect{744, 476 + 18 * seat, 270, 16}; }
inline constexpr Rect kImgBomb{744, 622, 20, 20};
inline constexpr Rect kLblBomb{766, 624, 40, 16};
inline constexpr Rect kImgDouble{810, 622, 20, 20};
inline constexpr Rect kImgCrystal{836, 622, 20, 20};

// The image buttons of the main window: picture number and face text.
struct Button {
  const char* name;  // the control's object name
  int number;        // butt<N>.jpg / ddentbutt<N>.jpg
  const char* face;  // engraved on the released face
  Rect rect;
};
inline constexpr Button kButtons[] = {
    {"ImgLabels", 1, "Labels", {744, 556, 86, 26}},
    {"ImgTravel", 2, "Fleets", {836, 556, 86, 26}},
    {"ImgDone", 3, "Done", {928, 556, 86, 26}},
    {"ImgHelp", 4, "Help", {744, 588, 86, 26}},
    {"ImgStatus", 5, "Status", {836, 588, 86, 26}},
    {"ImgQuit", 6, "Quit", {928, 588, 86, 26}},
    {"ImgSend", 7, "Send", {208, 656, 66, 22}},
};

// The setup window (frmMulti): a fixed-size dialog with its own picture
// buttons; the start button's faces are butt12/ddentbutt12, the connect
// button's butt13..15.
inline constexpr int kSetupWidth = 520, kSetupHeight = 470;
inline constexpr Rect kSetupStart{370, 418, 130, 36};
inline constexpr Rect kSetupConnect{230, 418, 130, 36};

// The proximity-bomb window: wide enough for its title beside the window
// manager's buttons, its controls in the middle; the set button is butt18.
inline constexpr int kProximityWidth = 210, kProximityHeight = 124;
inline constexpr Rect kProximitySet{50, 84, 110, 30};

}  // namespace valkoran::layout

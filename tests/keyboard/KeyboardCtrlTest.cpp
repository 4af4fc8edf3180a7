// The keyboard picture: what its owner hears for each mouse sequence, where
// its keys lie for each draw offset, the rubber band and frame-select rules,
// the key shapes it draws, layout rectangles it refuses, and the key list
// shared with a second thread.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/DibCanvas.h"
#include "tests/support/Recorders.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace VREL;
using testsupport::RecordingOwner;
using testsupport::Report;

namespace {

constexpr UINT kId = 63;
const CRect kControl(100, 50, 400, 250);
// Draw offset after SetRect: (16, 24); so layout (0, 0) is client (116, 74).
constexpr int kOriginX = 116;
constexpr int kOriginY = 74;

constexpr int kCodeA = 4;
constexpr int kCodeB = 5;
constexpr int kCodeC = 6;

const WPARAM kNone = static_cast<WPARAM>(-1);

bool g_ctrlHeld = false;
bool FakeCtrl() { return g_ctrlHeld; }

// Three keys in a row: A at layout (0, 0), B at (50, 0), C at (100, 0),
// each 40 x 40.
struct Picture
{
    explicit Picture(bool withKeys = true) : ctrl(&owner, kId, kControl, 1)
    {
        ctrl.SetRect(kControl);
        ctrl.SetCtrlKeyState(&FakeCtrl);
        g_ctrlHeld = false;
        if (withKeys)
        {
            ctrl.AddKeyItem(L"A", L"A", kCodeA, CRect(0, 0, 40, 40), L"", RGB(10, 0, 0));
            ctrl.AddKeyItem(L"B", L"B", kCodeB, CRect(50, 0, 90, 40), L"", 0);
            ctrl.AddKeyItem(L"C", L"C", kCodeC, CRect(100, 0, 140, 40), L"", RGB(0, 0, 30));
        }
        owner.Clear();
    }
    // Centre of a key in window-client coordinates.
    static CPoint At(int index) { return CPoint(kOriginX + 50 * index + 20, kOriginY + 20); }

    std::set<int> Checked()
    {
        std::set<int> codes;
        for (const KEY_INFO& key : ctrl.GetKeyItems())
            if (key.checked)
                codes.insert(key.keyCode);
        return codes;
    }
    COLORREF ColourOf(int code)
    {
        for (const KEY_COLOR& key : ctrl.GetKeyColors())
            if (key.keyCode == code)
                return key.color;
        return CLR_INVALID;
    }

    RecordingOwner owner;
    KeyboardCtrl ctrl;
};

// One mouse event of a scripted sequence.
struct Mouse
{
    enum Kind { MOVE, LDOWN, LUP, RDOWN, RUP } kind;
    CPoint pt;
    UINT flags;
};

void Play(KeyboardCtrl& ctrl, const std::vector<Mouse>& script)
{
    for (const Mouse& m : script)
    {
        switch (m.kind)
        {
        case Mouse::MOVE: ctrl.OnControlMouseMove(m.flags, m.pt); break;
        case Mouse::LDOWN: ctrl.OnControlLButtonDown(m.flags, m.pt); break;
        case Mouse::LUP: ctrl.OnControlLButtonUp(m.flags, m.pt); break;
        case Mouse::RDOWN: ctrl.OnControlRButtonDown(m.flags, m.pt); break;
        case Mouse::RUP: ctrl.OnControlRButtonUp(m.flags, m.pt); break;
        }
    }
}

const CPoint kGap(kOriginX + 45, kOriginY + 20);   // between A and B
const CPoint kOutside(50, 20);                      // outside the control
const CPoint kFar(kOriginX + 145, kOriginY + 100);  // inside, far from every key corner

struct SequenceCase
{
    const char* name;
    bool keys;
    int frameSelect;
    std::vector<Mouse> script;
    std::vector<Report> expected;
    int currentKeyValue;
};

} // namespace

// What the owner hears for each sequence, and the key value left behind.
TEST(KeyboardCtrl, NotificationSequences)
{
    const CPoint a = Picture::At(0);
    const CPoint b = Picture::At(1);
    const std::vector<SequenceCase> cases = {
        {"click on a key", true, 0,
         {{Mouse::MOVE, a, 0}, {Mouse::LDOWN, a, MK_LBUTTON}, {Mouse::LUP, a, 0}},
         {{kId, NC_PRESSED, 0, kCodeA}, {kId, NC_CLICKED, 0, 0}}, kCodeA},
        {"click between keys", true, 0,
         {{Mouse::MOVE, kGap, 0}, {Mouse::LDOWN, kGap, MK_LBUTTON}, {Mouse::LUP, kGap, 0}},
         {{kId, NC_PRESSED, kNone, 0}, {kId, NC_CLICKED, kNone, 0}}, -1},
        {"click with no keys at all", false, 0,
         {{Mouse::MOVE, a, 0}, {Mouse::LDOWN, a, MK_LBUTTON}, {Mouse::LUP, a, 0}},
         {{kId, NC_PRESSED, kNone, 0}, {kId, NC_CLICKED, kNone, 0}}, -1},
        {"press outside the control reports nothing", true, 0,
         {{Mouse::MOVE, kOutside, 0}, {Mouse::LDOWN, kOutside, MK_LBUTTON}, {Mouse::LUP, kOutside, 0}},
         {}, 0},
        {"right click on a key", true, 0,
         {{Mouse::MOVE, b, 0}, {Mouse::RDOWN, b, MK_RBUTTON}, {Mouse::RUP, b, 0}},
         {{kId, NC_RCLICK, 1, kCodeB}}, kCodeB},
        {"right click between keys", true, 0,
         {{Mouse::MOVE, kGap, 0}, {Mouse::RDOWN, kGap, MK_RBUTTON}, {Mouse::RUP, kGap, 0}},
         {{kId, NC_RCLICK, kNone, 0}}, 0},
        {"right drag in frame select ends the band with 24 only", true, 1,
         {{Mouse::MOVE, a, 0}, {Mouse::RDOWN, a, MK_RBUTTON}, {Mouse::MOVE, kFar, MK_RBUTTON}, {Mouse::RUP, kFar, 0}},
         {{kId, NC_RUBBER_BAND, 0, 0}}, 0},
        {"left drag in frame select: press, then the click on release", true, 1,
         {{Mouse::MOVE, a, 0}, {Mouse::LDOWN, a, MK_LBUTTON}, {Mouse::MOVE, kFar, MK_LBUTTON}, {Mouse::LUP, kFar, 0}},
         {{kId, NC_PRESSED, 0, kCodeA}, {kId, NC_CLICKED, 0, 0}}, kCodeA},
    };
    for (const SequenceCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Picture p(c.keys);
        p.ctrl.EnableFrameSelect(c.frameSelect);
        Play(p.ctrl, c.script);
        EXPECT_EQ(p.owner.reports, c.expected);
        EXPECT_EQ(p.ctrl.GetCurrentKeyValue(), c.currentKeyValue);
    }
}

// A disabled picture takes no mouse input and reports nothing.
TEST(KeyboardCtrl, DisabledPictureIgnoresTheMouse)
{
    Picture p;
    p.ctrl.SetEnabled(0);
    p.owner.Clear();
    const CPoint a = Picture::At(0);
    EXPECT_EQ(p.ctrl.OnControlMouseMove(0, a), 0);
    EXPECT_EQ(p.ctrl.OnControlLButtonDown(MK_LBUTTON, a), 0);
    EXPECT_EQ(p.ctrl.OnControlLButtonUp(0, a), 0);
    EXPECT_EQ(p.ctrl.OnControlRButtonUp(0, a), 0);
    EXPECT_TRUE(p.owner.reports.empty());
    EXPECT_EQ(p.ctrl.GetHoverIndex(), -1);
}

// Hover: moving inside one key asks for no repaint; moving onto another
// key asks for one.
TEST(KeyboardCtrl, HoverRepaintsOnlyWhenTheKeyChanges)
{
    Picture p;
    EXPECT_EQ(p.ctrl.OnControlMouseMove(0, Picture::At(0)), 1);
    p.owner.Clear();
    EXPECT_EQ(p.ctrl.OnControlMouseMove(0, Picture::At(0) + CPoint(5, 5)), 1);
    EXPECT_TRUE(p.owner.repaints.empty());
    EXPECT_EQ(p.ctrl.OnControlMouseMove(0, Picture::At(1)), 1);
    EXPECT_EQ(p.ctrl.GetHoverIndex(), 1);
    EXPECT_EQ(p.owner.repaints.size(), 1u);
    EXPECT_EQ(p.ctrl.OnControlMouseMove(0, kOutside), 1);
    EXPECT_EQ(p.ctrl.GetHoverIndex(), -1);

    // A drag of a function over the window moves the hover the same way.
    p.ctrl.DragMove(Picture::At(2));
    EXPECT_EQ(p.ctrl.GetHoverIndex(), 2);
    EXPECT_TRUE(p.owner.reports.empty());
}

// The draw offset after each layout call, and the keys found under points
// with it: left and top edges belong to a key, right and bottom do not.
TEST(KeyboardCtrl, DrawOffsetAndKeyUnderPoint)
{
    struct OffsetCase
    {
        const char* name;
        CRect rect;
        bool setRect;
        int layoutW;
        int layoutH;
        CPoint offset;
    };
    const OffsetCase cases[] = {
        {"as constructed", CRect(0, 0, 300, 200), false, 0, 0, CPoint(6, 6)},
        {"after SetRect", CRect(0, 0, 300, 200), true, 0, 0, CPoint(16, 24)},
        {"layout 30 smaller both ways", CRect(0, 0, 300, 200), true, 270, 170, CPoint(15, 15)},
        {"odd difference truncates", CRect(0, 0, 301, 201), true, 270, 170, CPoint(15, 15)},
        {"layout larger than the control", CRect(0, 0, 300, 200), true, 331, 200, CPoint(-15, 0)},
    };
    for (const OffsetCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        RecordingOwner owner;
        KeyboardCtrl ctrl(&owner, kId, c.rect, 1);
        if (c.setRect)
            ctrl.SetRect(c.rect);
        if (c.layoutW)
            ctrl.SetWidthAndHeight(c.layoutW, c.layoutH);
        EXPECT_EQ(ctrl.GetDrawOffset(), c.offset);
        ctrl.AddKeyItem(L"K", L"K", 30, CRect(10, 20, 50, 60), L"", 0);
        const CPoint topLeft(c.rect.left + c.offset.x + 10, c.rect.top + c.offset.y + 20);
        EXPECT_EQ(ctrl.GetKeyRect(30), CRect(topLeft.x, topLeft.y, topLeft.x + 40, topLeft.y + 40));
        EXPECT_EQ(ctrl.GetKeyCodeByPoint(topLeft), 30);
        EXPECT_EQ(ctrl.GetKeyCodeByPoint(topLeft + CPoint(39, 39)), 30);
        EXPECT_EQ(ctrl.GetKeyCodeByPoint(topLeft + CPoint(40, 0)), 0);
        EXPECT_EQ(ctrl.GetKeyCodeByPoint(topLeft + CPoint(0, 40)), 0);
        EXPECT_EQ(ctrl.GetKeyCodeByPoint(topLeft - CPoint(1, 0)), 0);
        EXPECT_TRUE(ctrl.GetKeyRect(31).IsRectNull());
    }
}

// Rectangles from a broken layout are refused, the rest of the layout loads.
TEST(KeyboardCtrl, RefusesLayoutRectanglesOutOfRange)
{
    Picture p(false);
    EXPECT_EQ(p.ctrl.AddKeyItem(L"ok", L"", 4, CRect(0, 0, 40, 40), L"", 0), 0);
    EXPECT_EQ(p.ctrl.AddKeyItem(L"inverted", L"", 5, CRect(40, 0, 0, 40), L"", 0), -1);
    EXPECT_EQ(p.ctrl.AddKeyItem(L"upside down", L"", 6, CRect(0, 40, 40, 0), L"", 0), -1);
    EXPECT_EQ(p.ctrl.AddKeyItem(L"far away", L"", 7, CRect(0, 0, 40, 2000000000), L"", 0), -1);
    EXPECT_EQ(p.ctrl.AddKeyItem(L"far left", L"", 8, CRect(-2000000000, 0, 0, 40), L"", 0), -1);
    EXPECT_EQ(p.ctrl.AddKeyItem(L"next", L"", 9, CRect(50, 0, 90, 40), L"", 0), 1);
    EXPECT_EQ(p.ctrl.GetKeyCount(), 2);
    // A missing icon leaves the key without one.
    EXPECT_EQ(p.ctrl.AddKeyItem(L"icon", L"", 10, CRect(100, 0, 140, 40), L"no\\such.png", 0), 2);
    EXPECT_EQ(p.ctrl.GetKeyItems()[2].iconWidth, 0);
}

// The rubber band: which keys a band checks, the 6 px minimum, the 20 px
// slack of small moves, and what Ctrl keeps.
TEST(KeyboardCtrl, RubberBandRules)
{
    const CPoint a = Picture::At(0);
    struct BandCase
    {
        const char* name;
        CPoint start;
        CPoint end;
        std::set<int> checked;
        int active;
    };
    const BandCase cases[] = {
        {"band over A and B", CPoint(kOriginX + 10, kOriginY + 10), CPoint(kOriginX + 60, kOriginY + 60),
         {kCodeA, kCodeB}, 1},
        {"band over all three, drawn backwards", CPoint(kOriginX + 130, kOriginY + 90), CPoint(kOriginX + 5, kOriginY + 5),
         {kCodeA, kCodeB, kCodeC}, 1},
        {"band 5 px wide checks nothing", CPoint(kOriginX + 10, kOriginY + 10), CPoint(kOriginX + 15, kOriginY + 90),
         {}, 1},
        {"band 5 px high checks nothing", CPoint(kOriginX + 10, kOriginY + 10), CPoint(kOriginX + 130, kOriginY + 15),
         {}, 1},
        {"band only between the keys", CPoint(kOriginX + 41, kOriginY - 20), CPoint(kOriginX + 49, kOriginY + 60),
         {}, 1},
        {"a move of 20 px is ignored", CPoint(kOriginX + 10, kOriginY + 10), CPoint(kOriginX + 30, kOriginY + 30),
         {}, 0},
    };
    for (const BandCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Picture p;
        p.ctrl.EnableFrameSelect(1);
        p.ctrl.SetKeyCheck(kCodeC, 1);  // set before the band: replaced by it
        // A left press sets both band corners, so the slack applies to the
        // first move already.
        p.ctrl.OnControlLButtonDown(MK_LBUTTON, c.start);
        p.ctrl.OnControlMouseMove(MK_LBUTTON, c.end);
        EXPECT_EQ(p.ctrl.IsBandActive(), c.active);
        if (c.active)
        {
            EXPECT_EQ(p.Checked(), c.checked);
        }
    }

    // Ctrl: a left press without Ctrl unchecks everything first; with Ctrl
    // the earlier checks stay and the clicked key's check flips.
    Picture p;
    p.ctrl.EnableFrameSelect(1);
    p.ctrl.SetKeyCheck(kCodeB, 1);
    p.ctrl.SetKeyCheck(kCodeC, 1);
    g_ctrlHeld = true;
    p.ctrl.OnControlMouseMove(0, a);
    p.ctrl.OnControlLButtonDown(MK_LBUTTON, a);
    EXPECT_EQ(p.Checked(), (std::set<int>{kCodeA, kCodeB, kCodeC}));
    p.ctrl.OnControlLButtonUp(0, a);
    p.ctrl.OnControlLButtonDown(MK_LBUTTON, a);
    EXPECT_EQ(p.Checked(), (std::set<int>{kCodeB, kCodeC}));
    p.ctrl.OnControlLButtonUp(0, a);
    g_ctrlHeld = false;
    p.ctrl.OnControlLButtonDown(MK_LBUTTON, a);
    EXPECT_EQ(p.Checked(), (std::set<int>{kCodeA}));
}

// A click in frame-select mode: a black key takes the select colour, any
// other colour becomes black; the check flips on its own.
TEST(KeyboardCtrl, FrameSelectClickTogglesColourAndCheck)
{
    Picture p;
    p.ctrl.EnableFrameSelect(1);
    EXPECT_EQ(p.ctrl.GetSelectColor(), RGB(255, 0, 0));
    g_ctrlHeld = true;
    const struct
    {
        int index;
        int code;
        COLORREF after;
        bool checked;
    } clicks[] = {
        {1, kCodeB, RGB(255, 0, 0), true},  // black -> select colour
        {0, kCodeA, 0, true},               // coloured -> black
        {1, kCodeB, 0, false},              // and back; the check flips again
    };
    for (const auto& click : clicks)
    {
        p.ctrl.OnControlMouseMove(0, Picture::At(click.index));
        p.ctrl.OnControlLButtonDown(MK_LBUTTON, Picture::At(click.index));
        p.ctrl.OnControlLButtonUp(0, Picture::At(click.index));
        EXPECT_EQ(p.ColourOf(click.code), click.after) << click.code;
        EXPECT_EQ(p.Checked().count(click.code) == 1, click.checked) << click.code;
    }

    // SetAllSelectColor paints the selected and every checked key and
    // becomes the colour later clicks give.
    p.ctrl.SetKeyCheck(kCodeC, 1);
    p.ctrl.SetAllSelectColor(RGB(0, 255, 0));
    EXPECT_EQ(p.ColourOf(kCodeC), RGB(0, 255, 0));
    EXPECT_EQ(p.ColourOf(kCodeB), RGB(0, 255, 0));  // selected by the last click
    EXPECT_EQ(p.ctrl.GetSelectColor(), RGB(0, 255, 0));
}

// Colour and selection setters that must leave things alone.
TEST(KeyboardCtrl, SettersThatChangeNothing)
{
    Picture p;
    p.ctrl.SetLightModeColor(1, RGB(1, 2, 3));
    EXPECT_EQ(p.ColourOf(kCodeA), RGB(10, 0, 0));
    p.ctrl.SetLightModeColor(0, RGB(1, 2, 3));
    for (const KEY_COLOR& key : p.ctrl.GetKeyColors())
        EXPECT_EQ(key.color, RGB(1, 2, 3));

    p.ctrl.SetCurrentKeyValue(kCodeB);
    EXPECT_EQ(p.ctrl.GetSelectedIndex(), 1);
    p.ctrl.SetCurrentKeyValue(99);
    EXPECT_EQ(p.ctrl.GetSelectedIndex(), 1);
    EXPECT_EQ(p.ctrl.GetCurrentKeyValue(), 99);
    p.ctrl.SetKeyColor(12345, RGB(9, 9, 9));  // no such key
    EXPECT_EQ(p.ColourOf(kCodeB), RGB(1, 2, 3));
    p.ctrl.ResetAllItemCheck(1);
    EXPECT_EQ(p.ctrl.GetCheckItemCount(), 3);
    EXPECT_EQ(p.ctrl.GetSelectedIndex(), -1);

    // A selection left over from a list that was replaced names no key.
    p.ctrl.SetCurrentKeyValue(kCodeC);
    p.ctrl.ClearItem();
    p.ctrl.AddKeyItem(L"only", L"", 70, CRect(0, 0, 40, 40), L"", 0);
    p.ctrl.SetAllSelectColor(RGB(0, 0, 255));
    EXPECT_EQ(p.ColourOf(70), 0u);
    EXPECT_EQ(p.ctrl.GetCheckItemCount(), 0);
}

// Key shapes: a key 8 units tall is drawn 12 tall in every mode that draws
// shapes; the round key is an ellipse; sub-keys show in the custom mode only
// after the round key was pressed; unknown modes draw no keys.
TEST(KeyboardCtrl, DrawsKeysByMode)
{
    const COLORREF red = RGB(220, 0, 0);
    struct DrawCase
    {
        const char* name;
        int mode;
        uint32_t keyFill;  // expected near the bottom of the 8-unit key
    };
    const DrawCase cases[] = {
        {"none", KEYBOARD_MODE_NONE, RgbOf(red)},
        {"custom without image", KEYBOARD_MODE_CUSTOM, 0x232425},
        {"light", KEYBOARD_MODE_LIGHT, RgbOf(red)},
        {"user light", KEYBOARD_MODE_USERLIGHT, RgbOf(red)},
        {"unknown mode", 104, 0x000000},
    };
    for (const DrawCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        PaintManager manager;
        testsupport::ManagerLikeOwner owner;
        KeyboardCtrl ctrl(&owner, kId, CRect(0, 0, 200, 100), 1);
        ctrl.SetManager(&manager);
        ctrl.SetKeyboardCtrlMode(c.mode);
        // Offset (16, 24): the short key spans y 24..32 as given, 24..36 drawn.
        ctrl.AddKeyItem(L"", L"", 30, CRect(0, 0, 60, 8), L"", red);
        DibCanvas canvas(200, 100, 0xFF000000);
        ctrl.Draw(canvas.Dc(), CRect(0, 0, 200, 100));
        EXPECT_TRUE(NearColor(canvas.Rgb(46, 34), c.keyFill, 8)) << std::hex << canvas.Rgb(46, 34);
        EXPECT_TRUE(NearColor(canvas.Rgb(46, 40), 0x000000, 8)) << std::hex << canvas.Rgb(46, 40);
    }

    // The round key and a sub-key in the custom mode without an image.
    PaintManager manager;
    testsupport::ManagerLikeOwner owner;
    KeyboardCtrl ctrl(&owner, kId, CRect(0, 0, 200, 100), 1);
    ctrl.SetManager(&manager);
    ctrl.SetKeyboardCtrlMode(KEYBOARD_MODE_CUSTOM);
    ctrl.AddKeyItem(L"", L"", KeyboardCtrl::kRoundKeyCode, CRect(0, 0, 40, 40), L"", 0);
    ctrl.AddKeyItem(L"", L"", KeyboardCtrl::kRoundKeyCode + 1, CRect(60, 0, 100, 40), L"", 0);
    ctrl.AddKeyItem(L"", L"", 30, CRect(120, 0, 160, 40), L"", 0);
    const CPoint roundCorner(16 + 2, 24 + 2);   // outside the ellipse, inside its box
    const CPoint subKeyCentre(16 + 80, 24 + 20);
    auto paint = [&](DibCanvas& canvas) {
        ctrl.SetUpdate(0, 0);
        ctrl.Draw(canvas.Dc(), CRect(0, 0, 200, 100));
    };
    DibCanvas before(200, 100, 0xFF000000);
    paint(before);
    EXPECT_TRUE(NearColor(before.Rgb(roundCorner.x, roundCorner.y), 0, 4));
    EXPECT_TRUE(NearColor(before.Rgb(16 + 20, 24 + 20), 0x232425, 4));
    EXPECT_TRUE(NearColor(before.Rgb(subKeyCentre.x, subKeyCentre.y), 0, 4)) << "sub-keys hidden at first";

    ctrl.OnControlMouseMove(0, CPoint(16 + 20, 24 + 20));
    ctrl.OnControlLButtonDown(MK_LBUTTON, CPoint(16 + 20, 24 + 20));
    DibCanvas shown(200, 100, 0xFF000000);
    paint(shown);
    EXPECT_TRUE(NearColor(shown.Rgb(subKeyCentre.x, subKeyCentre.y), 0x232425, 4)) << "shown after the round key";

    ctrl.OnControlMouseMove(0, CPoint(16 + 140, 24 + 20));
    ctrl.OnControlLButtonDown(MK_LBUTTON, CPoint(16 + 140, 24 + 20));
    DibCanvas hidden(200, 100, 0xFF000000);
    paint(hidden);
    EXPECT_TRUE(NearColor(hidden.Rgb(subKeyCentre.x, subKeyCentre.y), 0, 4)) << "hidden after an ordinary key";
}

// The lit picture is blended from what each key covers, measured once per
// layout: a paint must show every key in its exact colour and follow every
// change that recolours, moves, renames or marks a key or moves the layout.
TEST(KeyboardCtrl, LitPictureFollowsEveryChangeOfItsKeys)
{
    PaintManager manager;
    testsupport::ManagerLikeOwner owner;
    KeyboardCtrl ctrl(&owner, kId, CRect(0, 0, 200, 100), 1);
    ctrl.SetManager(&manager);
    ctrl.SetKeyboardCtrlMode(KEYBOARD_MODE_LIGHT);
    // Offset (16, 24): key A's centre is (36, 44), key B's (96, 44).
    const COLORREF colourA = RGB(200, 30, 90);
    const COLORREF colourB = RGB(10, 220, 40);
    ctrl.AddKeyItem(L"", L"", kCodeA, CRect(0, 0, 40, 40), L"", colourA);
    ctrl.AddKeyItem(L"", L"", kCodeB, CRect(60, 0, 100, 40), L"", colourB);
    auto paint = [&](DibCanvas& canvas) {
        ctrl.SetUpdate(0, 0);
        ctrl.Draw(canvas.Dc(), CRect(0, 0, 200, 100));
    };
    // Pixels of the band a key's name takes (the top 20 rows) that are not
    // the key's colour.
    auto marksInNameBand = [](DibCanvas& canvas, int left, COLORREF colour) {
        int marks = 0;
        for (int y = 24 + 4; y < 24 + 20; ++y)
            for (int x = left + 4; x < left + 36; ++x)
                marks += canvas.Rgb(x, y) != RgbOf(colour) ? 1 : 0;
        return marks;
    };

    DibCanvas first(200, 100, 0xFF000000);
    paint(first);
    EXPECT_EQ(first.Rgb(36, 44), RgbOf(colourA));
    EXPECT_EQ(first.Rgb(96, 44), RgbOf(colourB));
    EXPECT_EQ(first.Rgb(66, 44), 0u) << "between the keys";
    EXPECT_EQ(marksInNameBand(first, 16, colourA), 0);

    // Recoloured by the worker's stream.
    ctrl.SetKeyColors({KEY_COLOR{kCodeA, RGB(1, 2, 250)}});
    DibCanvas recoloured(200, 100, 0xFF000000);
    paint(recoloured);
    EXPECT_EQ(recoloured.Rgb(36, 44), RgbOf(RGB(1, 2, 250)));
    EXPECT_EQ(recoloured.Rgb(96, 44), RgbOf(colourB));

    // Named: white letters over the colour.
    ctrl.SetKeyDesc(kCodeA, L"W");
    DibCanvas named(200, 100, 0xFF000000);
    paint(named);
    EXPECT_GT(marksInNameBand(named, 16, RGB(1, 2, 250)), 10);
    EXPECT_EQ(named.Rgb(36, 54), RgbOf(RGB(1, 2, 250))) << "below the name";

    // Marked by frame select: the rim takes the select colour.
    ctrl.EnableFrameSelect(1);
    ctrl.SetKeyCheck(kCodeB, 1);
    DibCanvas marked(200, 100, 0xFF000000);
    paint(marked);
    EXPECT_TRUE(NearColor(marked.Rgb(76, 44), RgbOf(Manager::m_select_color), 8)) << std::hex << marked.Rgb(76, 44);
    EXPECT_EQ(marked.Rgb(96, 44), RgbOf(colourB));
    EXPECT_EQ(marked.Rgb(16, 44), RgbOf(RGB(1, 2, 250))) << "an unmarked rim keeps the key's colour";

    // The keys replaced by one elsewhere.
    ctrl.ClearItem();
    ctrl.AddKeyItem(L"", L"", kCodeC, CRect(120, 0, 160, 40), L"", colourB);
    DibCanvas moved(200, 100, 0xFF000000);
    paint(moved);
    EXPECT_EQ(moved.Rgb(36, 44), 0u);
    EXPECT_EQ(moved.Rgb(96, 44), 0u);
    EXPECT_EQ(moved.Rgb(156, 44), RgbOf(colourB));

    // A layout size centres the keys: offset (50, 30).
    ctrl.SetWidthAndHeight(100, 40);
    DibCanvas centred(200, 100, 0xFF000000);
    paint(centred);
    EXPECT_EQ(centred.Rgb(156, 44), 0u);
    EXPECT_EQ(centred.Rgb(50 + 140, 30 + 20), RgbOf(colourB));
}

// Copies, not pointers: what GetKeyItems hands out stays readable after the
// picture replaced its keys, and carries no icon of the picture's.
TEST(KeyboardCtrl, HandsOutCopies)
{
    Picture p;
    std::vector<KEY_INFO> copies = p.ctrl.GetKeyItems();
    p.ctrl.ClearItem();
    ASSERT_EQ(copies.size(), 3u);
    EXPECT_EQ(copies[1].keyCode, kCodeB);
    EXPECT_EQ(copies[1].name, CString(L"B"));
    EXPECT_EQ(copies[1].index, 1);
    for (const KEY_INFO& key : copies)
        EXPECT_EQ(key.icon, nullptr);
    copies[0].color = RGB(1, 1, 1);
    EXPECT_TRUE(p.ctrl.GetKeyColors().empty());
}

// The worker sets and reads key colours while the UI thread paints,
// replaces the whole key list and recolours it. Every read sees whole keys
// with one of the colours written, and nothing touches a freed record.
TEST(KeyboardCtrl, ColourUpdatesFromAnotherThreadWhileTheUiRepaintsAndClears)
{
    PaintManager manager;
    testsupport::ManagerLikeOwner owner;
    KeyboardCtrl ctrl(&owner, 118, CRect(0, 0, 320, 120), 1);
    ctrl.SetManager(&manager);
    ctrl.SetKeyboardCtrlMode(KEYBOARD_MODE_LIGHT);
    const std::set<COLORREF> written = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(9, 9, 9)};
    auto fill = [&] {
        for (int i = 0; i < 40; ++i)
            ctrl.AddKeyItem(L"K", L"K", 4 + i, CRect((i % 10) * 30, (i / 10) * 22, (i % 10) * 30 + 26, (i / 10) * 22 + 20),
                            L"", RGB(9, 9, 9));
    };
    fill();

    std::atomic<bool> stop{false};
    std::atomic<int> badReads{0};
    std::atomic<int> rounds{0};
    std::thread worker([&] {
        const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
        int n = 0;
        while (!stop)
        {
            const COLORREF colour = colours[n++ % 3];
            for (int code = 4; code < 44; ++code)
                ctrl.SetKeyColor(code, colour);
            std::vector<KEY_COLOR> frame;
            for (int code = 4; code < 44; ++code)
                frame.push_back(KEY_COLOR{code, colour});
            ctrl.SetKeyColors(frame);
            for (const KEY_COLOR& key : ctrl.GetKeyColors())
                if (!written.count(key.color) || key.keyCode < 4 || key.keyCode >= 44)
                    ++badReads;
            for (const KEY_INFO& key : ctrl.GetKeyItems())
                if (key.name != CString(L"K"))
                    ++badReads;
            ++rounds;
        }
    });
    DibCanvas canvas(320, 120);
    for (int i = 0; i < 150 || rounds < 20; ++i)
    {
        ctrl.SetUpdate(0, 0);
        ctrl.Draw(canvas.Dc(), CRect(0, 0, 320, 120));
        ctrl.ClearItem();
        fill();
        ctrl.ResetAllItemsColor(RGB(9, 9, 9));
        if (i > 5000)
            break;
    }
    stop = true;
    worker.join();
    EXPECT_EQ(badReads.load(), 0);
    EXPECT_GE(rounds.load(), 20);
    EXPECT_EQ(ctrl.GetKeyCount(), 40);
}

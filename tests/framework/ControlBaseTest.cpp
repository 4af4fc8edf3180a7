// The windowless control base: identity, repaint requests, the routing of
// input down the control tree, lookup, the parent-visibility walk and the
// cached picture. No window is needed: controls report to recording owners.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/framework/CoreTestSupport.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/Manager.h"

using namespace coretest;

namespace {

class FontProbe : public VREL::MControlFont
{
public:
    FontProbe(VREL::MObject* owner, UINT id, CRect rect) : MControlFont(owner, id, rect, L"title", 1, 1, 1) {}
    void DrawControl(HDC&, CRect) override {}

    int FrameCount() const { return m_frameCount; }
    Gdiplus::ARGB TextColor() const { return m_textColor.GetValue(); }
    Gdiplus::TextRenderingHint Hint() const { return m_textHint; }
};

// Records the order in which controls draw themselves.
class DrawOrderProbe : public Probe
{
public:
    DrawOrderProbe(VREL::MObject* owner, UINT id, CRect rect, std::vector<UINT>& order)
        : Probe(owner, id, rect), m_order(order)
    {
    }
    void DrawControl(HDC&, CRect) override { m_order.push_back(GetControlID()); }

private:
    std::vector<UINT>& m_order;
};

LOGFONTW FontOf(HFONT font)
{
    LOGFONTW description = {};
    ::GetObjectW(font, sizeof(description), &description);
    return description;
}

const CRect kRect(10, 10, 50, 30);

} // namespace

TEST(ControlBase, ClassIdentityIsExactAndCaseSensitive)
{
    RecordingOwner owner;
    Probe probe(&owner, 1, kRect);
    FontProbe font(&owner, 2, kRect);
    VREL::MDialog dialog;

    EXPECT_EQ(probe.IsClass(L"MControl"), 1);
    EXPECT_EQ(font.IsClass(L"MControl"), 1);
    EXPECT_EQ(probe.IsClass(L"mcontrol"), 0);
    EXPECT_EQ(probe.IsClass(L"MControlX"), 0);
    EXPECT_EQ(dialog.IsClass(L"MDialog"), 1);
    EXPECT_EQ(owner.IsClass(L"MControl"), 0);  // a bare object has no class name
}

// Each change of a visible control asks its owner for a repaint; unchanged
// values and hidden controls ask for nothing.
TEST(ControlBase, RepaintRequestsFollowVisibleChanges)
{
    struct Case
    {
        const char* name;
        std::function<void(Probe&, FontProbe&)> act;
        size_t requests;
        CRect rect;
        int redraw;
    };
    const Case cases[] = {
        {"SetVisible with the current value", [](Probe& p, FontProbe&) { p.SetVisible(1); }, 0, CRect(), 0},
        {"SetVisible(0) on a visible control", [](Probe& p, FontProbe&) { p.SetVisible(0); }, 1, kRect, 1},
        {"SetVisible(0, 0) without notice", [](Probe& p, FontProbe&) { p.SetVisible(0, 0); }, 0, CRect(), 0},
        {"SetRect on a hidden control",
         [](Probe& p, FontProbe&) {
             p.SetVisible(0, 0);
             p.SetRect(CRect(0, 0, 5, 5));
         },
         0, CRect(), 0},
        {"SetRect asks for old and new together",
         [](Probe& p, FontProbe&) { p.SetRect(60, 40, 10, 10); }, 1, CRect(10, 10, 70, 50), 1},
        {"SetEnabled with the current value", [](Probe& p, FontProbe&) { p.SetEnabled(1); }, 0, CRect(), 0},
        {"SetEnabled(0)", [](Probe& p, FontProbe&) { p.SetEnabled(0); }, 1, kRect, 1},
        {"UpdateControl forced on a hidden control",
         [](Probe& p, FontProbe&) {
             p.SetVisible(0, 0);
             p.UpdateControl(0, 1);
         },
         1, kRect, 0},
        {"UpdateControl on a hidden control", [](Probe& p, FontProbe&) {
             p.SetVisible(0, 0);
             p.UpdateControl(1, 0);
         }, 0, CRect(), 0},
        {"SetTitle", [](Probe&, FontProbe& f) { f.SetTitle(L"new"); }, 1, kRect, 1},
        {"SetAlignment with the current values", [](Probe&, FontProbe& f) { f.SetAlignment(0, 4); }, 0, CRect(), 0},
        {"SetAlignment centre", [](Probe&, FontProbe& f) { f.SetAlignment(1); }, 1, kRect, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RecordingOwner owner;
        Probe probe(&owner, 1, kRect);
        FontProbe font(&owner, 2, kRect);
        c.act(probe, font);
        ASSERT_EQ(owner.repaints.size(), c.requests);
        if (c.requests)
        {
            EXPECT_EQ(owner.repaints[0].rect, c.rect);
            EXPECT_EQ(owner.repaints[0].redraw, c.redraw);
        }
    }
}

// A font control starts from the library-wide font and its fixed defaults:
// white text, left and vertically centred, four frames, ClearType hinting.
TEST(ControlBase, FontControlStartsFromTheLibraryDefaults)
{
    RecordingOwner owner;
    FontProbe font(&owner, 1, kRect);
    EXPECT_TRUE(font.GetTextFont() == VREL::Manager::GetFontName());
    EXPECT_EQ(font.GetFontWidth(), VREL::Manager::m_fontwidth);
    EXPECT_EQ(font.GetFontStyle(), Gdiplus::FontStyleRegular);
    UINT h = 99, v = 99;
    font.GetAlignment(h, v);
    EXPECT_EQ(h, 0u);
    EXPECT_EQ(v, 4u);
    EXPECT_EQ(font.TextColor(), 0xFFFFFFFFu);
    EXPECT_EQ(font.Hint(), Gdiplus::TextRenderingHintClearTypeGridFit);
    EXPECT_EQ(font.FrameCount(), 4);
    EXPECT_EQ(font.GetImageSize(), CSize(0, 0));
    EXPECT_TRUE(font.GetTitle() == L"title");

    FontProbe untitled(&owner, 2, kRect);
    untitled.SetTitle(nullptr);
    EXPECT_TRUE(untitled.GetTitle().IsEmpty());
}

// The GDI font takes the library-wide face (not the control's own), the
// control's size as a negative height and its style bits; it is cached until
// cleared, and a new title clears it.
TEST(ControlBase, GdiFontFollowsTheLibraryFaceAndTheControlsSizeAndStyle)
{
    LOGFONTW stock = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    struct Case
    {
        int style;
        LONG weight;
        BYTE italic, underline;
    };
    const LONG bold = std::min<LONG>(stock.lfWeight + 700, 1000);
    const Case cases[] = {
        {Gdiplus::FontStyleRegular, stock.lfWeight, 0, 0},
        {Gdiplus::FontStyleBold, bold, 0, 0},
        {Gdiplus::FontStyleItalic | Gdiplus::FontStyleUnderline, stock.lfWeight, 1, 1},
    };
    RecordingOwner owner;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.style);
        FontProbe font(&owner, 1, kRect);
        font.SetFont(L"Courier New", 22, static_cast<Gdiplus::FontStyle>(c.style));
        HFONT made = font.GetGDIFont();
        ASSERT_NE(made, nullptr);
        const LOGFONTW description = FontOf(made);
        EXPECT_EQ(std::wstring(description.lfFaceName), std::wstring(VREL::Manager::GetFontName().GetString()));
        EXPECT_EQ(description.lfHeight, -22);
        EXPECT_EQ(description.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(description.lfWeight, c.weight);
        EXPECT_EQ(description.lfItalic, c.italic);
        EXPECT_EQ(description.lfUnderline, c.underline);

        // Setters do not drop the cached font; a title change does.
        font.SetFontWidth(30);
        EXPECT_EQ(font.GetGDIFont(), made);
        font.SetTitle(L"again");
        EXPECT_EQ(FontOf(font.GetGDIFont()).lfHeight, -30);
    }
}

TEST(ControlBase, GetControlSearchesDescendantsButNeverItself)
{
    RecordingOwner owner;
    Probe root(&owner, 7, kRect);
    Probe* child = new Probe(&root, 8, kRect);
    Probe* grandchild = new Probe(child, 9, kRect);
    Probe* area = new Probe(&root, 10, kRect);
    child->AddChild(grandchild);
    root.AddChild(child);
    root.AddArea(area);

    EXPECT_EQ(root.GetControl(9), grandchild);
    EXPECT_EQ(root.GetControl(10), area);
    EXPECT_EQ(root.GetControl(7), nullptr);
    EXPECT_EQ(root.GetControl(99), nullptr);
}

TEST(ControlBase, AnchorValues)
{
    struct Case
    {
        VREL::VR_POSITION_ITEM item;
        int a, b, expected;
    };
    const Case cases[] = {
        {{0, 0, 5.9f}, 10, 30, 15},  {{0, 1, 5.0f}, 10, 30, 25},  {{1, 0, 3.0f}, 10, 30, 23},
        {{1, 1, 3.0f}, 10, 30, 17},  {{2, 0, 50.0f}, 10, 30, 20}, {{2, 0, 150.0f}, 10, 30, 30},
        {{2, 1, 50.0f}, 10, 30, 20}, {{7, 0, 1.0f}, 10, 30, 0},
    };
    RecordingOwner owner;
    Probe probe(&owner, 1, kRect);
    for (const Case& c : cases)
        EXPECT_EQ(probe.Anchor(c.item, c.a, c.b), c.expected) << "mode " << c.item.mode << " value " << c.item.value;
}

TEST(ControlBase, CursorNamesAreExact)
{
    RecordingOwner owner;
    Probe probe(&owner, 1, kRect);
    probe.SetCursorEx(L"HAND");
    EXPECT_EQ(probe.Cursor(), nullptr);
    probe.SetCursorEx(L"hand");
    EXPECT_EQ(probe.Cursor(), ::LoadCursorW(nullptr, IDC_HAND));
}

TEST(ControlBase, EmptyMemoryBitmapOnlyMarksTheCacheValid)
{
    RecordingOwner owner;
    Probe probe(&owner, 1, kRect);
    HDC screen = ::GetDC(nullptr);
    probe.UpdateMemDC(screen, 0, 0);
    EXPECT_EQ(probe.GetUpdate(), 1);
    EXPECT_EQ(probe.MemBitmap(), nullptr);
    probe.UpdateMemDC(screen, 8, 4);
    EXPECT_NE(probe.MemBitmap(), nullptr);
    ::ReleaseDC(nullptr, screen);
}

// Only the sub-controls that overlap the control inherit a stale mark.
TEST(ControlBase, SetUpdatePassesToOverlappingChildren)
{
    RecordingOwner owner;
    Probe parent(&owner, 1, CRect(0, 0, 100, 100));
    Probe* inside = new Probe(&owner, 2, CRect(10, 10, 20, 20));
    Probe* outside = new Probe(&owner, 3, CRect(200, 200, 210, 210));
    parent.AddChild(inside);
    parent.AddChild(outside);
    parent.SetUpdate(0, 0);
    EXPECT_EQ(inside->updateFlags, std::vector<int>{0});
    EXPECT_TRUE(outside->updateFlags.empty());
}

// Input routing inside one control tree, with the window's manager bound but
// without a window: presses, moves while pressed, double clicks and keys.
class ControlTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parent = new Probe(&owner, 1, CRect(0, 0, 200, 100));
        first = new Probe(&owner, 11, CRect(10, 10, 50, 50));
        second = new Probe(&owner, 12, CRect(100, 10, 150, 50));
        parent->AddChild(first);
        parent->AddChild(second);
        manager.AddControl(VREL::CONTROL_KIND_CONTROL, parent);
        first->SetManager(&manager);
        second->SetManager(&manager);
    }

    RecordingOwner owner;
    VREL::PaintManager manager;
    Probe* parent = nullptr;
    Probe* first = nullptr;
    Probe* second = nullptr;
};

TEST_F(ControlTree, PressOnAChildMovesTheFocusToIt)
{
    parent->OnLButtonDown(MK_LBUTTON, CPoint(20, 20));
    EXPECT_EQ(manager.GetFocusControl(), first);
    EXPECT_EQ(first->focusCalls, std::vector<int>{1});

    parent->OnLButtonUp(0, CPoint(20, 20));
    parent->OnLButtonDown(MK_LBUTTON, CPoint(120, 20));
    EXPECT_EQ(manager.GetFocusControl(), second);
    EXPECT_EQ(first->focusCalls, (std::vector<int>{1, 0}));
}

TEST_F(ControlTree, PressedChildKeepsTheMovesUntilRelease)
{
    // Unpressed, every child sees every move.
    parent->OnMouseMove(0, CPoint(20, 20));
    EXPECT_EQ(first->Count("move"), 1);
    EXPECT_EQ(second->Count("move"), 1);

    parent->OnLButtonDown(MK_LBUTTON, CPoint(20, 20));
    EXPECT_EQ(parent->Pressed(), 1);
    parent->OnMouseMove(MK_LBUTTON, CPoint(120, 20));
    EXPECT_EQ(first->Count("move"), 2);
    EXPECT_EQ(first->lastPoint, CPoint(120, 20));
    EXPECT_EQ(second->Count("move"), 1);

    parent->OnLButtonUp(0, CPoint(120, 20));
    EXPECT_EQ(parent->Pressed(), 0);
    EXPECT_EQ(first->Count("up"), 1);
    parent->OnMouseMove(0, CPoint(120, 20));
    EXPECT_EQ(second->Count("move"), 2);
}

TEST_F(ControlTree, SecondClickReachesAChildWithoutDoubleClicksAsAPress)
{
    struct NoDoubleClicks : Probe
    {
        using Probe::Probe;
        int OnControlLButtonDblClk(UINT, CPoint) override { return 0; }
    };
    NoDoubleClicks* child = new NoDoubleClicks(&owner, 13, CRect(10, 60, 50, 90));
    child->SetManager(&manager);
    parent->AddChild(child);
    parent->OnLButtonDown(MK_LBUTTON, CPoint(20, 70));
    parent->OnLButtonUp(0, CPoint(20, 70));
    parent->OnLButtonDblClk(MK_LBUTTON, CPoint(20, 70));
    EXPECT_EQ(child->Count("down"), 2);

    // A child that takes double clicks gets no extra press.
    child->SetDblClk(1);
    parent->OnLButtonDblClk(MK_LBUTTON, CPoint(20, 70));
    EXPECT_EQ(child->Count("down"), 2);
}

TEST_F(ControlTree, KeysGoDownTheKeyFocusChain)
{
    second->SetKeyFocus(1);
    EXPECT_EQ(parent->OnKeyDown('A', 1, 0), 1);
    EXPECT_EQ(second->Count("key"), 1);
    EXPECT_EQ(first->Count("key"), 0);
    EXPECT_EQ(parent->Count("key"), 0);

    // A hidden key-focused child ends the key: the parent is not tried.
    second->SetVisible(0, 0);
    EXPECT_EQ(parent->OnKeyDown('A', 1, 0), 0);
    EXPECT_EQ(parent->Count("key"), 0);
}

TEST_F(ControlTree, RemovingAChildClearsTheTargetAndTheFocus)
{
    bool destroyed = false;
    first->destroyed = &destroyed;
    parent->OnMouseMove(0, CPoint(20, 20));
    parent->OnLButtonDown(MK_LBUTTON, CPoint(20, 20));
    ASSERT_EQ(parent->Target(), first);
    ASSERT_EQ(manager.GetFocusControl(), first);

    parent->RemoveControl(first);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(parent->Target(), nullptr);
    EXPECT_EQ(manager.GetFocusControl(), nullptr);
    // The next move and release are routed without the removed child.
    parent->OnMouseMove(MK_LBUTTON, CPoint(20, 20));
    parent->OnLButtonUp(0, CPoint(20, 20));
    EXPECT_EQ(parent->Count("up"), 1);
}

// A control deleted by its owner in any way withdraws from the manager: no
// focus and no fast tick keeps pointing at it.
TEST_F(ControlTree, DestroyedControlLeavesNoReferenceInTheManager)
{
    first->SetRunTimer(1);
    manager.AddMTimer(first);
    manager.AddMTimer(first);
    manager.SetFocusControl(first);
    const VREL::MControl* gone = first;
    parent->RemoveAllControl();
    EXPECT_EQ(manager.GetFocusControl(), nullptr);
    // Both registrations are gone (the address is only compared).
    EXPECT_EQ(manager.DeleteMTimer(const_cast<VREL::MControl*>(gone)), 0);
    manager.OnMTimer(manager.GetTickTimerId());
}

// The wheel: refused by a disabled control and outside it; the control's own
// hook comes first, then the first child under the point that takes it; a
// child that took the last move gets it before the control itself.
TEST_F(ControlTree, WheelReachesTheControlThenTheFirstChildThatTakesIt)
{
    struct Case
    {
        const char* name;
        int parentTakes, firstTakes, parentEnabled;
        bool hoverFirst;
        CPoint point;
        int result;
        size_t parentSees, firstSees;
    };
    const Case cases[] = {
        {"disabled control", 1, 1, 0, false, CPoint(20, 20), 0, 0, 0},
        {"outside the control", 1, 1, 1, false, CPoint(500, 20), 0, 0, 0},
        {"control takes it first", 1, 1, 1, false, CPoint(20, 20), 1, 1, 0},
        {"child under the point", 0, 1, 1, false, CPoint(20, 20), 1, 1, 1},
        {"nobody takes it", 0, 0, 1, false, CPoint(20, 20), 0, 1, 1},
        {"child under the mouse goes first", 1, 1, 1, true, CPoint(20, 20), 1, 0, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        parent->takesScroll = c.parentTakes;
        first->takesScroll = c.firstTakes;
        parent->SetEnabled(c.parentEnabled);
        if (c.hoverFirst)
            parent->OnMouseMove(0, CPoint(20, 20));
        parent->scrollDirections.clear();
        first->scrollDirections.clear();
        second->scrollDirections.clear();

        EXPECT_EQ(parent->OnScroll(1, 1, c.point), c.result);
        EXPECT_EQ(parent->scrollDirections.size(), c.parentSees);
        EXPECT_EQ(first->scrollDirections.size(), c.firstSees);
        EXPECT_TRUE(second->scrollDirections.empty());
    }
}

// A tick reaches the control and those children that run timers and are
// visible; it reports whether anyone ticked.
TEST_F(ControlTree, TickReachesVisibleChildrenThatRunTimers)
{
    Probe* hidden = new Probe(&owner, 13, CRect(10, 60, 50, 90));
    parent->AddChild(hidden);
    first->SetRunTimer(1);
    hidden->SetRunTimer(1);
    hidden->SetVisible(0, 0);

    EXPECT_EQ(parent->OnTimer(), 1);
    EXPECT_EQ(parent->ticks.load(), 1);
    EXPECT_EQ(first->ticks.load(), 1);
    EXPECT_EQ(second->ticks.load(), 0);
    EXPECT_EQ(hidden->ticks.load(), 0);
}

// Areas that meet the control draw first, then the control, then its visible
// sub-controls in list order; nothing draws outside the paint rectangle.
TEST(ControlBase, DrawPaintsAreasThenTheControlThenItsChildren)
{
    std::vector<UINT> order;
    RecordingOwner owner;
    DrawOrderProbe parent(&owner, 1, CRect(0, 0, 100, 100), order);
    parent.AddArea(new DrawOrderProbe(&parent, 2, CRect(0, 0, 100, 100), order));
    parent.AddArea(new DrawOrderProbe(&parent, 3, CRect(300, 300, 310, 310), order));  // misses the control
    parent.AddChild(new DrawOrderProbe(&parent, 4, CRect(10, 10, 20, 20), order));
    auto* hidden = new DrawOrderProbe(&parent, 5, CRect(10, 10, 20, 20), order);
    hidden->SetVisible(0, 0);
    parent.AddChild(hidden);
    parent.AddChild(new DrawOrderProbe(&parent, 6, CRect(30, 30, 40, 40), order));

    HDC screen = ::GetDC(nullptr);
    parent.Draw(screen, CRect(0, 0, 50, 50));
    EXPECT_EQ(order, (std::vector<UINT>{2, 1, 4, 6}));

    order.clear();
    parent.Draw(screen, CRect(200, 200, 250, 250));
    EXPECT_TRUE(order.empty());
    ::ReleaseDC(nullptr, screen);
}

TEST(ControlBase, ParentVisibilityStopsAtTheFirstOwnerThatIsNoControl)
{
    VREL::MDialog dialog;
    RecordingOwner popup;  // stands for any window object that is not a dialog
    Probe top(&dialog, 1, kRect);
    Probe child(&top, 2, kRect);
    Probe onPopup(&popup, 3, kRect);
    Probe underPopup(&onPopup, 4, kRect);
    Probe orphan(nullptr, 5, kRect);

    EXPECT_EQ(top.IsParentVisible(), 1);
    EXPECT_EQ(child.IsParentVisible(), 1);
    EXPECT_EQ(onPopup.IsParentVisible(), 1);
    EXPECT_EQ(underPopup.IsParentVisible(), 1);
    EXPECT_EQ(orphan.IsParentVisible(), 0);
    top.SetVisible(0, 0);
    EXPECT_EQ(child.IsParentVisible(), 0);
    onPopup.SetVisible(0, 0);
    EXPECT_EQ(underPopup.IsParentVisible(), 0);
}

// A manager that never got a window still owns what was added to it.
TEST(ControlBase, UnattachedManagerDeletesItsControls)
{
    bool destroyed = false;
    {
        RecordingOwner owner;
        VREL::PaintManager manager;
        Probe* probe = new Probe(&owner, 1, kRect);
        probe->destroyed = &destroyed;
        manager.AddControl(VREL::CONTROL_KIND_AREA, probe);
    }
    EXPECT_TRUE(destroyed);
}

TEST(ControlBase, StripImageComesFromTheManagersCache)
{
    RecordingOwner owner;
    VREL::PaintManager manager;
    FontProbe* font = new FontProbe(&owner, 1, kRect);
    EXPECT_EQ(font->SetImage(L"btn_apply.png", 4), 0);  // no manager yet
    manager.AddControl(VREL::CONTROL_KIND_CONTROL, font);
    EXPECT_EQ(font->SetImage(L"no_such_skin.png", 4), 0);
    EXPECT_TRUE(owner.repaints.empty());

    // The test skin holds four 40 x 30 frames side by side.
    EXPECT_EQ(font->SetImage(L"btn_apply.png", 4), 1);
    EXPECT_EQ(font->GetImageSize(), CSize(40, 30));
    ASSERT_EQ(owner.repaints.size(), 1u);
    EXPECT_EQ(owner.repaints[0].redraw, 1);
}

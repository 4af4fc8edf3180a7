// Check, radio, selector, swatch and switch buttons: groups, keys, clicks,
// and the group reset while another thread changes the owner's list.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/controls/ButtonTestSupport.h"
#include "tests/framework/TestTheme.h"
#include "ui/controls/CheckButtons.h"
#include "ui/framework/MDialog.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"

using ButtonTest::Probe;
using ButtonTest::RecordingOwner;

namespace {

const CRect kRect(10, 10, 110, 40);
const CPoint kInside(50, 20);
const CPoint kOutside(200, 20);

void Click(VREL::MControl& button, CPoint at = kInside)
{
    button.OnLButtonDown(MK_LBUTTON, at);
    button.OnLButtonUp(0, at);
}

int CheckOf(VREL::MControl* control)
{
    if (auto* radio = dynamic_cast<VREL::CRadioButton*>(control))
        return radio->GetCheck();
    if (auto* swatch = dynamic_cast<VREL::CColorButton*>(control))
        return swatch->GetCheck();
    return -1;
}

void CheckQuietly(VREL::MControl* control)
{
    if (auto* radio = dynamic_cast<VREL::CRadioButton*>(control))
        radio->SetControlCheck(1);
    else if (auto* swatch = dynamic_cast<VREL::CColorButton*>(control))
        swatch->SetControlCheck(1);
}

void SetGroup(VREL::MControl* control, const wchar_t* group)
{
    if (auto* radio = dynamic_cast<VREL::CRadioButton*>(control))
        radio->SetGroupName(group);
    else if (auto* swatch = dynamic_cast<VREL::CColorButton*>(control))
        swatch->SetGroupName(group);
}

// A panel on the owner, bound to a paint manager, that makes buttons at
// kRect through its factory.
class PanelHost
{
public:
    explicit PanelHost(RecordingOwner& owner) : m_panel(&owner, 50, CRect(0, 0, 400, 300), 1)
    {
        m_panel.SetManager(&m_manager);
    }
    template <class T> T* Make(const wchar_t* className, UINT id, const wchar_t* title)
    {
        return dynamic_cast<T*>(m_panel.CreateControl(className, id, kRect, title, 1, 1));
    }

private:
    VREL::PaintManager m_manager;
    // Destroyed, with the buttons it made, before the manager.
    VREL::MPanel m_panel;
};

// ---- groups -----------------------------------------------------------------------------

enum Host
{
    ON_DIALOG,
    IN_PANEL,
};

struct GroupCase
{
    const char* name;
    Host host;
    const wchar_t* actorClass;
    const wchar_t* siblingClass;
    const wchar_t* siblingGroup;
    int siblingVisible;
    int siblingEnabled;
    // The sibling's check after the actor was clicked.
    int siblingCheck;
};

const GroupCase kGroupCases[] = {
    {"radio, same group, on the dialog", ON_DIALOG, L"CRadioButton", L"CRadioButton", L"G", 1, 1, 0},
    {"radio, same group, in a panel", IN_PANEL, L"CRadioButton", L"CRadioButton", L"G", 1, 1, 0},
    {"radio, other group", IN_PANEL, L"CRadioButton", L"CRadioButton", L"H", 1, 1, 1},
    {"radio, group differing in case", IN_PANEL, L"CRadioButton", L"CRadioButton", L"g", 1, 1, 1},
    {"radio and radio2 share no group", IN_PANEL, L"CRadioButton", L"CRadioButton2", L"G", 1, 1, 1},
    {"radio2 and radio share no group", IN_PANEL, L"CRadioButton2", L"CRadioButton", L"G", 1, 1, 1},
    {"radio2, same group", IN_PANEL, L"CRadioButton2", L"CRadioButton2", L"G", 1, 1, 0},
    {"radio, hidden sibling", IN_PANEL, L"CRadioButton", L"CRadioButton", L"G", 0, 1, 0},
    {"radio, disabled sibling", IN_PANEL, L"CRadioButton", L"CRadioButton", L"G", 1, 0, 0},
    {"radio, hidden sibling on the dialog", ON_DIALOG, L"CRadioButton", L"CRadioButton", L"G", 0, 1, 0},
    {"selector, same group", IN_PANEL, L"CSelectButton", L"CSelectButton", L"G", 1, 1, 0},
    {"selector, hidden sibling", IN_PANEL, L"CSelectButton", L"CSelectButton", L"G", 0, 1, 1},
    {"selector, disabled sibling", IN_PANEL, L"CSelectButton", L"CSelectButton", L"G", 1, 0, 1},
    {"selector, on the dialog", ON_DIALOG, L"CSelectButton", L"CSelectButton", L"G", 1, 1, 1},
    {"swatch, same group", IN_PANEL, L"CColorButton", L"CColorButton", L"G", 1, 1, 0},
    {"swatch, disabled sibling", IN_PANEL, L"CColorButton", L"CColorButton", L"G", 1, 0, 1},
    {"swatch, on the dialog", ON_DIALOG, L"CColorButton", L"CColorButton", L"G", 1, 1, 1},
};

// A dialog without a window, or a panel on a recording owner, to create the
// buttons on through the factories.
class GroupHost
{
public:
    explicit GroupHost(Host host) : m_host(host)
    {
        if (host == IN_PANEL)
        {
            m_panel = std::make_unique<VREL::MPanel>(&m_owner, 50, CRect(0, 0, 400, 300), 1);
            m_panel->SetManager(&m_manager);
        }
    }
    ~GroupHost() { m_panel.reset(); }

    VREL::MControl* Create(const wchar_t* className, UINT id, CRect rect, int visible, int enabled)
    {
        // The panel's factory only knows CRadioButton2; both know the others.
        VREL::MControl* control =
            m_host == IN_PANEL ? m_panel->CreateControl(className, id, rect, L"x", visible, enabled)
                               : m_dialog.CreateControl(className, id, rect, L"x", visible, enabled);
        if (!control && m_host == ON_DIALOG)
        {
            // Not made by the dialog's factory: made directly on the dialog.
            control = new VREL::CRadioButton2(static_cast<VREL::MObject*>(&m_dialog), id, rect, L"x", visible,
                                              enabled);
            m_dialog.GetPaintManager()->AddControl(VREL::CONTROL_KIND_CONTROL, control);
        }
        return control;
    }

    RecordingOwner& Owner() { return m_owner; }

private:
    Host m_host;
    RecordingOwner m_owner;
    VREL::PaintManager m_manager;
    VREL::MDialog m_dialog;
    std::unique_ptr<VREL::MPanel> m_panel;
};

TEST(GroupButtons, CheckingOneUnchecksItsGroupAndNothingElse)
{
    for (const GroupCase& c : kGroupCases)
    {
        SCOPED_TRACE(c.name);
        GroupHost host(c.host);
        VREL::MControl* actor = host.Create(c.actorClass, 11, kRect, 1, 1);
        VREL::MControl* sibling = host.Create(c.siblingClass, 12, CRect(10, 50, 110, 80), 1, 1);
        ASSERT_NE(nullptr, actor);
        ASSERT_NE(nullptr, sibling);
        SetGroup(actor, L"G");
        SetGroup(sibling, c.siblingGroup);
        CheckQuietly(sibling);
        sibling->SetVisible(c.siblingVisible);
        sibling->SetEnabled(c.siblingEnabled);
        host.Owner().Clear();

        Click(*actor);
        EXPECT_EQ(1, CheckOf(actor));
        EXPECT_EQ(c.siblingCheck, CheckOf(sibling));
        for (const ButtonTest::Event& e : host.Owner().Notifications())
            EXPECT_EQ(11u, e.id) << "a group reset notifies nothing";
    }
}

// A plain container control: its sub-controls are the group.
class Container : public VREL::MControl
{
public:
    Container() : MControl(nullptr, 50, CRect(0, 0, 400, 300), 1, 1, 1) {}
    void DrawControl(HDC&, CRect) override {}
    // Owned from then on.
    void Adopt(VREL::MControl* child) { AddSubControl(1, child); }
};

TEST(GroupButtons, DisabledRadioTakesTheCheckedCellAndAResetGivesItTheNormalCell)
{
    Container box;
    auto* actor = new Probe<VREL::CRadioButton>(&box, 11, kRect, L"a", 1, 1);
    auto* sibling = new Probe<VREL::CRadioButton>(&box, 12, kRect, L"b", 0, 0);
    box.Adopt(actor);
    box.Adopt(sibling);
    sibling->SetControlCheck(1);
    EXPECT_EQ(4, sibling->State()) << "checked, not disabled-checked";
    Click(*actor);
    EXPECT_EQ(0, sibling->GetCheck());
    EXPECT_EQ(0, sibling->State());
    EXPECT_EQ(5, actor->State());
}

TEST(GroupButtons, ClickingACheckedRadioKeepsItCheckedResetsTheGroupAndNotifies)
{
    RecordingOwner owner;
    PanelHost panel(owner);
    auto* a = panel.Make<VREL::CRadioButton>(L"CRadioButton", 11, L"a");
    auto* b = panel.Make<VREL::CRadioButton>(L"CRadioButton", 12, L"b");
    ASSERT_TRUE(a && b);
    a->SetCheck(1);
    b->SetControlCheck(1);  // both checked: only a group reset clears b
    owner.Clear();
    Click(*a);
    EXPECT_EQ(1, a->GetCheck());
    EXPECT_EQ(0, b->GetCheck());
    ASSERT_EQ(1u, owner.Notifications().size());
    EXPECT_EQ(VREL::NC_CLICKED, owner.Notifications()[0].code);
    EXPECT_EQ(0, owner.Notifications()[0].lParam);
}

TEST(GroupButtons, SetCheckResetsTheGroupAlsoWhenItUnchecksButNotWhileDisabled)
{
    RecordingOwner owner;
    PanelHost panel(owner);
    auto* a = panel.Make<VREL::CRadioButton>(L"CRadioButton", 11, L"a");
    auto* b = panel.Make<VREL::CRadioButton>(L"CRadioButton", 12, L"b");
    ASSERT_TRUE(a && b);
    a->SetCheck(1);
    b->SetControlCheck(1);
    a->SetCheck(0);
    EXPECT_EQ(0, b->GetCheck());

    a->SetEnabled(0);
    EXPECT_EQ(0, a->SetCheck(1));
    a->SetControlCheck(1);
    EXPECT_EQ(1, a->GetCheck());
    EXPECT_TRUE(owner.Notifications().empty());
}

TEST(GroupButtons, KeyLayerButtonsShareTheirDefaultGroup)
{
    RecordingOwner owner;
    PanelHost panel(owner);
    auto* a = panel.Make<VREL::KeyLayerButton>(L"KeyLayerButton", 11, L"a");
    auto* b = panel.Make<VREL::KeyLayerButton>(L"KeyLayerButton", 12, L"b");
    ASSERT_TRUE(a && b);
    EXPECT_STREQ(L"KeyLayerButton", a->GetGroupName().GetString());
    b->SetCheck(1);
    a->SetCheck(1);
    EXPECT_EQ(0, b->GetCheck());
}

TEST(GroupButtons, ResetWithoutOwnerReturnsZero)
{
    VREL::CRadioButton radio(nullptr, 11, kRect, L"a", 1, 1);
    EXPECT_EQ(0, radio.ResetGroupCheck());
    VREL::CColorButton swatch(nullptr, 12, kRect, 1, 1);
    EXPECT_EQ(0, swatch.ResetGroupCheck());
}

// True when another thread gets through takeLock (which takes a lock and
// lets it go) within half a second; if the calling thread held that lock,
// the other thread would wait until the walk is over.
bool OtherThreadGetsLock(std::function<void()> takeLock)
{
    auto taken = std::make_shared<std::atomic<bool>>(false);
    std::thread([takeLock, taken] {
        takeLock();
        *taken = true;
    }).detach();
    for (int i = 0; i < 500 && !*taken; ++i)
        Sleep(1);
    return *taken;
}

// A container whose repaint sink looks whether its list lock is free while
// its children ask for repaints.
class LockWatchingContainer : public VREL::MControl
{
public:
    LockWatchingContainer() : MControl(nullptr, 50, CRect(0, 0, 400, 300), 1, 1, 1) {}
    void DrawControl(HDC&, CRect) override {}
    void Adopt(VREL::MControl* child) { AddSubControl(1, child); }
    VREL::CriticalSection& ListLock() { return m_controlLock; }

    LRESULT OnControlUpdate(CRect, int, VREL::MControl*) override
    {
        ++repaints;
        if (!OtherThreadGetsLock([this] {
                ListLock().Lock();
                ListLock().Unlock();
            }))
            lockHeldDuringRepaint = true;
        return 0;
    }

    std::atomic<bool> lockHeldDuringRepaint{false};
    std::atomic<int> repaints{0};
};

// The program's worker checks radio buttons while the window's thread may
// change the owner's list: the group is read under the owner's lock, and
// the members are unchecked and repainted after it is released.
TEST(GroupButtons, GroupResetReadsTheListUnderTheOwnersLockAndRepaintsOutsideIt)
{
    LockWatchingContainer box;
    auto* a = new VREL::CRadioButton(&box, 11, kRect, L"a", 1, 1);
    auto* b = new VREL::CRadioButton(&box, 12, kRect, L"b", 1, 1);
    box.Adopt(a);
    box.Adopt(b);
    a->SetControlCheck(1);
    box.repaints = 0;

    std::atomic<bool> done{false};
    box.ListLock().Lock();
    std::thread worker([&] {
        b->SetCheck(1);
        done = true;
    });
    Sleep(100);
    EXPECT_EQ(0, box.repaints.load()) << "the group was read while the window's thread held the list";
    box.ListLock().Unlock();
    worker.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(0, a->GetCheck());
    EXPECT_EQ(2, box.repaints.load());
    EXPECT_FALSE(box.lockHeldDuringRepaint);
    // Let the detached probes finish before the container goes.
    box.ListLock().Lock();
    box.ListLock().Unlock();
    Sleep(20);
}

// A dialog's group is its window's control list: read under the paint
// manager's list lock, which a paint on the window's thread holds (here
// kept held by a control that waits inside its drawing).
class DialogLikeOwner : public VREL::MObject
{
public:
    const wchar_t* GetClassNameW() const override { return L"MDialog"; }
    LRESULT OnControlUpdate(CRect, int, VREL::MControl*) override
    {
        ++repaints;
        if (!OtherThreadGetsLock([this] { window->CopyControls(); }))
            lockHeldDuringRepaint = true;
        return 0;
    }

    VREL::PaintManager* window = nullptr;
    std::atomic<bool> lockHeldDuringRepaint{false};
    std::atomic<int> repaints{0};
};

class StallingControl : public VREL::MControl
{
public:
    StallingControl() : MControl(nullptr, 90, CRect(0, 0, 10, 10), 1, 1, 1) {}
    void DrawControl(HDC&, CRect) override
    {
        drawing = true;
        while (!release)
            Sleep(1);
    }
    std::atomic<bool> drawing{false};
    std::atomic<bool> release{false};
};

TEST(GroupButtons, DialogGroupResetReadsTheWindowsListUnderItsLock)
{
    DialogLikeOwner dialog;
    VREL::PaintManager manager;
    dialog.window = &manager;
    auto* staller = new StallingControl;
    manager.AddControl(VREL::CONTROL_KIND_CONTROL, staller);
    auto* a = dynamic_cast<VREL::CRadioButton*>(
        manager.CreateControl(VREL::CONTROL_KIND_CONTROL, &dialog, L"CRadioButton", 11, kRect, L"a", 1, 1));
    auto* b = dynamic_cast<VREL::CRadioButton*>(
        manager.CreateControl(VREL::CONTROL_KIND_CONTROL, &dialog, L"CRadioButton", 12, kRect, L"b", 1, 1));
    ASSERT_TRUE(a && b);
    a->SetControlCheck(1);
    dialog.repaints = 0;

    std::thread painter([&] {
        HDC dc = CreateCompatibleDC(nullptr);
        manager.DrawControl(dc, CRect(0, 0, 400, 300));
        DeleteDC(dc);
    });
    while (!staller->drawing)
        Sleep(1);
    std::thread worker([&] { b->SetCheck(1); });
    Sleep(100);
    EXPECT_EQ(0, dialog.repaints.load()) << "the group was read while a paint held the window's list";
    staller->release = true;
    painter.join();
    worker.join();
    EXPECT_EQ(0, a->GetCheck());
    EXPECT_EQ(1, b->GetCheck());
    EXPECT_EQ(2, dialog.repaints.load());
    EXPECT_FALSE(dialog.lockHeldDuringRepaint);
    // Let the detached probes finish before the manager goes.
    manager.CopyControls();
    Sleep(20);
}

// ---- check boxes ------------------------------------------------------------------------

struct KeyCase
{
    const char* name;
    int focus;
    int enabled;
    int checkBefore;
    UINT key;
    UINT modifiers;
    int handled;
    int checkAfter;
};

const KeyCase kKeyCases[] = {
    {"space checks", 1, 1, 0, VK_SPACE, 0, 1, 1},
    {"space unchecks", 1, 1, 1, VK_SPACE, 0, 1, 0},
    {"space unchecks a check of 2", 1, 1, 2, VK_SPACE, 0, 1, 0},
    {"space without focus", 0, 1, 0, VK_SPACE, 0, 0, 0},
    {"shift+space", 1, 1, 0, VK_SPACE, 0x10, 0, 0},
    {"ctrl+space", 1, 1, 0, VK_SPACE, 0x11, 0, 0},
    {"alt+space", 1, 1, 0, VK_SPACE, 0x12, 0, 0},
    {"another key", 1, 1, 0, VK_RETURN, 0, 0, 0},
    {"disabled: reports the check it keeps", 1, 0, 1, VK_SPACE, 0, 1, 1},
};

TEST(CheckBox, SpaceTogglesWithFocusAndNoModifier)
{
    for (const KeyCase& c : kKeyCases)
    {
        SCOPED_TRACE(c.name);
        RecordingOwner owner;
        VREL::CCheckButton box(&owner, 7, kRect, L"x", 1, 1);
        box.SetCheck(c.checkBefore);
        EXPECT_EQ(c.checkBefore, box.GetCheck());
        box.SetControlFocus(c.focus);
        box.SetEnabled(c.enabled);
        owner.Clear();
        EXPECT_EQ(c.handled, box.OnKeyDown(c.key, 1, c.modifiers));
        EXPECT_EQ(c.checkAfter, box.GetCheck());
        const auto notes = owner.Notifications();
        if (c.handled)
        {
            ASSERT_EQ(1u, notes.size());
            EXPECT_EQ(VREL::NC_CHECK_CHANGED, notes[0].code);
            EXPECT_EQ(c.checkAfter, notes[0].lParam);
        }
        else
        {
            EXPECT_TRUE(notes.empty());
        }
    }
}

TEST(CheckBox, ClickTogglesReleaseOutsideDoesNotAndAPressTakesSpace)
{
    RecordingOwner owner;
    Probe<VREL::CCheckButton> box(&owner, 7, kRect, L"x", 1, 1);
    box.OnMouseMove(0, kInside);
    EXPECT_EQ(1, box.State());
    box.OnLButtonDown(MK_LBUTTON, kInside);
    EXPECT_EQ(2, box.State());
    box.OnLButtonUp(0, kInside);
    EXPECT_EQ(1, box.GetCheck());
    EXPECT_EQ(5, box.State());
    EXPECT_EQ("U0 U0 N2 U0", owner.Trace());

    owner.Clear();
    box.OnLButtonDown(MK_LBUTTON, kInside);
    EXPECT_EQ(6, box.State());
    box.OnMouseMove(0, kOutside);
    EXPECT_EQ(6, box.State());
    box.OnLButtonUp(0, kOutside);
    EXPECT_EQ(1, box.GetCheck());
    EXPECT_EQ(4, box.State());
    EXPECT_TRUE(owner.Notifications().empty());

    // The box was pressed, so Space acts on it now.
    EXPECT_EQ(1, box.OnKeyDown(VK_SPACE, 1, 0));
    EXPECT_EQ(0, box.GetCheck());

    box.SetEnabled(0);
    EXPECT_EQ(3, box.State());
    box.SetEnabled(1);
    box.SetCheck(1);
    box.SetEnabled(0);
    EXPECT_EQ(7, box.State());
}

TEST(RadioButton, SpaceAlwaysLeavesItChecked)
{
    RecordingOwner owner;
    PanelHost panel(owner);
    auto* a = panel.Make<VREL::CRadioButton>(L"CRadioButton", 11, L"a");
    auto* b = panel.Make<VREL::CRadioButton>(L"CRadioButton", 12, L"b");
    ASSERT_TRUE(a && b);
    b->SetCheck(1);
    a->SetControlFocus(1);
    for (int round = 0; round < 2; ++round)
    {
        owner.Clear();
        EXPECT_EQ(1, a->OnControlKeyDown(VK_SPACE, 1, 0));
        EXPECT_EQ(1, a->GetCheck());
        EXPECT_EQ(0, b->GetCheck());
        ASSERT_EQ(1u, owner.Notifications().size());
        EXPECT_EQ(VREL::NC_CHECK_CHANGED, owner.Notifications()[0].code);
        EXPECT_EQ(1, owner.Notifications()[0].lParam);
    }
}

// ---- drawing ------------------------------------------------------------------------------

TEST(RadioButton2, StretchedFrameTakesNothingFromTheNeighbouringFrame)
{
    using namespace TestTheme;
    RecordingOwner owner;
    VREL::PaintManager manager;
    const CRect rect(0, 0, 150, 20);
    {
        Probe<VREL::CRadioButton2> radio(&owner, 7, rect, L"", 1, 1);
        radio.SetManager(&manager);
        // The test theme's img_direction.png: 8 frames of 40 x 20.
        ASSERT_EQ(1, radio.SetImage(L"img_direction.png", 8));
        DibCanvas window(rect.Width(), rect.Height(), 0xFF000000);
        HDC dc = window.Dc();
        radio.DrawEveryCell(dc, rect, 8);
        DibCanvas cells(8 * rect.Width(), rect.Height());
        ButtonTest::CopyCells(radio.CellDC(), 8, rect, cells);
        for (int cell = 0; cell < 8; ++cell)
        {
            SCOPED_TRACE("cell " + std::to_string(cell));
            const int x = cell * rect.Width();
            EXPECT_TRUE(NearColor(FrameFill(cell), cells.Rgb(x + 75, 10)));
            // A channel the frame's own colours lack stays dark at its ends.
            const uint32_t own = EdgeColor(cell) | FrameFill(cell);
            for (int edge : {x, x + 1, x + 148, x + 149})
            {
                const uint32_t p = cells.Rgb(edge, 10);
                for (int shift : {0, 8, 16})
                {
                    if (((own >> shift) & 0xFF) == 0)
                    {
                        EXPECT_LE((p >> shift) & 0xFF, 8u) << edge << " " << std::hex << p;
                    }
                }
            }
        }
    }
}

TEST(CheckKinds, ANewStripWaitsForAContentRepaintAndLayerTabsDrawNone)
{
    using namespace TestTheme;
    RecordingOwner owner;
    VREL::PaintManager manager;
    const CRect rect(0, 0, 60, 20);
    DibCanvas window(60, 20, 0xFF000000);
    HDC dc = window.Dc();

    Probe<VREL::CCheckButton> box(&owner, 7, rect, L"", 1, 1);
    box.SetManager(&manager);
    box.Draw(dc, rect);
    owner.Clear();
    ASSERT_EQ(1, box.SetImage(kStrip4, kStrip4Frames));
    EXPECT_EQ("", owner.Trace());
    box.Draw(dc, rect);
    EXPECT_EQ(0u, window.Rgb(6, 10)) << "still the old cells";
    box.UpdateControl(1, 0);
    box.Draw(dc, rect);
    EXPECT_TRUE(NearColor(FrameFill(0), window.Rgb(6, 10)));

    window.Fill(0xFF000000);
    Probe<VREL::KeyLayerButton> tab(&owner, 8, rect, L"", 1, 1);
    tab.SetManager(&manager);
    ASSERT_EQ(1, tab.SetImage(kStrip4, kStrip4Frames));
    tab.Draw(dc, rect);
    EXPECT_EQ(0u, window.Rgb(6, 10));
}

// ---- switch and swatch --------------------------------------------------------------------

TEST(SwitchButton, ClicksToggleAndReportTheNewCheck)
{
    RecordingOwner owner;
    Probe<VREL::CSwitchButton> toggle(&owner, 7, kRect, 1, 1);
    Click(toggle);
    EXPECT_EQ(1, toggle.GetCheck());
    // Press (hover look, content repaint), then the click and its content repaint.
    EXPECT_EQ("U1 N2 U1", owner.Trace());
    EXPECT_EQ(1, owner.Notifications()[0].lParam);

    owner.Clear();
    Click(toggle);
    EXPECT_EQ(0, toggle.GetCheck());
    EXPECT_EQ("N2 U1", owner.Trace());
    EXPECT_EQ(0, owner.Notifications()[0].lParam);

    owner.Clear();
    toggle.OnLButtonDown(MK_LBUTTON, kInside);
    toggle.OnLButtonUp(0, kOutside);
    EXPECT_EQ(0, toggle.GetCheck());
    EXPECT_EQ(0, toggle.State());
    EXPECT_TRUE(owner.Notifications().empty());

    toggle.SetEnabled(0);
    owner.Clear();
    EXPECT_EQ(1, toggle.SetCheck(1));
    EXPECT_EQ(1, toggle.GetCheck());
    EXPECT_EQ("U1", owner.Trace());
    Click(toggle);
    EXPECT_EQ(1, toggle.GetCheck());
    EXPECT_EQ("U1", owner.Trace());
}

TEST(ColorButton, PressChecksBeforeNotifyingAndReleaseOutsideDoesNotClick)
{
    RecordingOwner owner;
    PanelHost panel(owner);
    auto* a = panel.Make<VREL::CColorButton>(L"CColorButton", 11, nullptr);
    auto* b = panel.Make<VREL::CColorButton>(L"CColorButton", 12, nullptr);
    ASSERT_TRUE(a && b);
    b->SetCheck(1);
    int checkedAtPress = -1, otherAtPress = -1;
    owner.onNotify = [&](UINT, UINT code, WPARAM, LPARAM) {
        if (code == VREL::NC_PRESSED)
        {
            checkedAtPress = a->GetCheck();
            otherAtPress = b->GetCheck();
        }
    };
    owner.Clear();
    a->OnLButtonDown(MK_LBUTTON, kInside);
    a->OnLButtonUp(0, kOutside);
    EXPECT_EQ(1, checkedAtPress);
    EXPECT_EQ(0, otherAtPress);
    EXPECT_EQ(1, a->GetCheck());
    ASSERT_EQ(1u, owner.Notifications().size());
    EXPECT_EQ(VREL::NC_PRESSED, owner.Notifications()[0].code);
}

TEST(SwatchAndSwitch, EnablingAnEnabledButtonBringsBackTheNormalCell)
{
    // The swatch and the switch take the flag again when it is unchanged;
    // the check box, like the push buttons, ignores it.
    struct Case
    {
        const char* name;
        std::function<std::unique_ptr<VREL::MControl>(VREL::MObject*)> make;
        std::function<int(VREL::MControl&)> state;
        int stateAfter;
        const char* trace;
    };
    const Case cases[] = {
        {"swatch",
         [](VREL::MObject* o) { return std::make_unique<Probe<VREL::CColorButton>>(o, 7, kRect, 1, 1); },
         [](VREL::MControl& c) { return dynamic_cast<Probe<VREL::CColorButton>&>(c).State(); }, 0, "U0"},
        {"switch",
         [](VREL::MObject* o) { return std::make_unique<Probe<VREL::CSwitchButton>>(o, 7, kRect, 1, 1); },
         [](VREL::MControl& c) { return dynamic_cast<Probe<VREL::CSwitchButton>&>(c).State(); }, 0, "U0"},
        {"check box",
         [](VREL::MObject* o) { return std::make_unique<Probe<VREL::CCheckButton>>(o, 7, kRect, L"x", 1, 1); },
         [](VREL::MControl& c) { return dynamic_cast<Probe<VREL::CCheckButton>&>(c).State(); }, 1, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RecordingOwner owner;
        auto button = c.make(&owner);
        button->OnMouseMove(0, kInside);
        ASSERT_EQ(1, c.state(*button));
        owner.Clear();
        button->SetControlEnabled(1);
        EXPECT_EQ(1, button->IsEnabled());
        EXPECT_EQ(c.stateAfter, c.state(*button));
        EXPECT_EQ(c.trace, owner.Trace());
    }
}

TEST(ColorButton, SetColorRepaintsOnlyAChangedColour)
{
    RecordingOwner owner;
    VREL::CColorButton swatch(&owner, 11, kRect, 1, 1);
    swatch.SetColor(0x00FFFFFF);
    EXPECT_EQ("", owner.Trace());
    swatch.SetColor(0x00123456);
    EXPECT_EQ("U1", owner.Trace());
    EXPECT_EQ(0x00123456u, swatch.GetColor());
}

// ---- cells that share a look ----------------------------------------------------------------

// True when cell a and cell b of a strip of cells cellWidth wide hold the
// same pixels.
bool SameCells(DibCanvas& cells, int cellWidth, int height, int a, int b)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < cellWidth; ++x)
            if (cells.Rgb(a * cellWidth + x, y) != cells.Rgb(b * cellWidth + x, y))
                return false;
    return true;
}

TEST(CellLooks, CellsOfOneLookAreCopiesThatFollowEveryChangeOfTheirInputs)
{
    RecordingOwner owner;
    VREL::PaintManager manager;
    const CRect rect(0, 0, 40, 20);
    DibCanvas window(rect.Width(), rect.Height(), 0xFF000000);
    HDC dc = window.Dc();

    // The rounded swatch: the resting cell has its own outline, the other
    // three share the active one; all four show the colour.
    Probe<VREL::CColorButton> swatch(&owner, 7, rect, 1, 1);
    swatch.SetManager(&manager);
    const struct
    {
        COLORREF colour;
        uint32_t rgb;
    } colours[] = {{0x000000FF, 0xFF0000}, {0x00FF0000, 0x0000FF}};
    for (const auto& c : colours)
    {
        SCOPED_TRACE(std::to_string(c.rgb));
        swatch.SetColor(c.colour);
        swatch.Draw(dc, rect);
        DibCanvas cells(4 * rect.Width(), rect.Height());
        ButtonTest::CopyCells(swatch.CellDC(), 4, rect, cells);
        for (int cell = 0; cell < 4; ++cell)
            EXPECT_EQ(c.rgb, cells.Rgb(cell * rect.Width() + 20, 10)) << "cell " << cell;
        EXPECT_FALSE(SameCells(cells, rect.Width(), rect.Height(), 0, 1));
        EXPECT_TRUE(SameCells(cells, rect.Width(), rect.Height(), 1, 2));
        EXPECT_TRUE(SameCells(cells, rect.Width(), rect.Height(), 1, 3));
    }

    // The layer tab: white at rest, dimmed in the hover, pressed, disabled
    // and two checked cells; a new title reaches the copies too.
    const CRect tabRect(0, 0, 60, 20);
    Probe<VREL::KeyLayerButton> tab(&owner, 8, tabRect, L"I", 1, 1);
    tab.SetManager(&manager);
    tab.SetFontWidth(16);
    tab.SetTextRenderingHint(Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
    DibCanvas tabWindow(tabRect.Width(), tabRect.Height(), 0xFF000000);
    HDC tabDc = tabWindow.Dc();
    tab.DrawEveryCell(tabDc, tabRect, 8);
    DibCanvas before(8 * tabRect.Width(), tabRect.Height());
    ButtonTest::CopyCells(tab.CellDC(), 8, tabRect, before);
    EXPECT_FALSE(SameCells(before, tabRect.Width(), tabRect.Height(), 0, 1));
    for (int cell : {2, 3, 6, 7})
        EXPECT_TRUE(SameCells(before, tabRect.Width(), tabRect.Height(), 1, cell)) << "cell " << cell;

    tab.SetTitle(L"WWW");
    tab.DrawEveryCell(tabDc, tabRect, 8);
    DibCanvas after(8 * tabRect.Width(), tabRect.Height());
    ButtonTest::CopyCells(tab.CellDC(), 8, tabRect, after);
    for (int cell = 0; cell < 8; ++cell)
    {
        bool changed = false;
        for (int y = 0; y < tabRect.Height() && !changed; ++y)
            for (int x = 0; x < tabRect.Width() && !changed; ++x)
                changed = before.Rgb(cell * tabRect.Width() + x, y) != after.Rgb(cell * tabRect.Width() + x, y);
        EXPECT_TRUE(changed) << "cell " << cell << " still shows the old title";
    }
    for (int cell : {2, 3, 6, 7})
        EXPECT_TRUE(SameCells(after, tabRect.Width(), tabRect.Height(), 1, cell)) << "cell " << cell;
}

} // namespace

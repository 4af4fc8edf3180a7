// Renaming a row in place: the box opens over the row, what is typed is
// reported as it changes, and the rename ends with the focus or a press on
// another row; only a changed text is stored and reported. Removing or moving
// rows under an open rename, or deleting the list, cancels it so that the
// typed name can never land on another row.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/lists/RowListTestSupport.h"
#include "tests/support/WindowInput.h"
#include "ui/framework/NotifyCode.h"
#include "ui/lists/CEditWindow.h"
#include "ui/lists/IconLists.h"
#include "ui/lists/MacroList.h"

using namespace testsupport;
using rowlists::kLeft;
using rowlists::kTop;
using rowlists::Place;
using rowlists::RowPoint;
using VREL::MacroList;
using VREL::ProfileList;

namespace {

constexpr UINT kId = 7;

// A list on a real window, so that the rename box has a parent; painted by
// hand onto a canvas to lay its rows out.
template <class T>
struct WindowBench
{
    template <class... Args>
    explicit WindowBench(Args... args) : canvas(420, 420, 0xFF202020)
    {
        hwnd = dialog.Open(420, 420);
        list = dialog.Add(new T(&dialog, kId, Place(200, 300), args...));
        list->SetFontWidth(14);
    }
    void Paint()
    {
        HDC dc = canvas.Dc();
        list->Draw(dc, CRect(0, 0, 420, 420));
    }
    HWND Box() const { return list->GetEditWindow() ? list->GetEditWindow()->GetSafeHwnd() : nullptr; }
    bool BoxShown() const { return Box() && ::IsWindowVisible(Box()); }
    // The user moves the focus to something else in the window.
    void LoseFocus() { dialog.Manager().SetFocusControl(nullptr); }
    std::vector<Report> Reports(UINT code) const { return WithCode(dialog.reports, code); }

    HostDialog dialog;
    HWND hwnd = nullptr;
    DibCanvas canvas;
    T* list = nullptr;
};

void FillMacros(MacroList& list)
{
    for (const wchar_t* name : {L"Reload", L"Build wall", L"Sprint"})
        list.AddString(name, 0);
}

void FillProfiles(ProfileList& list)
{
    int data = 1;
    for (const wchar_t* name : {L"Default", L"FPS", L"Work"})
        list.AddItem(name, data++, L"");
}

void DoubleClickRow(HWND hwnd, int k)
{
    const CPoint pt = RowPoint(k);
    Click(hwnd, pt.x, pt.y);
    ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, Pack(pt.x, pt.y));
}

// The edit icon of profile row k: 21 to 5 pixels left of the row's end.
CPoint ProfileIcon(int k) { return CPoint(kLeft + 194 - 13, kTop + 36 * k + 15); }

CRect ClientRectOf(HWND parent, HWND window)
{
    RECT r;
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return CRect(r);
}

} // namespace

TEST(RowRename, DoubleClickOpensTheBoxOverTheRowAndFocusLossTakesTheName)
{
    WindowBench<MacroList> b(1);
    b.list->EnableShowEdit(1);
    FillMacros(*b.list);
    b.Paint();
    DoubleClickRow(b.hwnd, 1);
    ASSERT_TRUE(b.BoxShown());
    EXPECT_EQ(b.list->GetEditRow(), 1);
    // Text column of the row (15 in, 50 short of the end), a band of font
    // size + 6 centred in the row.
    EXPECT_EQ(ClientRectOf(b.hwnd, b.Box()), CRect(kLeft + 15, kTop + 36 + 8, kLeft + 150, kTop + 36 + 28));
    EXPECT_EQ(WindowText(b.Box()), L"Build wall");
    EXPECT_EQ(b.list->GetEditWindow()->GetLimitText(), 30);

    b.dialog.reports.clear();
    ::SendMessageW(b.Box(), EM_SETSEL, 0, -1);
    Type(b.Box(), L"Nade");
    EXPECT_EQ(b.Reports(VREL::NC_TEXT_CHANGED).size(), 4u);
    EXPECT_EQ(b.list->GetItemText(1), L"Build wall");  // not before the rename ends

    b.LoseFocus();
    EXPECT_FALSE(b.BoxShown());
    EXPECT_EQ(b.list->GetItemText(1), L"Nade");
    EXPECT_EQ(b.Reports(VREL::NC_EDIT_END), (std::vector<Report>{{kId, VREL::NC_EDIT_END, 0, 1}}));
}

TEST(RowRename, OnlyAChangedNameIsReportedAndAnEmptyOneIsReportedToo)
{
    struct Case
    {
        const wchar_t* typed;  // null: nothing typed
        bool reported;
        const wchar_t* stored;
    };
    const Case cases[] = {{nullptr, false, L"Sprint"}, {L"Sprint", false, L"Sprint"}, {L"", true, L""}};
    for (const Case& c : cases)
    {
        WindowBench<MacroList> b(1);
        b.list->EnableShowEdit(1);
        FillMacros(*b.list);
        b.Paint();
        DoubleClickRow(b.hwnd, 2);
        ASSERT_TRUE(b.BoxShown());
        if (c.typed)
        {
            ::SendMessageW(b.Box(), EM_SETSEL, 0, -1);
            ::SendMessageW(b.Box(), WM_CHAR, VK_BACK, 1);
            Type(b.Box(), c.typed);
        }
        b.dialog.reports.clear();
        b.LoseFocus();
        EXPECT_EQ(b.Reports(VREL::NC_EDIT_END).size(), c.reported ? 1u : 0u);
        EXPECT_EQ(b.list->GetItemText(2), c.stored);
    }
}

TEST(RowRename, PressingAnotherRowEndsTheRenameButPressingTheSameRowDoesNot)
{
    WindowBench<MacroList> b(1);
    b.list->EnableShowEdit(1);
    FillMacros(*b.list);
    b.Paint();
    DoubleClickRow(b.hwnd, 0);
    ::SendMessageW(b.Box(), EM_SETSEL, 0, -1);
    Type(b.Box(), L"Reload fast");

    Click(b.hwnd, RowPoint(0).x, RowPoint(0).y);
    EXPECT_TRUE(b.BoxShown());
    Click(b.hwnd, RowPoint(2).x, RowPoint(2).y);
    EXPECT_FALSE(b.BoxShown());
    EXPECT_EQ(b.list->GetItemText(0), L"Reload fast");
    // The report names the renamed row, not the newly selected one.
    EXPECT_EQ(b.Reports(VREL::NC_EDIT_END), (std::vector<Report>{{kId, VREL::NC_EDIT_END, 0, 0}}));
    EXPECT_EQ(b.list->GetCurSel(), 2);
}

TEST(RowRename, RenamingIsOffUntilTheCallerTurnsItOn)
{
    WindowBench<MacroList> b(1);
    FillMacros(*b.list);
    b.Paint();
    DoubleClickRow(b.hwnd, 1);
    EXPECT_EQ(b.Box(), nullptr);
    EXPECT_EQ(b.list->GetEditRow(), -1);
}

TEST(RowRename, ProfileEditIconOpensTheRenameOnThePressAndEmptySpaceEndsIt)
{
    WindowBench<ProfileList> b(1, 1);
    FillProfiles(*b.list);
    b.Paint();
    const CPoint icon = ProfileIcon(1);
    Move(b.hwnd, icon.x, icon.y);
    Down(b.hwnd, icon.x, icon.y);
    EXPECT_TRUE(b.BoxShown());
    EXPECT_EQ(b.list->GetEditRow(), 1);
    Up(b.hwnd, icon.x, icon.y);
    EXPECT_EQ(b.Reports(VREL::NC_ICON_OR_TAB),
              (std::vector<Report>{{kId, VREL::NC_ICON_OR_TAB, 0, 1}, {kId, VREL::NC_ICON_OR_TAB, 0, 1}}));
    // The text rectangle: 32 in, 30 short of the row's end (194 wide).
    EXPECT_EQ(ClientRectOf(b.hwnd, b.Box()), CRect(kLeft + 32, kTop + 36 + 6, kLeft + 164, kTop + 36 + 26));

    ::SendMessageW(b.Box(), EM_SETSEL, 0, -1);
    Type(b.Box(), L"Racing");
    EXPECT_EQ(b.list->GetTitleEx(), L"Racing");
    b.dialog.reports.clear();
    Click(b.hwnd, kLeft + 50, kTop + 250);
    EXPECT_FALSE(b.BoxShown());
    EXPECT_EQ(b.list->GetItemText(1), L"Racing");
    EXPECT_EQ(b.Reports(VREL::NC_EDIT_END), (std::vector<Report>{{kId, VREL::NC_EDIT_END, 0, 1}}));
}

TEST(RowRename, AnOpenRenameOfAnotherRowIsTakenBeforeTheNextOneOpens)
{
    WindowBench<ProfileList> b(1, 1);
    FillProfiles(*b.list);
    b.Paint();
    Click(b.hwnd, ProfileIcon(0).x, ProfileIcon(0).y);
    ::SendMessageW(b.Box(), EM_SETSEL, 0, -1);
    Type(b.Box(), L"Main");
    b.dialog.reports.clear();
    Move(b.hwnd, RowPoint(2).x, RowPoint(2).y);
    Click(b.hwnd, ProfileIcon(2).x, ProfileIcon(2).y);
    EXPECT_EQ(b.list->GetItemText(0), L"Main");
    EXPECT_EQ(b.Reports(VREL::NC_EDIT_END), (std::vector<Report>{{kId, VREL::NC_EDIT_END, 0, 0}}));
    EXPECT_EQ(b.list->GetEditRow(), 2);
    EXPECT_EQ(WindowText(b.Box()), L"Work");
}

TEST(RowRename, RemovingOrMovingRowsUnderAnOpenRenameCancelsIt)
{
    // Each change would otherwise leave the typed name to land on another
    // macro when the rename ends.
    struct Case
    {
        const char* what;
        void (*change)(MacroList&);
        std::vector<std::wstring> after;
    };
    const Case cases[] = {
        {"delete an earlier row", [](MacroList& l) { l.DeleteItem(0); }, {L"Build wall", L"Sprint"}},
        {"delete all", [](MacroList& l) { l.DeleteAllItems(); }, {}},
        {"insert before it", [](MacroList& l) { l.InsertString(0, L"New", 0, 0); },
         {L"New", L"Reload", L"Build wall", L"Sprint"}},
        {"swap it", [](MacroList& l) { l.SwapItem(1, 2); }, {L"Reload", L"Sprint", L"Build wall"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        WindowBench<MacroList> b(1);
        b.list->EnableShowEdit(1);
        FillMacros(*b.list);
        b.Paint();
        DoubleClickRow(b.hwnd, 1);
        ::SendMessageW(b.Box(), EM_SETSEL, 0, -1);
        Type(b.Box(), L"Typed");
        c.change(*b.list);
        EXPECT_FALSE(b.BoxShown());
        EXPECT_EQ(b.list->GetEditRow(), -1);
        b.dialog.reports.clear();
        b.LoseFocus();
        b.list->HideEdit(1);
        EXPECT_TRUE(b.Reports(VREL::NC_EDIT_END).empty());
        std::vector<std::wstring> names;
        for (int i = 0; i < b.list->GetItemCount(); ++i)
            names.push_back(b.list->GetItemText(i).GetStdString());
        EXPECT_EQ(names, c.after);
    }
}

TEST(RowRename, AppendingRowsLeavesAnOpenRenameAlone)
{
    WindowBench<MacroList> b(1);
    b.list->EnableShowEdit(1);
    FillMacros(*b.list);
    b.Paint();
    DoubleClickRow(b.hwnd, 1);
    ::SendMessageW(b.Box(), EM_SETSEL, 0, -1);
    Type(b.Box(), L"Typed");
    b.list->AddString(L"Appended", 0);
    EXPECT_TRUE(b.BoxShown());
    b.LoseFocus();
    EXPECT_EQ(b.list->GetItemText(1), L"Typed");
}

TEST(RowRename, DeletingAListWithAnOpenRenameDestroysTheBoxAndReportsNothing)
{
    WindowBench<ProfileList> b(1, 1);
    FillProfiles(*b.list);
    b.Paint();
    Click(b.hwnd, ProfileIcon(2).x, ProfileIcon(2).y);
    const HWND box = b.Box();
    ASSERT_TRUE(box && ::IsWindowVisible(box));
    Type(box, L"x");
    b.dialog.reports.clear();
    b.dialog.Manager().RemoveControl(b.list);
    b.list = nullptr;
    EXPECT_FALSE(::IsWindow(box));
    EXPECT_TRUE(b.dialog.reports.empty());
    Pump(20);
}

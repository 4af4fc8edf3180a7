// The in-place edit windows of the lists (rename box) and of the combo box:
// each keystroke reaches the owner at once, losing the focus reports
// nothing, their creation settings and placement, and the owner's field
// being cleared when the window goes.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/Recorders.h"
#include "tests/support/WindowInput.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/NotifyCode.h"
#include "ui/lists/CEditWindow.h"
#include "ui/lists/CEditWnd2.h"
#include "ui/lists/MEdit.h"

using namespace testsupport;
using VREL::CEditWindow;
using VREL::CEditWnd2;

namespace {

constexpr UINT kOwnerId = 12;
const CRect kOwnerRect(20, 130, 220, 160);

// Stands in for a list or a combo box: a control whose title is the text
// being edited.
class TextOwner : public VREL::MControlFont
{
public:
    TextOwner(VREL::MObject* owner, UINT id, CRect rect) : MControlFont(owner, id, rect, L"", 1, 1, 1) {}
    void DrawControl(HDC&, CRect) override {}
};

struct Host
{
    Host()
    {
        hwnd = dialog.Open();
        owner = dialog.Add(new TextOwner(&dialog, kOwnerId, kOwnerRect));
    }
    CRect ClientRectOf(HWND window) const
    {
        RECT r;
        ::GetWindowRect(window, &r);
        ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        return CRect(r);
    }
    HostDialog dialog;
    HWND hwnd = nullptr;
    TextOwner* owner = nullptr;
};

} // namespace

TEST(RenameBox, EveryKeystrokeBecomesTheOwnersTitleAndIsReported)
{
    // Declared before the host: the window's destruction clears it.
    CEditWindow* box = nullptr;
    Host h;
    h.owner->SetTitle(L"old");
    box = new CEditWindow();
    box->SetLimitText(30);
    const HWND window = box->CreateEdit(h.owner, CRect(30, 135, 200, 155));
    ASSERT_NE(window, nullptr);
    box->SetOwnerSlot(&box);
    EXPECT_EQ(WindowText(window), L"old");

    ::SendMessageW(window, EM_SETSEL, 0, -1);
    h.dialog.reports.clear();
    Type(window, L"ab");
    EXPECT_EQ(h.owner->GetTitle(), L"ab");
    EXPECT_EQ(h.dialog.Codes(kOwnerId), (std::vector<UINT>{VREL::NC_TEXT_CHANGED, VREL::NC_TEXT_CHANGED}));

    h.dialog.reports.clear();
    ::SetFocus(h.hwnd);
    EXPECT_TRUE(h.dialog.reports.empty());

    ::DestroyWindow(window);
    EXPECT_EQ(box, nullptr);
}

TEST(ComboEditor, TakesSixtyCharactersAndReportsWithTheCombosId)
{
    CEditWnd2* editor = nullptr;
    Host h;
    editor = new CEditWnd2(h.owner);
    const HWND window = editor->CreateEdit(CRect(30, 135, 200, 155), nullptr);
    ASSERT_NE(window, nullptr);
    editor->SetOwnerSlot(&editor);

    h.dialog.reports.clear();
    Type(window, std::wstring(70, L'x').c_str());
    EXPECT_EQ(WindowText(window).size(), 60u);
    EXPECT_EQ(h.owner->GetTitle(), CString(std::wstring(60, L'x')));
    EXPECT_EQ(h.dialog.Codes(kOwnerId), std::vector<UINT>(60, VREL::NC_TEXT_CHANGED));

    h.dialog.reports.clear();
    ::SetFocus(h.hwnd);
    EXPECT_TRUE(h.dialog.reports.empty());

    ::DestroyWindow(window);
    EXPECT_EQ(editor, nullptr);
}

TEST(InPlaceEdit, EmptyRectanglePlacesASingleLineBandInTheOwner)
{
    // Font size 14: a 16-pixel band, inside the owner by 6 at each side; the
    // combo's editor sits one pixel lower.
    CEditWindow* box = nullptr;
    CEditWnd2* editor = nullptr;
    Host h;
    box = new CEditWindow();
    const HWND boxWindow = box->CreateEdit(h.owner, CRect());
    ASSERT_NE(boxWindow, nullptr);
    box->SetOwnerSlot(&box);
    EXPECT_EQ(h.ClientRectOf(boxWindow), CRect(26, 137, 214, 153));

    editor = new CEditWnd2(h.owner);
    const HWND editorWindow = editor->CreateEdit(CRect(), nullptr);
    ASSERT_NE(editorWindow, nullptr);
    editor->SetOwnerSlot(&editor);
    EXPECT_EQ(h.ClientRectOf(editorWindow), CRect(26, 138, 214, 154));
}

TEST(RenameBox, PasswordModeMasksWithABlackDot)
{
    CEditWindow* box = nullptr;
    Host h;
    box = new CEditWindow();
    box->EnablePassWord(1);
    const HWND window = box->CreateEdit(h.owner, CRect(30, 135, 200, 155));
    ASSERT_NE(window, nullptr);
    box->SetOwnerSlot(&box);
    EXPECT_TRUE(::GetWindowLongW(window, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(::SendMessageW(window, EM_GETPASSWORDCHAR, 0, 0), 0x25CF);
}

TEST(InPlaceEdit, FieldAndRenameBoxShareOneWindowClass)
{
    // Whichever registers the class second finds it registered already.
    CEditWindow* box = nullptr;
    Host h;
    box = new CEditWindow();
    const HWND boxWindow = box->CreateEdit(h.owner, CRect(30, 135, 200, 155));
    ASSERT_NE(boxWindow, nullptr);
    box->SetOwnerSlot(&box);

    VREL::MEdit* field = h.dialog.Add(new VREL::MEdit(&h.dialog, 3, CRect(20, 20, 220, 50), L"", 1, 1));
    Click(h.hwnd, 100, 35);
    const HWND fieldWindow = field->GetEditHwnd();
    ASSERT_NE(fieldWindow, nullptr);
    wchar_t first[32] = L"", second[32] = L"";
    ::GetClassNameW(boxWindow, first, 32);
    ::GetClassNameW(fieldWindow, second, 32);
    EXPECT_STREQ(first, L"MEditWindow");
    EXPECT_STREQ(second, L"MEditWindow");
}

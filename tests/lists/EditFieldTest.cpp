// The edit field: what it reports while the user edits, when editing may
// start, what the native edit takes over at its creation, the text area's
// geometry and the looks it shows per state.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/framework/TestTheme.h"
#include "tests/support/DibCanvas.h"
#include "tests/support/Recorders.h"
#include "tests/support/WindowInput.h"
#include "ui/framework/NotifyCode.h"
#include "ui/lists/CEditWnd.h"
#include "ui/lists/MEdit.h"

using namespace testsupport;
using VREL::MEdit;

namespace {

constexpr UINT kFieldId = 7;
const CRect kFieldRect(20, 20, 220, 50);
// Inside the field, and a point of the window that no control covers.
constexpr int kInsideX = 100, kInsideY = 35;
constexpr int kAwayX = 280, kAwayY = 150;

using Codes = std::vector<UINT>;

struct EditingHost
{
    EditingHost(int enabled = 1)
    {
        hwnd = host.Open();
        field = host.Add(new MEdit(&host, kFieldId, kFieldRect, L"tip", 1, enabled));
    }
    HostDialog host;
    HWND hwnd = nullptr;
    MEdit* field = nullptr;
};

} // namespace

TEST(EditField, PressTypeAndClickAwayReportTheEditInOrder)
{
    EditingHost h;
    Press(h.hwnd, kInsideX, kInsideY);
    EXPECT_EQ(h.host.Codes(kFieldId), (Codes{VREL::NC_EDIT_BEGIN, VREL::NC_PRESSED}));
    const HWND edit = h.field->GetEditHwnd();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(::GetFocus(), edit);
    Up(h.hwnd, kInsideX, kInsideY);
    EXPECT_EQ(h.host.Codes(kFieldId), (Codes{VREL::NC_EDIT_BEGIN, VREL::NC_PRESSED, VREL::NC_CLICKED}));

    h.host.reports.clear();
    Type(edit, L"ab");
    EXPECT_EQ(h.host.Codes(kFieldId), (Codes{VREL::NC_TEXT_CHANGED, VREL::NC_TEXT_CHANGED}));
    EXPECT_EQ(h.field->GetTitleEx(), L"ab");
    EXPECT_EQ(h.field->GetEditText(), L"ab");

    h.host.reports.clear();
    Click(h.hwnd, kAwayX, kAwayY);
    const Codes ended = h.host.Codes(kFieldId);
    // Hiding the window reports the end, and so does its loss of focus.
    ASSERT_GE(ended.size(), 1u);
    ASSERT_LE(ended.size(), 2u);
    for (UINT code : ended)
        EXPECT_EQ(code, static_cast<UINT>(VREL::NC_EDIT_END));
    EXPECT_EQ(h.field->GetEditHwnd(), nullptr);
    EXPECT_EQ(h.field->GetTitleEx(), L"ab");
}

TEST(EditField, IconAndSpaceReportTheirOwnCodes)
{
    EditingHost h;
    ASSERT_EQ(h.field->SetIconImage(TestTheme::kStrip4, TestTheme::kStrip4Frames), 1);
    // The icon ends 9 pixels inside the field's right edge.
    const CRect icon = h.field->GetIconRect();
    EXPECT_EQ(icon, CRect(kFieldRect.right - 9 - TestTheme::kStrip4Width, 30, kFieldRect.right - 9, 40));

    // A press and release on the icon start no edit.
    Click(h.hwnd, icon.left + icon.Width() / 2, icon.top + icon.Height() / 2);
    EXPECT_EQ(h.host.Codes(kFieldId), (Codes{VREL::NC_ICON_OR_TAB, VREL::NC_ICON_CLICK}));
    EXPECT_EQ(h.field->GetEditWindow(), nullptr);

    // Space acts as a click only while the field has the focus, and only
    // without modifiers.
    h.host.reports.clear();
    EXPECT_EQ(h.field->OnControlKeyDown(VK_SPACE, 1, 0), 0);
    Click(h.hwnd, kInsideX, kInsideY);
    h.host.reports.clear();
    EXPECT_EQ(h.field->OnControlKeyDown(VK_SPACE, 1, 0x11), 0);
    EXPECT_TRUE(h.host.reports.empty());
    EXPECT_EQ(h.field->OnControlKeyDown(VK_SPACE, 1, 0), 1);
    EXPECT_EQ(h.host.Codes(kFieldId), (Codes{VREL::NC_PRESSED, VREL::NC_CLICKED}));
}

TEST(EditField, ReadOnlyOrDisabledFieldNeverStartsAnEdit)
{
    struct Case
    {
        const char* name;
        int readOnly;
        int enabled;
    };
    const Case cases[] = {{"read-only", 1, 1}, {"disabled", 0, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EditingHost h(c.enabled);
        h.field->SetReadOnly(c.readOnly);
        Click(h.hwnd, kInsideX, kInsideY);
        h.field->SetControlFocus(1);
        for (UINT code : h.host.Codes(kFieldId))
            EXPECT_NE(code, static_cast<UINT>(VREL::NC_EDIT_BEGIN));
        EXPECT_EQ(h.field->GetEditWindow(), nullptr);
    }
}

TEST(EditField, LimitIsTheOneSetBeforeTheFirstEdit)
{
    EditingHost h;
    h.field->SetLimitText(3);
    Click(h.hwnd, kInsideX, kInsideY);
    Type(h.field->GetEditHwnd(), L"abcd");
    EXPECT_EQ(h.field->GetTitleEx(), L"abc");
    Click(h.hwnd, kAwayX, kAwayY);

    // The native edit lives on with the limit it was made with.
    h.field->SetLimitText(10);
    Click(h.hwnd, kInsideX, kInsideY);
    Type(h.field->GetEditHwnd(), L"xyz");
    EXPECT_EQ(h.field->GetTitleEx(), L"abc");
}

TEST(EditField, SwallowedCharactersLeaveOnlyTheOwnerToSetTheText)
{
    EditingHost h;
    h.field->EnableCharMessage(0);
    Click(h.hwnd, kInsideX, kInsideY);
    h.host.reports.clear();
    Type(h.field->GetEditHwnd(), L"ab");
    EXPECT_EQ(h.field->GetTitleEx(), L"");

    h.field->SetTitle(L"xyz");
    EXPECT_EQ(WindowText(h.field->GetEditHwnd()), L"xyz");
    EXPECT_EQ(h.field->GetTitleEx(), L"xyz");
    EXPECT_TRUE(h.host.Codes(kFieldId).empty());
}

TEST(EditField, ReadingTheTitleEndsTheEditButReadingTheEditTextDoesNot)
{
    EditingHost h;
    Click(h.hwnd, kInsideX, kInsideY);
    Type(h.field->GetEditHwnd(), L"q");
    h.host.reports.clear();

    EXPECT_EQ(h.field->GetEditText(), L"q");
    EXPECT_TRUE(h.host.reports.empty());
    EXPECT_NE(h.field->GetEditHwnd(), nullptr);

    EXPECT_EQ(h.field->GetTitle(), L"q");
    EXPECT_EQ(h.host.Codes(kFieldId).front(), static_cast<UINT>(VREL::NC_EDIT_END));
    EXPECT_EQ(h.field->GetEditHwnd(), nullptr);
}

TEST(EditField, DestroyingTheFieldMidEditDestroysItsWindowWithoutReachingTheField)
{
    EditingHost h;
    Click(h.hwnd, kInsideX, kInsideY);
    Type(h.field->GetEditHwnd(), L"a");
    const HWND edit = h.field->GetEditHwnd();
    ASSERT_EQ(::GetFocus(), edit);
    VREL::MControl* gone = h.field;
    h.host.reports.clear();
    h.host.updateSenders.clear();

    h.host.GetPaintManager()->RemoveControl(h.field);
    h.field = nullptr;

    EXPECT_FALSE(::IsWindow(edit));
    // Neither the loss of focus nor the window's destruction may report
    // for, or repaint, the field that is being destroyed.
    EXPECT_TRUE(h.host.reports.empty());
    for (VREL::MControl* sender : h.host.updateSenders)
        EXPECT_NE(sender, gone);
}

TEST(EditField, PasswordIsMaskedWithBlackDotsDrawnAndInTheNativeEdit)
{
    EditingHost h;
    h.field->EnablePassWord(1);
    // The default is kept as its legacy value for whoever reads it back.
    EXPECT_EQ(h.field->GetPassWordChar(), 0xA1F1);
    h.field->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    h.field->SetTitle(L"abc");
    DibCanvas canvas(260, 80);
    auto drawn = [&]() {
        canvas.Fill(0);
        CRect paint = kFieldRect;
        h.field->DrawControl(canvas.Dc(), paint);
        std::vector<uint32_t> pixels;
        for (int y = kFieldRect.top; y < kFieldRect.bottom; ++y)
            for (int x = kFieldRect.left; x < kFieldRect.right; ++x)
                pixels.push_back(canvas.Rgb(x, y));
        return pixels;
    };
    const std::vector<uint32_t> masked = drawn();
    h.field->EnablePassWord(0);
    h.field->SetTitle(L"\x25CF\x25CF\x25CF");
    EXPECT_EQ(masked, drawn()) << "the field does not show three black dots";
    h.field->SetTitle(L"\xA1F1\xA1F1\xA1F1");
    EXPECT_NE(masked, drawn()) << "a dot and the legacy code look alike: the comparison shows nothing";

    h.field->SetTitle(L"abc");
    h.field->EnablePassWord(1);
    Click(h.hwnd, kInsideX, kInsideY);
    const HWND edit = h.field->GetEditHwnd();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(::GetWindowLongW(edit, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(::SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), 0x25CF);
    EXPECT_EQ(WindowText(edit), L"abc");
}

TEST(EditField, TextAreaFollowsFontSizeLineModeAndIcon)
{
    struct Case
    {
        const char* name;
        int fontSize;
        int multiLine;
        bool icon;
        CRect text;
    };
    // A 100 x 30 field at the origin; the test strip has frames 12 wide.
    const Case cases[] = {
        {"size 10: 14-pixel band", 10, 0, false, CRect(6, 8, 94, 22)},
        {"size 16: 22-pixel band", 16, 0, false, CRect(6, 4, 94, 26)},
        {"size 20: its own band", 20, 0, false, CRect(6, 5, 94, 25)},
        {"multi-line", 14, 1, false, CRect(6, 5, 94, 25)},
        {"icon keeps its column", 14, 0, true, CRect(6, 8, 100 - 6 - 12 - 6, 22)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        MEdit field(nullptr, 1, CRect(0, 0, 100, 30), L"", 1, 1);
        field.SetFontWidth(c.fontSize);
        field.EnableMultLine(c.multiLine);
        if (c.icon)
        {
            ASSERT_EQ(field.SetIconImage(TestTheme::kStrip4, TestTheme::kStrip4Frames), 1);
            EXPECT_EQ(field.GetIconRect(), CRect(91 - TestTheme::kStrip4Width, 10, 91, 20));
        }
        EXPECT_EQ(field.GetTextRect(), c.text);
    }
    MEdit field(nullptr, 1, CRect(0, 0, 100, 30), L"", 1, 1);
    EXPECT_EQ(field.SetIconImage(L"no_such_icon.png", 4), 0);
}

TEST(EditField, EachStateShowsItsFrameOfTheSkin)
{
    EditingHost h;
    ASSERT_EQ(h.field->SetImage(TestTheme::kStrip4, TestTheme::kStrip4Frames), 1);
    h.field->SetTitle(L"");
    h.field->SetTipInfo(L"");
    DibCanvas canvas(260, 80);
    const int cx = kFieldRect.left + 4, cy = kFieldRect.top + kFieldRect.Height() / 2;
    auto shown = [&]() {
        CRect paint = kFieldRect;
        HDC& dc = canvas.Dc();
        h.field->DrawControl(dc, paint);
        return canvas.Rgb(cx + 30, cy);
    };

    EXPECT_EQ(shown(), TestTheme::FrameFill(0));
    h.field->OnControlMouseMove(0, CPoint(kInsideX, kInsideY));
    EXPECT_EQ(h.field->GetVisualState(), 1);
    EXPECT_EQ(shown(), TestTheme::FrameFill(1));
    h.field->SetControlEnabled(0);
    EXPECT_EQ(shown(), TestTheme::FrameFill(3));
}

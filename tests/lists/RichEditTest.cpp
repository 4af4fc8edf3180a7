// The windowless rich edit over the system's real text services: text in and
// out, typing and its change notice, the length limit, text ranges, the
// event mask, drawing, the drawn caret's restart; and the spin box on top of
// it: stepping round its range and clamping typed numbers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "tests/support/DibCanvas.h"
#include "tests/support/Recorders.h"
#include "tests/support/WindowInput.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/lists/RichEdit.h"
#include "ui/lists/RichEditControls.h"

using namespace testsupport;
using VREL::CSpinButton;
using VREL::MRichEdit;

namespace {

constexpr UINT kEditId = 21;
const CRect kEditRect(20, 20, 320, 60);

// Keeps the notifications the text services raise.
class RecordingRichEdit : public MRichEdit
{
public:
    using MRichEdit::MRichEdit;
    void OnTxNotify(DWORD code, void* data) override
    {
        notices.push_back(code);
        MRichEdit::OnTxNotify(code, data);
    }
    // The title as the notices left it, without asking the services.
    CString Stored() const { return m_title; }
    std::vector<DWORD> notices;
};

template <class Edit>
struct EditHost
{
    explicit EditHost(Edit* made = nullptr)
    {
        hwnd = host.Open(400, 200);
        edit = host.Add(made ? made : new Edit(&host, kEditId, kEditRect, L"tip", 1, 1));
    }
    HostDialog host;
    HWND hwnd = nullptr;
    Edit* edit = nullptr;
};

// Types into the focused control through its window, as the keyboard would.
void TypeInto(HWND window, const wchar_t* text)
{
    for (const wchar_t* ch = text; *ch; ++ch)
        ::SendMessageW(window, WM_CHAR, *ch, 1);
}

} // namespace

TEST(RichEdit, HasTextServicesOnceBound)
{
    EditHost<MRichEdit> h;
    ASSERT_NE(h.edit->GetTextHost(), nullptr);
    ASSERT_NE(h.edit->GetTextHost()->GetTextServices(), nullptr);
    // Without a paint manager there is no host, and nothing answers.
    RecordingOwner owner;
    MRichEdit loose(&owner, 1, kEditRect, L"", 1, 1);
    EXPECT_EQ(loose.GetTextHost(), nullptr);
    EXPECT_EQ(loose.GetTextRange(0, -1), L"");
    EXPECT_EQ(loose.CanUndo(), 0);
}

TEST(RichEdit, TextGoesInAndComesOutWhole)
{
    EditHost<MRichEdit> h;
    const wchar_t* texts[] = {L"", L"abc", L"Gr\u00FC\u00DFe \u00E9t\u00E9", L"smile \U0001F600 and \U0001F44D!"};
    for (const wchar_t* text : texts)
    {
        h.edit->SetTitle(text);
        EXPECT_EQ(h.edit->GetTitle(), text);
        EXPECT_EQ(h.edit->GetTextLength(), static_cast<long>(std::wcslen(text)));
    }
    // A null text counts as empty.
    h.edit->SetTitle(L"x");
    h.edit->SetTitle(nullptr);
    EXPECT_EQ(h.edit->GetTitle(), L"");
}

TEST(RichEdit, TypingRaisesTheChangeNoticeAndTheTitleFollows)
{
    EditHost<RecordingRichEdit> h(nullptr);
    h.edit->SetControlFocus(1);
    h.edit->notices.clear();
    TypeInto(h.hwnd, L"hi");
    EXPECT_GE(std::count(h.edit->notices.begin(), h.edit->notices.end(), static_cast<DWORD>(EN_CHANGE)), 2);
    EXPECT_EQ(h.edit->Stored(), L"hi");
    // Text changes are not the owner's business.
    EXPECT_TRUE(h.host.Codes(kEditId).empty());

    // Without the focus the keys go nowhere.
    h.edit->SetControlFocus(0);
    TypeInto(h.hwnd, L"zz");
    EXPECT_EQ(h.edit->GetTitle(), L"hi");
}

TEST(RichEdit, LengthLimitReachesTheTextServices)
{
    EditHost<MRichEdit> h;
    struct Case
    {
        int limit;
        DWORD kept;
    };
    for (const Case c : {Case{0, 0x7FFF}, Case{-3, 0x7FFF}, Case{3, 3}})
    {
        SCOPED_TRACE(c.limit);
        h.edit->SetLimitText(c.limit);
        DWORD kept = 0;
        h.edit->GetTextHost()->TxGetMaxLength(&kept);
        EXPECT_EQ(kept, c.kept);
    }
    h.edit->SetTitle(L"");
    h.edit->SetControlFocus(1);
    TypeInto(h.hwnd, L"abcdef");
    EXPECT_EQ(h.edit->GetTitle(), L"abc");
}

TEST(RichEdit, TextRangesResolveTheEndAndRefuseBackwardRanges)
{
    EditHost<MRichEdit> h;
    h.edit->SetTitle(L"hello world");
    struct Case
    {
        long start, end;
        const wchar_t* text;
    };
    for (const Case c : {Case{0, -1, L"hello world"}, Case{6, -1, L"world"}, Case{1, 4, L"ell"}, Case{4, 1, L""},
                         Case{3, 3, L""}})
    {
        SCOPED_TRACE(testing::Message() << c.start << ".." << c.end);
        EXPECT_EQ(h.edit->GetTextRange(c.start, c.end), c.text);
    }
    h.edit->SetSel(0, -1);
    EXPECT_EQ(h.edit->GetSelText(), L"hello world");
    h.edit->SetSel(6, 8);
    EXPECT_EQ(h.edit->GetSelText(), L"wo");
}

TEST(RichEdit, AcceptingDroppedFilesKeepsTheChangeNotices)
{
    EditHost<RecordingRichEdit> h(nullptr);
    const DWORD initial = h.edit->GetEventMask();
    EXPECT_EQ(initial & ENM_CHANGE, static_cast<DWORD>(ENM_CHANGE));

    EXPECT_EQ(h.edit->SetDropAcceptFile(0), 0);
    EXPECT_EQ(h.edit->GetEventMask(), initial & ~static_cast<DWORD>(ENM_DROPFILES));
    EXPECT_EQ(h.edit->SetDropAcceptFile(1), 0);
    EXPECT_EQ(h.edit->GetEventMask(), initial | ENM_DROPFILES);

    h.edit->notices.clear();
    h.edit->SetTitle(L"still heard");
    EXPECT_NE(std::count(h.edit->notices.begin(), h.edit->notices.end(), static_cast<DWORD>(EN_CHANGE)), 0);

    h.edit->SetEventMask(0);
    EXPECT_EQ(h.edit->SetDropAcceptFile(1), 1);
    EXPECT_EQ(h.edit->GetEventMask(), static_cast<DWORD>(ENM_DROPFILES));
}

// The text in its colour over what lies beneath the control: no box of the
// system's window colour behind it, in the rich edit and the controls made
// from it.
template <class Edit>
void ExpectTextOnTheBackgroundBeneath()
{
    constexpr uint32_t kBeneath = 0xFF202428;
    EditHost<Edit> h;
    h.edit->SetFontWidth(24);
    h.edit->SetFont();
    h.edit->SetTextColor(Gdiplus::Color(0xFF, 0xE0, 0x10, 0x10));
    h.edit->SetTitle(L"MMMMWWWW");
    DibCanvas canvas(400, 200, kBeneath);
    h.edit->Draw(canvas.Dc(), CRect(0, 0, 400, 200));
    int red = 0, light = 0;
    const CRect area = h.edit->GetTextArea();
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
        {
            if (NearColor(canvas.Rgb(x, y), 0xE01010, 40))
                ++red;
            if (NearColor(canvas.Rgb(x, y), 0xFFFFFF, 60))
                ++light;
        }
    EXPECT_GT(red, 40);
    EXPECT_EQ(light, 0) << "the text stands on a light box";
    // Right of the text the text area shows what lies beneath.
    EXPECT_EQ(canvas.Rgb(area.right - 3, area.top + area.Height() / 2), kBeneath & 0xFFFFFF);
    // Nothing is drawn outside the control.
    EXPECT_EQ(canvas.Rgb(5, 5), kBeneath & 0xFFFFFF);
}

TEST(RichEdit, DrawsItsTextInItsColourOnTheBackgroundBeneath)
{
    {
        SCOPED_TRACE("rich edit");
        ExpectTextOnTheBackgroundBeneath<MRichEdit>();
    }
    {
        SCOPED_TRACE("framed edit");
        ExpectTextOnTheBackgroundBeneath<VREL::MEditEx>();
    }
    {
        SCOPED_TRACE("logon edit");
        ExpectTextOnTheBackgroundBeneath<VREL::CLogonEdit>();
    }
}

TEST(RichEdit, PressAndReleaseReportOneAndTwo)
{
    EditHost<MRichEdit> h;
    Click(h.hwnd, 100, 40);
    EXPECT_EQ(h.host.Codes(kEditId), (std::vector<UINT>{VREL::NC_PRESSED, VREL::NC_CLICKED}));
    EXPECT_EQ(h.edit->SetZoom(65, 1), 0);
}

TEST(DrawnCaret, ShowingItAgainAfterAFocusLossRestartsTheBlink)
{
    EditHost<MRichEdit> h;
    VREL::PaintManager& manager = h.host.Manager();
    manager.CreateCaret(nullptr, 2, 16);
    ASSERT_EQ(manager.SetCaretPos(h.edit, 30, 30), 1);
    manager.ShowCaret(1);
    // The owner has no focus: drawing stops the blink.
    h.edit->SetControlFocus(0);
    DibCanvas canvas(400, 200);
    manager.DrawCaret(canvas.Dc(), CRect(0, 0, 400, 200));
    EXPECT_FALSE(::KillTimer(h.hwnd, VREL::TIMER_CARET_BLINK));

    manager.ShowCaret(1);
    EXPECT_TRUE(::KillTimer(h.hwnd, VREL::TIMER_CARET_BLINK));
    manager.ShowCaret(0);
}

TEST(SpinBox, ButtonsStepRoundTheRange)
{
    struct Case
    {
        int value;
        UINT button;
        int result;
    };
    const Case cases[] = {
        {100, CSpinButton::kUpButtonId, 0},
        {0, CSpinButton::kDownButtonId, 100},
        {41, CSpinButton::kUpButtonId, 42},
        {41, CSpinButton::kDownButtonId, 40},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.value << " button " << c.button);
        HostDialog host;
        const HWND hwnd = host.Open(400, 200);
        auto* spin = host.Add(new CSpinButton(&host, kEditId, CRect(20, 20, 120, 50), 1, 1));
        spin->SetCurValue(c.value);
        VREL::MControl* button = c.button == CSpinButton::kUpButtonId ? spin->GetUpButton() : spin->GetDownButton();
        ASSERT_NE(button, nullptr);
        const CRect place = button->GetRect();
        ASSERT_FALSE(place.IsRectEmpty());
        host.reports.clear();
        Click(hwnd, place.CenterPoint().x, place.CenterPoint().y);
        EXPECT_EQ(spin->GetCurValue(), c.result);
        CString shown;
        shown.Format(L"%d", c.result);
        EXPECT_EQ(spin->GetTitle(), shown);
        EXPECT_EQ(WithCode(host.reports, VREL::NC_SPIN).size(), 1u);
    }
}

TEST(SpinBox, TypedNumbersAreClampedAndShownClamped)
{
    HostDialog host;
    const HWND hwnd = host.Open(400, 200);
    auto* spin = host.Add(new CSpinButton(&host, kEditId, CRect(20, 20, 120, 50), 1, 1));
    spin->SetControlFocus(1);

    struct Case
    {
        const char* name;
        int before;
        const wchar_t* typed;  // replaces the whole text
        int value;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {"above the range", 7, L"250", 100, L"100"},
        {"above the range at the maximum", 100, L"1000", 100, L"100"},
        {"inside the range", 7, L"42", 42, L"42"},
        {"cleared", 42, L"", 0, L"0"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        spin->SetCurValue(c.before);
        spin->SetSelAll();
        if (*c.typed)
            TypeInto(hwnd, c.typed);
        else
            ::SendMessageW(hwnd, WM_KEYDOWN, VK_DELETE, 1);
        EXPECT_EQ(spin->GetCurValue(), c.value);
        EXPECT_EQ(spin->GetTitle(), c.shown);
    }

    // A new range leaves the value until the next step.
    spin->SetCurValue(5);
    spin->SetRange(10, 20);
    EXPECT_EQ(spin->GetCurValue(), 5);
}

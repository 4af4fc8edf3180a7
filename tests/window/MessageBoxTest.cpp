// The program's message box answered by each of its buttons, closed from
// outside, and shown where no window can be made.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/window/CUIMessageBox.h"
#include "tests/support/WindowInput.h"
#include "tests/window/PagesTestSupport.h"
#include "ui/framework/MControlFont.h"

using namespace tarnwell;

namespace {

// What the timer does to the open box, once.
enum class Answer
{
    ClickLeftButton,
    ClickRightButton,
    ClickSingleButton,
    CloseFromOutside,
};

struct Seen
{
    Answer answer = Answer::ClickSingleButton;
    bool found = false;
    RECT window = {};
    std::wstring title, message, left, right;
    int buttons = 0;
};

Seen g_seen;

void CALLBACK AnswerTheBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = ::FindWindowW(L"MWindow", kMessageBoxCaption);
    if (!box)
        return;
    ::KillTimer(nullptr, timer);
    g_seen.found = true;
    ::GetWindowRect(box, &g_seen.window);
    switch (g_seen.answer)
    {
    case Answer::ClickLeftButton:
        testsupport::Click(box, 180, 228);
        break;
    case Answer::ClickRightButton:
        testsupport::Click(box, 320, 228);
        break;
    case Answer::ClickSingleButton:
        testsupport::Click(box, 250, 228);
        break;
    case Answer::CloseFromOutside:
        ::PostMessageW(box, WM_CLOSE, 2, 0);
        break;
    }
}

// A box that lets the test read its controls while it runs.
class InspectedBox : public CUIMessageBox
{
public:
    using CUIMessageBox::CUIMessageBox;
    void InitUI(CRect client) override
    {
        CUIMessageBox::InitUI(client);
        g_seen.title = Read(kTitleId);
        g_seen.message = Read(kMessageId);
        g_seen.left = Read(kOkId);
        g_seen.right = Read(kCancelId);
        g_seen.buttons = (GetControl(kOkId) ? 1 : 0) + (GetControl(kCancelId) ? 1 : 0);
    }

private:
    std::wstring Read(int id)
    {
        auto* control = dynamic_cast<VREL::MControlFont*>(GetControl(id));
        return control ? std::wstring(control->GetTitle().GetString()) : std::wstring();
    }
};

} // namespace

TEST(MessageBox, EachButtonAndAnOutsideCloseGiveTheirResults)
{
    const LanguageTexts texts(pagestest::BinFolder(), 1033);
    struct Case
    {
        const char* name;
        int style;
        Answer answer;
        int result;
    };
    const Case cases[] = {
        {"OK alone", kMessageBoxOk, Answer::ClickSingleButton, 1},
        {"OK of two", kMessageBoxOkCancel, Answer::ClickLeftButton, 1},
        {"Cancel", kMessageBoxOkCancel, Answer::ClickRightButton, 2},
        {"closed by the program", kMessageBoxOkCancel, Answer::CloseFromOutside, 2},
        {"no buttons, closed by the program", 7, Answer::CloseFromOutside, 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        g_seen = Seen{};
        g_seen.answer = c.answer;
        ::SetTimer(nullptr, 0, 20, &AnswerTheBox);
        EXPECT_EQ(ShowMessageBox(nullptr, L"Message", L"Title", c.style, texts), c.result);
        EXPECT_TRUE(g_seen.found);
        EXPECT_EQ(g_seen.window.right - g_seen.window.left, CUIMessageBox::kWidth);
        EXPECT_EQ(g_seen.window.bottom - g_seen.window.top, CUIMessageBox::kHeight);
        EXPECT_EQ(::FindWindowW(L"MWindow", kMessageBoxCaption), nullptr);
    }
}

TEST(MessageBox, ShowsTitleMessageAndTheButtonTextsOfTheLanguage)
{
    const LanguageTexts polish(pagestest::BinFolder(), 1045);
    struct Case
    {
        int style;
        const wchar_t* title;
        const wchar_t* message;
        int buttons;
        std::wstring left, right;
    };
    const Case cases[] = {
        {kMessageBoxOk, L"Firmware", L"Version 1.2", 1, L"OK", L""},
        {kMessageBoxOkCancel, nullptr, nullptr, 2, L"OK", L"Anuluj"},
        {3, L"T", L"M", 0, L"", L""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.style);
        g_seen = Seen{};
        g_seen.answer = Answer::CloseFromOutside;
        ::SetTimer(nullptr, 0, 20, &AnswerTheBox);
        InspectedBox box(polish);
        box.SetTitle(c.title);
        box.SetMessage(c.message);
        box.SetStyle(c.style);
        ASSERT_NE(box.Create(nullptr, kMessageBoxCaption, WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW,
                             CRect(0, 0, CUIMessageBox::kWidth, CUIMessageBox::kHeight)),
                  nullptr);
        EXPECT_EQ(static_cast<int>(box.ShowModal(SW_SHOWNORMAL)), 2);
        EXPECT_EQ(g_seen.title, c.title ? c.title : L"");
        EXPECT_EQ(g_seen.message, c.message ? c.message : L"");
        EXPECT_EQ(g_seen.buttons, c.buttons);
        EXPECT_EQ(g_seen.left, c.left);
        EXPECT_EQ(g_seen.right, c.right);
    }
}

TEST(MessageBox, AParentThatIsNoWindowGivesMinusOne)
{
    const LanguageTexts texts(pagestest::BinFolder(), 1033);
    HWND gone = ::CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    ::DestroyWindow(gone);
    EXPECT_EQ(ShowMessageBox(gone, L"Message", L"Title", kMessageBoxOk, texts), -1);
}

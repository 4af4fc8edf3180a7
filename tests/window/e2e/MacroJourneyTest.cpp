// Journeys of the macro page's window messages against the real program.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_HOOK_KEY = 0x676;
constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;
constexpr UINT WM_MACRO_MENU = 0x73F;
constexpr UINT WM_RECORD_EDIT = 0x740;
constexpr UINT WM_RECORD_MENU = 0x741;

class MacroJourney : public ProgramJourney
{
protected:
    // The window still answers: its thread survived what it was sent.
    bool Answers(HWND window)
    {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &result) != 0 &&
               program->Running();
    }
};

// Any process can post the hook-key message with any lParam; the program
// must never follow it as a pointer.
TEST_F(MacroJourney, MessagesFromAnotherProcessCarryNoPointerTheProgramFollows)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);

    const LPARAM foreign[] = {0x10, static_cast<LPARAM>(0xDEADBEE0), -16};
    for (LPARAM lParam : foreign) {
        for (WPARAM message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP, WM_SYSKEYUP}) {
            PostMessageW(window, WM_HOOK_KEY, message, lParam);
        }
        // Raw input that the program did not ask for, with a handle that is none.
        PostMessageW(window, WM_INPUT, RIM_INPUT, lParam);
    }
    ASSERT_TRUE(Answers(window)) << "the program died on a posted message";

    // The menus' answers without a macro page to act on change nothing and
    // open no dialog.
    for (LPARAM item : {101, 102, 103, 105, 106, 107})
        PostMessageW(window, WM_RECORD_EDIT, 0, item);
    for (LPARAM item : {102, 106})
        PostMessageW(window, WM_MACRO_MENU, 0, item);
    for (LPARAM item : {100, 101, 102, 103, 104})
        PostMessageW(window, WM_RECORD_MENU, 0, item);
    ASSERT_TRUE(Answers(window));

    SendMessageW(window, WM_APP_EXIT, 0, APP_EXIT_CODE);
    EXPECT_EQ(program->WaitForExit(), 0);
}

} // namespace

// The record editor: the key it captures from real key presses while its
// edit is being edited, how it ends, and a picture of it for people to look
// at in screenshots/pages/.

#include <windows.h>

#include <gtest/gtest.h>
#include <lodepng.h>

#include <string>
#include <vector>

#include "app/window/RecordEditDlg.h"
#include "tests/support/DibCanvas.h"

namespace {

void SendKey(WORD vkey, WORD scan)
{
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vkey;
        input.ki.wScan = scan;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void Pump(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

UINT RegisteredDeviceCount()
{
    UINT count = 0;
    GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
    return count;
}

HWND Open(RecordEditDlg& editor)
{
    HWND window = editor.Create(nullptr, L"RecordEditDlg", WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                0, CRect(0, 0, RecordEditDlg::kWidth, RecordEditDlg::kHeight));
    if (window != nullptr)
        editor.CenterWindow(nullptr);
    return window;
}

bool SavePicture(RecordEditDlg& editor, const std::string& path)
{
    DibCanvas canvas(RecordEditDlg::kWidth, RecordEditDlg::kHeight, 0xFF202020);
    editor.GetPaintManager()->DrawControl(canvas.Dc(), CRect(0, 0, RecordEditDlg::kWidth, RecordEditDlg::kHeight));
    std::vector<unsigned char> rgba;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const uint32_t p = canvas.Pixel(x, y);
            rgba.push_back(static_cast<unsigned char>(p >> 16));
            rgba.push_back(static_cast<unsigned char>(p >> 8));
            rgba.push_back(static_cast<unsigned char>(p));
            rgba.push_back(0xFF);
        }
    return lodepng::encode(path, rgba, static_cast<unsigned>(canvas.Width()),
                           static_cast<unsigned>(canvas.Height())) == 0;
}

TEST(RecordEditDlg, TheLastKeyPressedWhileEditingIsCapturedAndOkKeepsIt)
{
    RecordEditDlg editor;
    ASSERT_NE(Open(editor), nullptr);
    // The edit has the focus from the start, so the capture runs at once.
    EXPECT_TRUE(editor.IsCapturing());

    editor.OnMessage(RecordEditDlg::ID_KEY_EDIT, 30, 0, 0);  // editing starts again
    ASSERT_TRUE(editor.IsCapturing());
    EXPECT_EQ(RegisteredDeviceCount(), 2u);
    SendKey('A', 30);
    SendKey('B', 48);
    Pump(400);
    EXPECT_EQ(editor.CapturedCode(), 'B');
    EXPECT_FALSE(editor.CapturedName().IsEmpty());

    const std::string folder = TARNWELL_SCREENSHOT_DIR;
    ::CreateDirectoryA(folder.substr(0, folder.rfind('/')).c_str(), nullptr);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_TRUE(SavePicture(editor, std::string(TARNWELL_SCREENSHOT_DIR) + "/record_editor.png"));

    editor.OnMessage(RecordEditDlg::ID_KEY_EDIT, 29, 0, 0);  // editing ends
    EXPECT_FALSE(editor.IsCapturing());
    EXPECT_EQ(RegisteredDeviceCount(), 0u);
    SendKey('C', 46);
    Pump(200);
    EXPECT_EQ(editor.CapturedCode(), 'B');

    editor.OnMessage(RecordEditDlg::ID_OK, 2, 0, 0);
    EXPECT_EQ(editor.ShowModal(SW_SHOW), static_cast<UINT>(IDOK));
}

TEST(RecordEditDlg, TheCloseButtonCancelsAndStopsTheCapture)
{
    RecordEditDlg editor;
    ASSERT_NE(Open(editor), nullptr);
    editor.OnMessage(RecordEditDlg::ID_KEY_EDIT, 30, 0, 0);
    SendKey('A', 30);
    Pump(300);
    editor.OnMessage(RecordEditDlg::ID_CLOSE, 2, 0, 0);
    EXPECT_FALSE(editor.IsCapturing());
    EXPECT_EQ(RegisteredDeviceCount(), 0u);
    EXPECT_EQ(editor.ShowModal(SW_SHOW), static_cast<UINT>(IDCANCEL));
}

} // namespace

// The record editor: the key it captures from real key presses while its
// edit is being edited, how it ends, and a picture of it for people to look
// at in screenshots/pages/.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window/RecordEditDlg.h"
#include "tests/support/DibCanvasPng.h"
#include "tests/window/KeyPresses.h"

namespace {

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
    return WriteCanvasPng(canvas, path) == 0;
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
    PressKey('A', 30);
    PressKey('B', 48);
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
    PressKey('C', 46);
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
    PressKey('A', 30);
    Pump(300);
    editor.OnMessage(RecordEditDlg::ID_CLOSE, 2, 0, 0);
    EXPECT_FALSE(editor.IsCapturing());
    EXPECT_EQ(RegisteredDeviceCount(), 0u);
    EXPECT_EQ(editor.ShowModal(SW_SHOW), static_cast<UINT>(IDCANCEL));
}

} // namespace

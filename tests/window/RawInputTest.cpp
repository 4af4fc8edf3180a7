// Decoding raw-input packets and hook records into key events, and the
// raw-input registration of a window.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/window/RawInput.h"
#include "tests/window/KeyPresses.h"

using namespace tarnwell;

namespace {

// A keyboard whose held keys the test sets and whose layout names a few keys.
class FakeKeys : public KeySource
{
public:
    bool IsKeyHeld(int virtualKey) override { return held.count(virtualKey) != 0; }
    std::wstring KeyName(int virtualKey) override
    {
        static const std::map<int, std::wstring> names = {
            {'A', L"A"}, {VK_HOME, L"Home"}, {VK_DELETE, L"Delete"}, {VK_RETURN, L"Enter"},
            {VK_INSERT, L"Insert"}, {VK_SHIFT, L"Shift?"}, {VK_CONTROL, L"Ctrl?"}, {0xFF, L"?"}};
        const auto found = names.find(virtualKey);
        return found != names.end() ? found->second : std::wstring();
    }
    std::set<int> held;
};

RAWKEYBOARD Keyboard(USHORT vkey, UINT message, USHORT flags = 0, USHORT makeCode = 0)
{
    RAWKEYBOARD keyboard{};
    keyboard.VKey = vkey;
    keyboard.Message = message;
    keyboard.Flags = flags;
    keyboard.MakeCode = makeCode;
    return keyboard;
}

struct PacketCase
{
    const char* what;
    RAWKEYBOARD keyboard;
    std::set<int> held;
    int up;
    int code;
    const wchar_t* name;
};

TEST(DecodeRawInput, EachKeyboardRecordGivesItsKindDirectionCodeAndName)
{
    const USHORT E0 = RI_KEY_E0;
    const USHORT BREAK = RI_KEY_BREAK;
    const PacketCase cases[] = {
        {"letter down", Keyboard('A', WM_KEYDOWN, 0, 30), {}, 0, 'A', L"A"},
        {"letter up", Keyboard('A', WM_KEYUP, BREAK, 30), {}, 1, 'A', L"A"},
        {"left Ctrl", Keyboard(VK_CONTROL, WM_KEYDOWN, 0, 29), {VK_LCONTROL}, 0, VK_LCONTROL, L"Ctrl"},
        {"right Ctrl", Keyboard(VK_CONTROL, WM_KEYDOWN, E0, 29), {VK_RCONTROL}, 0, VK_RCONTROL, L"RCtrl"},
        {"left Shift", Keyboard(VK_SHIFT, WM_KEYDOWN, 0, 42), {VK_LSHIFT}, 0, VK_LSHIFT, L"Shift"},
        {"right Shift", Keyboard(VK_SHIFT, WM_KEYDOWN, 0, 54), {VK_RSHIFT}, 0, VK_RSHIFT, L"RShift"},
        {"left Alt", Keyboard(VK_MENU, WM_SYSKEYDOWN, 0, 56), {VK_LMENU}, 0, VK_LMENU, L"Alt"},
        {"right Alt", Keyboard(VK_MENU, WM_SYSKEYDOWN, E0, 56), {VK_RMENU}, 0, VK_RMENU, L"RAlt"},
        {"Shift of no side", Keyboard(VK_SHIFT, WM_KEYDOWN, 0, 0), {}, 0, VK_SHIFT, L"Shift?"},
        // The packet's make code tells the side when the key state no longer
        // does: a tapped key read after its release, both sides held.
        {"right Ctrl read after its release", Keyboard(VK_CONTROL, WM_KEYDOWN, E0, 29), {}, 0, VK_RCONTROL, L"RCtrl"},
        {"left Shift read after its release", Keyboard(VK_SHIFT, WM_KEYDOWN, 0, 42), {}, 0, VK_LSHIFT, L"Shift"},
        {"right Alt read after its release", Keyboard(VK_MENU, WM_SYSKEYDOWN, E0, 56), {}, 0, VK_RMENU, L"RAlt"},
        {"right Shift pressed while the left is held", Keyboard(VK_SHIFT, WM_KEYDOWN, 0, 54),
         {VK_LSHIFT, VK_RSHIFT}, 0, VK_RSHIFT, L"RShift"},
        {"left Ctrl released while the right is held", Keyboard(VK_CONTROL, WM_KEYUP, BREAK, 29), {VK_RCONTROL}, 1,
         VK_LCONTROL, L"Ctrl"},
        {"sided Ctrl as sent", Keyboard(VK_RCONTROL, WM_KEYDOWN, E0, 29), {}, 0, VK_RCONTROL, L"RCtrl"},
        {"Windows", Keyboard(VK_LWIN, WM_KEYDOWN, E0, 91), {VK_LWIN}, 0, VK_LWIN, L"Windows"},
        {"right Windows", Keyboard(VK_LWIN, WM_KEYDOWN, E0, 92), {VK_RWIN}, 0, VK_RWIN, L"RWindows"},
        {"Application", Keyboard(VK_APPS, WM_KEYDOWN, E0, 93), {}, 0, VK_APPS, L"Application"},
        {"keypad 7, Num Lock off", Keyboard(VK_HOME, WM_KEYDOWN, 0, 71), {}, 0, VK_NUMPAD7, L"Home"},
        {"keypad 7 released", Keyboard(VK_HOME, WM_KEYUP, BREAK, 71), {}, 1, VK_NUMPAD7, L"Home"},
        {"Home of the navigation block", Keyboard(VK_HOME, WM_KEYDOWN, E0, 71), {}, 0, VK_HOME, L"Home"},
        {"keypad point, Num Lock off", Keyboard(VK_DELETE, WM_KEYDOWN, 0, 83), {}, 0, VK_DECIMAL, L"Delete"},
        {"keypad 5, Num Lock off", Keyboard(VK_CLEAR, WM_KEYDOWN, 0, 76), {}, 0, VK_NUMPAD5, L""},
        {"Insert of the navigation block", Keyboard(VK_INSERT, WM_KEYDOWN, E0, 82), {}, 0, VK_INSERT, L"Insert"},
        {"Enter", Keyboard(VK_RETURN, WM_KEYDOWN, 0, 28), {}, 0, VK_RETURN, L"Enter"},
        {"keypad Enter", Keyboard(VK_RETURN, WM_KEYDOWN, E0, 28), {}, 0, KEY_CODE_NUM_ENTER, L"Num Enter"},
        {"keypad Enter released", Keyboard(VK_RETURN, WM_KEYUP, E0 | BREAK, 28), {}, 1, KEY_CODE_NUM_ENTER,
         L"Num Enter"},
        {"Pause", Keyboard(VK_PAUSE, WM_KEYDOWN, 0, 69), {}, 0, VK_PAUSE, L"Pause"},
        {"Print Screen", Keyboard(VK_SNAPSHOT, WM_KEYDOWN, E0, 55), {}, 0, VK_SNAPSHOT, L"Print Screen"},
        {"Num Lock", Keyboard(VK_NUMLOCK, WM_KEYDOWN, 0, 69), {}, 0, VK_NUMLOCK, L"Num Lock"},
        {"yen key", Keyboard(0xFF, WM_KEYDOWN, 0, 125), {}, 0, KEY_CODE_YEN, L"\xFFE5"},
        {"another key without a code", Keyboard(0xFF, WM_KEYDOWN, 0, 115), {}, 0, 0xFF, L"?"},
        {"a message that is not a key message", Keyboard('A', WM_CHAR, 0, 30), {}, 0, 'A', L"A"},
    };
    for (const PacketCase& c : cases) {
        SCOPED_TRACE(c.what);
        FakeKeys keys;
        keys.held = c.held;
        KeyDecoder decoder(keys);
        RawInputEvent event;
        decoder.DecodeKeyboard(c.keyboard, event);
        EXPECT_EQ(event.kind, RAW_EVENT_KEYBOARD);
        EXPECT_EQ(event.up, c.up);
        EXPECT_EQ(event.code, c.code);
        EXPECT_EQ(event.name, c.name);
    }
}

TEST(DecodeRawInput, PacketsOtherThanKeyboardGiveNoKeyEvent)
{
    FakeKeys keys;
    KeyDecoder decoder(keys);

    RAWINPUT mouse{};
    mouse.header.dwType = RIM_TYPEMOUSE;
    mouse.data.mouse.usButtonFlags = RI_MOUSE_LEFT_BUTTON_DOWN;
    RawInputEvent fromMouse;
    decoder.DecodePacket(mouse, fromMouse);
    EXPECT_EQ(fromMouse.kind, RAW_EVENT_NONE);
    EXPECT_EQ(fromMouse.code, 0);
    EXPECT_TRUE(fromMouse.name.empty());

    RAWINPUT hid{};
    hid.header.dwType = RIM_TYPEHID;
    RawInputEvent fromHid;
    decoder.DecodePacket(hid, fromHid);
    EXPECT_EQ(fromHid.kind, RAW_EVENT_HID);

    RAWINPUT key{};
    key.header.dwType = RIM_TYPEKEYBOARD;
    key.data.keyboard = Keyboard('A', WM_KEYDOWN, 0, 30);
    RawInputEvent fromKeyboard;
    decoder.DecodePacket(key, fromKeyboard);
    EXPECT_EQ(fromKeyboard.kind, RAW_EVENT_KEYBOARD);
    EXPECT_EQ(fromKeyboard.code, 'A');
}

// The side of a released modifier comes from what was pressed before.
TEST(DecodeRawInput, ModifierSidesFollowPressesAndReleases)
{
    FakeKeys keys;
    KeyDecoder decoder(keys);
    auto decode = [&](USHORT vkey, UINT message) {
        RawInputEvent event;
        decoder.DecodeKeyboard(Keyboard(vkey, message), event);
        return event.code;
    };

    keys.held = {VK_LSHIFT};
    EXPECT_EQ(decode(VK_SHIFT, WM_KEYDOWN), VK_LSHIFT);
    keys.held = {VK_LSHIFT, VK_RSHIFT};
    EXPECT_EQ(decode(VK_SHIFT, WM_KEYDOWN), VK_LSHIFT);  // the left one is still held, so it answers first
    EXPECT_EQ(decoder.ModifierFlags(), MOD_LEFT_SHIFT);
    keys.held = {VK_RSHIFT};
    EXPECT_EQ(decode(VK_SHIFT, WM_KEYUP), VK_LSHIFT);  // left released while right is held
    keys.held = {};
    EXPECT_EQ(decode(VK_SHIFT, WM_KEYUP), VK_RSHIFT);
    EXPECT_EQ(decoder.ModifierFlags(), 0);

    keys.held = {VK_RCONTROL};
    EXPECT_EQ(decode(VK_CONTROL, WM_KEYDOWN), VK_RCONTROL);
    EXPECT_EQ(decoder.ModifierFlags(), MOD_RIGHT_CTRL);
    keys.held = {};
    EXPECT_EQ(decode(VK_CONTROL, WM_KEYUP), VK_RCONTROL);

    keys.held = {VK_LMENU};
    EXPECT_EQ(decode(VK_MENU, WM_SYSKEYDOWN), VK_LMENU);
    keys.held = {};
    EXPECT_EQ(decode(VK_MENU, WM_SYSKEYUP), VK_LMENU);

    keys.held = {VK_LWIN};
    EXPECT_EQ(decode(VK_LWIN, WM_KEYDOWN), VK_LWIN);
    EXPECT_EQ(decoder.ModifierFlags(), MOD_WINDOWS);
    keys.held = {};
    EXPECT_EQ(decode(VK_LWIN, WM_KEYUP), VK_LWIN);
    EXPECT_EQ(decoder.ModifierFlags(), 0);
    // A release without the press seen is taken for the right key.
    EXPECT_EQ(decode(VK_LWIN, WM_KEYUP), VK_RWIN);

    EXPECT_EQ(decode(VK_LSHIFT, WM_KEYDOWN), VK_LSHIFT);
    EXPECT_EQ(decode(VK_RMENU, WM_KEYDOWN), VK_RMENU);
    EXPECT_EQ(decoder.ModifierFlags(), MOD_LEFT_SHIFT | MOD_RIGHT_ALT);
    decode(VK_LSHIFT, WM_KEYUP);
    decode(VK_RMENU, WM_KEYUP);
    EXPECT_EQ(decoder.ModifierFlags(), 0);
}

struct HookCase
{
    const char* what;
    UINT message;
    HookKeyRecord record;
    int code;
    const wchar_t* name;
};

TEST(HookKeyDecoder, RecordsGiveTheirCodesAndNames)
{
    const HookCase cases[] = {
        {"letter", WM_KEYDOWN, {'A', 30, 0}, 'A', L"A"},
        {"keypad 7, Num Lock off", WM_KEYDOWN, {VK_HOME, 71, 0}, VK_NUMPAD7, L""},
        {"keypad 7 released", WM_KEYUP, {VK_HOME, 71, 0x80}, VK_NUMPAD7, L""},
        {"Home of the navigation block", WM_KEYDOWN, {VK_HOME, 71, 1}, VK_HOME, L"Home"},
        {"keypad Enter", WM_KEYDOWN, {VK_RETURN, 28, 1}, KEY_CODE_NUM_ENTER, L""},
        {"keypad Enter released", WM_SYSKEYUP, {VK_RETURN, 28, 0x81}, KEY_CODE_NUM_ENTER, L""},
        {"Windows", WM_KEYDOWN, {VK_LWIN, 91, 1}, 227, L"Windows"},
        {"right Windows", WM_KEYDOWN, {VK_RWIN, 92, 1}, 231, L"RWindows"},
        {"Shift without a side", WM_KEYDOWN, {VK_SHIFT, 42, 0}, 225, L"Shift?"},
        {"right Shift", WM_KEYDOWN, {VK_RSHIFT, 54, 0}, 229, L"RShift"},
        {"Ctrl without a side", WM_KEYDOWN, {VK_CONTROL, 29, 0}, 224, L"Ctrl?"},
        {"right Alt", WM_SYSKEYDOWN, {VK_RMENU, 56, 1}, 230, L"RAlt"},
        {"volume up", WM_KEYDOWN, {VK_VOLUME_UP, 48, 1}, VK_VOLUME_UP, L"Vol Up"},
        {"calculator", WM_KEYDOWN, {VK_LAUNCH_APP2, 33, 1}, VK_LAUNCH_APP2, L"Calculator"},
    };
    for (const HookCase& c : cases) {
        SCOPED_TRACE(c.what);
        FakeKeys keys;
        HookKeyDecoder decoder(keys);
        RawInputEvent event;
        ASSERT_TRUE(decoder.Decode(c.message, c.record, event));
        EXPECT_EQ(event.kind, RAW_EVENT_KEYBOARD);
        EXPECT_EQ(event.up, c.message == WM_KEYUP || c.message == WM_SYSKEYUP ? 1 : 0);
        EXPECT_EQ(event.code, c.code);
        EXPECT_EQ(event.name, c.name);
    }
}

TEST(HookKeyDecoder, RepeatsOfAHeldKeyAndRecordsWithoutAKeyGiveNoEvent)
{
    FakeKeys keys;
    HookKeyDecoder decoder(keys);
    RawInputEvent first, repeat, release, again;
    ASSERT_TRUE(decoder.Decode(WM_KEYDOWN, {'A', 30, 0}, first));
    ASSERT_TRUE(decoder.Decode(WM_KEYDOWN, {'A', 30, 0}, repeat));
    ASSERT_TRUE(decoder.Decode(WM_KEYUP, {'A', 30, 0x80}, release));
    ASSERT_TRUE(decoder.Decode(WM_KEYDOWN, {'A', 30, 0}, again));
    EXPECT_EQ(first.kind, RAW_EVENT_KEYBOARD);
    EXPECT_EQ(repeat.kind, RAW_EVENT_NONE);
    EXPECT_EQ(release.kind, RAW_EVENT_KEYBOARD);
    EXPECT_EQ(again.kind, RAW_EVENT_KEYBOARD);

    RawInputEvent none;
    EXPECT_FALSE(decoder.Decode(WM_CHAR, {'A', 30, 0}, none));
    EXPECT_FALSE(decoder.Decode(WM_KEYDOWN, {0, 0, 0}, none));
    EXPECT_EQ(none.kind, RAW_EVENT_NONE);
}

// ---- registration ------------------------------------------------------------------

struct InputWindow
{
    InputWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &InputWindow::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"RawInputTestWindow";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, wc.lpszClassName, L"raw input", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    }
    ~InputWindow() { DestroyWindow(window); }

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_INPUT) {
            RawInputEvent event;
            if (DecodeRawInput(reinterpret_cast<HRAWINPUT>(lParam), event) && event.kind == RAW_EVENT_KEYBOARD)
                Received().push_back(event.code * (event.up ? -1 : 1));
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    static std::vector<int>& Received()
    {
        static std::vector<int> codes;
        return codes;
    }

    HWND window;
};

std::vector<RAWINPUTDEVICE> RegisteredDevices()
{
    UINT count = 0;
    GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
    std::vector<RAWINPUTDEVICE> devices(count);
    if (count > 0 && GetRegisteredRawInputDevices(devices.data(), &count, sizeof(RAWINPUTDEVICE)) != count)
        devices.clear();
    return devices;
}

TEST(RawInputRecorder, RegistersKeyboardAndMouseInTheBackgroundAndRemovesThemWhenDestroyed)
{
    // The display's focus may have been left on a window of a program that
    // has ended; the keys go to this test's own shown window, and the
    // recorder's target stays hidden in the background.
    InputWindow focus;
    ShowWindow(focus.window, SW_SHOW);
    SetForegroundWindow(focus.window);
    SetFocus(focus.window);
    Pump(200);
    InputWindow target;
    ASSERT_NE(target.window, nullptr);
    InputWindow::Received().clear();
    {
        RawInputRecorder recorder;
        ASSERT_TRUE(recorder.Register(target.window));
        const std::vector<RAWINPUTDEVICE> devices = RegisteredDevices();
        ASSERT_EQ(devices.size(), 2u);
        std::set<USHORT> usages;
        for (const RAWINPUTDEVICE& device : devices) {
            EXPECT_EQ(device.usUsagePage, 1);
            EXPECT_EQ(device.hwndTarget, target.window);
            EXPECT_NE(device.dwFlags & RIDEV_INPUTSINK, 0u);
            usages.insert(device.usUsage);
        }
        EXPECT_EQ(usages, (std::set<USHORT>{2, 6}));

        PressKey('A', 30);
        Pump(300);
        EXPECT_EQ(InputWindow::Received(), (std::vector<int>{'A', -'A'}));
    }
    EXPECT_TRUE(RegisteredDevices().empty());
    InputWindow::Received().clear();
    PressKey('A', 30);
    Pump(300);
    EXPECT_TRUE(InputWindow::Received().empty());
}

TEST(RawInputRecorder, AnUnregisteredRecorderRemovesNothing)
{
    InputWindow target;
    RawInputRecorder kept;
    ASSERT_TRUE(kept.Register(target.window));
    {
        RawInputRecorder unused;
        EXPECT_FALSE(unused.IsRegistered());
    }
    EXPECT_EQ(RegisteredDevices().size(), 2u);
}

} // namespace

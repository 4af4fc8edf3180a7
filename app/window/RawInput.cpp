#include "app/window/RawInput.h"

#include <vector>

namespace tarnwell {

namespace {

constexpr USHORT kGenericDesktopPage = 1;
constexpr USHORT kMouseUsage = 2;
constexpr USHORT kKeyboardUsage = 6;
constexpr int kKeyNameLength = 260;
constexpr USHORT kYenMakeCode = 125;
constexpr int kNoKeyCode = 255;

// Make codes of the modifiers with a left and a right key.
constexpr USHORT kLeftShiftMakeCode = 0x2A;
constexpr USHORT kRightShiftMakeCode = 0x36;
constexpr USHORT kCtrlMakeCode = 0x1D;
constexpr USHORT kAltMakeCode = 0x38;

bool IsDownMessage(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }
bool IsUpMessage(UINT message) { return message == WM_KEYUP || message == WM_SYSKEYUP; }

// Navigation keys that the keypad sends with Num Lock off, without the E0
// prefix that the keys of the navigation block carry.
int KeypadCodeOfNavigationKey(int code)
{
    switch (code) {
    case VK_CLEAR: return VK_NUMPAD5;
    case VK_PRIOR: return VK_NUMPAD9;
    case VK_NEXT: return VK_NUMPAD3;
    case VK_END: return VK_NUMPAD1;
    case VK_HOME: return VK_NUMPAD7;
    case VK_LEFT: return VK_NUMPAD4;
    case VK_UP: return VK_NUMPAD8;
    case VK_RIGHT: return VK_NUMPAD6;
    case VK_DOWN: return VK_NUMPAD2;
    case VK_INSERT: return VK_NUMPAD0;
    case VK_DELETE: return VK_DECIMAL;
    default: return code;
    }
}

// The same keys by their scan codes, for the hook records.
int KeypadCodeOfScanCode(uint32_t scanCode, int code)
{
    switch (scanCode) {
    case 71: return VK_NUMPAD7;
    case 72: return VK_NUMPAD8;
    case 73: return VK_NUMPAD9;
    case 75: return VK_NUMPAD4;
    case 76: return VK_NUMPAD5;
    case 77: return VK_NUMPAD6;
    case 79: return VK_NUMPAD1;
    case 80: return VK_NUMPAD2;
    case 81: return VK_NUMPAD3;
    case 82: return VK_NUMPAD0;
    case 83: return VK_DECIMAL;
    default: return code;
    }
}

constexpr uint32_t kHookExtended = 0x01;  // LLKHF_EXTENDED
constexpr uint32_t kHookUp = 0x80;        // LLKHF_UP
constexpr uint32_t kEnterScanCode = 28;

// Names and device codes of the keys the hook path names itself; a null
// name keeps the layout's, a code of 0 keeps the key's.
struct HookKeyFix
{
    int code;
    const wchar_t* name;
    int newCode;
};

const HookKeyFix kHookKeyFixes[] = {
    {VK_PAUSE, L"Pause", 0}, {VK_SNAPSHOT, L"Print Screen", 0}, {VK_LWIN, L"Windows", 227},
    {VK_RWIN, L"RWindows", 231}, {VK_APPS, L"Application", 0}, {VK_NUMLOCK, L"Num Lock", 0},
    {VK_LSHIFT, L"Shift", 225}, {VK_SHIFT, nullptr, 225}, {VK_RSHIFT, L"RShift", 229},
    {VK_LCONTROL, L"Ctrl", 224}, {VK_CONTROL, nullptr, 224}, {VK_RCONTROL, L"RCtrl", 228},
    {VK_LMENU, L"Alt", 226}, {VK_MENU, nullptr, 226}, {VK_RMENU, L"RAlt", 230},
    {VK_BROWSER_BACK, L"Web-Backward", 0}, {VK_BROWSER_FORWARD, L"Web-Forward", 0},
    {VK_BROWSER_REFRESH, L"Web-Refresh", 0}, {VK_BROWSER_STOP, L"Web-Stop", 0},
    {VK_BROWSER_SEARCH, L"Web-Search", 0}, {VK_BROWSER_FAVORITES, L"Web-Favorites", 0},
    {VK_BROWSER_HOME, L"Web-Home", 0}, {VK_VOLUME_MUTE, L"Vol Mute", 0}, {VK_VOLUME_DOWN, L"Vol Down", 0},
    {VK_VOLUME_UP, L"Vol Up", 0}, {VK_MEDIA_NEXT_TRACK, L"Next Track", 0},
    {VK_MEDIA_PREV_TRACK, L"Prev Track", 0}, {VK_MEDIA_STOP, L"Stop", 0},
    {VK_MEDIA_PLAY_PAUSE, L"Play/Pause", 0}, {VK_LAUNCH_MAIL, L"EMail", 0},
    {VK_LAUNCH_MEDIA_SELECT, L"Multimedia", 0}, {VK_LAUNCH_APP1, L"My Computer", 0},
    {VK_LAUNCH_APP2, L"Calculator", 0},
};

} // namespace

// ---- names ------------------------------------------------------------------------

const wchar_t* FixedKeyName(int code)
{
    switch (code) {
    case VK_PAUSE: return L"Pause";
    case VK_SNAPSHOT: return L"Print Screen";
    case VK_LWIN: return L"Windows";
    case VK_RWIN: return L"RWindows";
    case VK_APPS: return L"Application";
    case VK_NUMLOCK: return L"Num Lock";
    case VK_LSHIFT: return L"Shift";
    case VK_RSHIFT: return L"RShift";
    case VK_LCONTROL: return L"Ctrl";
    case VK_RCONTROL: return L"RCtrl";
    case VK_LMENU: return L"Alt";
    case VK_RMENU: return L"RAlt";
    default: return nullptr;
    }
}

bool SystemKeySource::IsKeyHeld(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

std::wstring SystemKeySource::KeyName(int virtualKey)
{
    UINT scanCode = MapVirtualKeyExW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC, GetKeyboardLayout(0));
    // The navigation block shares its scan codes with the keypad; only the
    // extended bit tells the layout which of the two is meant.
    if (virtualKey >= VK_PRIOR && virtualKey <= VK_DELETE && !(virtualKey >= VK_SELECT && virtualKey <= VK_SNAPSHOT))
        scanCode |= 0x100;
    wchar_t name[kKeyNameLength] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(scanCode << 16), name, kKeyNameLength);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

// ---- raw input ---------------------------------------------------------------------

std::wstring KeyDecoder::NameOf(int code)
{
    if (const wchar_t* fixed = FixedKeyName(code))
        return fixed;
    return m_keys.KeyName(code);
}

ModifierSide PacketModifierSide(int key, USHORT makeCode, USHORT flags)
{
    const bool extended = (flags & RI_KEY_E0) != 0;
    switch (key) {
    case VK_SHIFT:
        if (makeCode == kLeftShiftMakeCode)
            return ModifierSide::Left;
        return makeCode == kRightShiftMakeCode ? ModifierSide::Right : ModifierSide::Unknown;
    case VK_CONTROL:
        if (makeCode != kCtrlMakeCode)
            return ModifierSide::Unknown;
        return extended ? ModifierSide::Right : ModifierSide::Left;
    case VK_MENU:
        if (makeCode != kAltMakeCode)
            return ModifierSide::Unknown;
        return extended ? ModifierSide::Right : ModifierSide::Left;
    default:
        return ModifierSide::Unknown;
    }
}

int KeyDecoder::SidedModifierDown(int left, int right, uint8_t leftBit, uint8_t rightBit, int generic,
                                  ModifierSide side)
{
    // The packet names its key: the key state may already have moved on (a
    // tapped key is up again when its press is read, the other side may be
    // held too), and a press recorded without its side reaches the keyboard
    // as no key at all while its release is sent as the modifier.
    if (side == ModifierSide::Left) {
        m_flags |= leftBit;
        return left;
    }
    if (side == ModifierSide::Right) {
        m_flags |= rightBit;
        return right;
    }
    if (m_keys.IsKeyHeld(left)) {
        m_flags |= leftBit;
        return left;
    }
    if (m_keys.IsKeyHeld(right)) {
        m_flags |= rightBit;
        return right;
    }
    return generic;
}

int KeyDecoder::SidedModifierUp(int left, int right, uint8_t leftBit, uint8_t rightBit, ModifierSide side)
{
    if (side == ModifierSide::Left) {
        m_flags &= static_cast<uint8_t>(~leftBit);
        return left;
    }
    if (side == ModifierSide::Right) {
        m_flags &= static_cast<uint8_t>(~rightBit);
        return right;
    }
    // The left key is the one released when it was down and is no longer held.
    if ((m_flags & leftBit) != 0 && !m_keys.IsKeyHeld(left)) {
        m_flags &= static_cast<uint8_t>(~leftBit);
        return left;
    }
    m_flags &= static_cast<uint8_t>(~rightBit);
    return right;
}

void KeyDecoder::DecodeKeyboard(const RAWKEYBOARD& keyboard, RawInputEvent& event)
{
    int key = keyboard.VKey;
    const UINT message = keyboard.Message;
    const USHORT flags = keyboard.Flags;
    const ModifierSide side = PacketModifierSide(key, keyboard.MakeCode, flags);

    if (IsDownMessage(message)) {
        event.up = 0;
        switch (key) {
        case VK_SHIFT:
            key = SidedModifierDown(VK_LSHIFT, VK_RSHIFT, MOD_LEFT_SHIFT, MOD_RIGHT_SHIFT, key, side);
            break;
        case VK_CONTROL:
            key = SidedModifierDown(VK_LCONTROL, VK_RCONTROL, MOD_LEFT_CTRL, MOD_RIGHT_CTRL, key, side);
            break;
        case VK_MENU: key = SidedModifierDown(VK_LMENU, VK_RMENU, MOD_LEFT_ALT, MOD_RIGHT_ALT, key, side); break;
        case VK_LWIN:
            m_flags |= MOD_WINDOWS;
            if (!m_keys.IsKeyHeld(VK_LWIN) && m_keys.IsKeyHeld(VK_RWIN))
                key = VK_RWIN;
            break;
        case VK_RWIN: m_flags |= MOD_WINDOWS; break;
        case VK_LSHIFT: m_flags |= MOD_LEFT_SHIFT; break;
        case VK_RSHIFT: m_flags |= MOD_RIGHT_SHIFT; break;
        case VK_LCONTROL: m_flags |= MOD_LEFT_CTRL; break;
        case VK_RCONTROL: m_flags |= MOD_RIGHT_CTRL; break;
        case VK_LMENU: m_flags |= MOD_LEFT_ALT; break;
        case VK_RMENU: m_flags |= MOD_RIGHT_ALT; break;
        default: break;
        }
    } else if (IsUpMessage(message)) {
        event.up = 1;
        switch (key) {
        case VK_SHIFT: key = SidedModifierUp(VK_LSHIFT, VK_RSHIFT, MOD_LEFT_SHIFT, MOD_RIGHT_SHIFT, side); break;
        case VK_CONTROL: key = SidedModifierUp(VK_LCONTROL, VK_RCONTROL, MOD_LEFT_CTRL, MOD_RIGHT_CTRL, side); break;
        case VK_MENU: key = SidedModifierUp(VK_LMENU, VK_RMENU, MOD_LEFT_ALT, MOD_RIGHT_ALT, side); break;
        case VK_LWIN:
            if ((m_flags & MOD_WINDOWS) == 0 || m_keys.IsKeyHeld(VK_LWIN))
                key = VK_RWIN;
            m_flags &= static_cast<uint8_t>(~MOD_WINDOWS);
            break;
        case VK_RWIN: m_flags &= static_cast<uint8_t>(~MOD_WINDOWS); break;
        case VK_LSHIFT: m_flags &= static_cast<uint8_t>(~MOD_LEFT_SHIFT); break;
        case VK_RSHIFT: m_flags &= static_cast<uint8_t>(~MOD_RIGHT_SHIFT); break;
        case VK_LCONTROL: m_flags &= static_cast<uint8_t>(~MOD_LEFT_CTRL); break;
        case VK_RCONTROL: m_flags &= static_cast<uint8_t>(~MOD_RIGHT_CTRL); break;
        case VK_LMENU: m_flags &= static_cast<uint8_t>(~MOD_LEFT_ALT); break;
        case VK_RMENU: m_flags &= static_cast<uint8_t>(~MOD_RIGHT_ALT); break;
        default: break;
        }
    }

    event.kind = RAW_EVENT_KEYBOARD;
    if (key == kNoKeyCode && keyboard.MakeCode == kYenMakeCode) {
        event.name = L"\xFFE5";
        event.code = KEY_CODE_YEN;
        return;
    }
    event.name = NameOf(key);
    event.code = key;
    if ((flags & RI_KEY_E0) == 0)
        event.code = KeypadCodeOfNavigationKey(key);
    else if (key == VK_RETURN)
        event.code = KEY_CODE_NUM_ENTER;
    if (event.code == KEY_CODE_NUM_ENTER)
        event.name = L"Num Enter";
}

void KeyDecoder::DecodePacket(const RAWINPUT& packet, RawInputEvent& event)
{
    switch (packet.header.dwType) {
    case RIM_TYPEKEYBOARD:
        DecodeKeyboard(packet.data.keyboard, event);
        break;
    case RIM_TYPEHID:
        event.kind = RAW_EVENT_HID;
        break;
    default:
        break;  // mouse buttons are not recorded
    }
}

bool DecodeRawInput(HRAWINPUT input, RawInputEvent& event)
{
    static SystemKeySource keys;
    static KeyDecoder decoder(keys);

    UINT size = 0;
    if (GetRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 || size == 0)
        return false;
    // Room for a whole RAWINPUT whatever the packet's own size, zeroed, so
    // that a short packet never makes the decoder read past its end.
    std::vector<BYTE> bytes(size > sizeof(RAWINPUT) ? size : sizeof(RAWINPUT), 0);
    UINT read = size;
    if (GetRawInputData(input, RID_INPUT, bytes.data(), &read, sizeof(RAWINPUTHEADER)) != size)
        return false;
    decoder.DecodePacket(*reinterpret_cast<const RAWINPUT*>(bytes.data()), event);
    return true;
}

// ---- hook records ------------------------------------------------------------------

bool HookKeyDecoder::Decode(UINT message, const HookKeyRecord& record, RawInputEvent& event)
{
    const bool down = IsDownMessage(message);
    if (!down && !IsUpMessage(message))
        return false;
    int code = static_cast<int>(record.virtualKey);
    const uint32_t upFlag = down ? 0 : kHookUp;
    if (record.flags == upFlag)
        code = KeypadCodeOfScanCode(record.scanCode, code);
    else if (record.flags == (upFlag | kHookExtended) && record.scanCode == kEnterScanCode)
        code = KEY_CODE_NUM_ENTER;
    if (code == 0)
        return false;

    std::wstring name = m_keys.KeyName(code);
    for (const HookKeyFix& fix : kHookKeyFixes) {
        if (fix.code != code)
            continue;
        if (fix.name != nullptr)
            name = fix.name;
        if (fix.newCode != 0)
            code = fix.newCode;
        break;
    }

    event.up = down ? 0 : 1;
    event.code = code;
    event.name = name;
    if (down) {
        event.kind = m_held.count(code) != 0 ? RAW_EVENT_NONE : RAW_EVENT_KEYBOARD;
        m_held.insert(code);
    } else {
        m_held.erase(code);
        event.kind = RAW_EVENT_KEYBOARD;
    }
    return true;
}

// ---- registration ------------------------------------------------------------------

bool RawInputRecorder::Register(HWND window)
{
    RAWINPUTDEVICE devices[2] = {
        {kGenericDesktopPage, kMouseUsage, RIDEV_INPUTSINK, window},
        {kGenericDesktopPage, kKeyboardUsage, RIDEV_INPUTSINK, window},
    };
    m_registered = RegisterRawInputDevices(devices, 2, sizeof(RAWINPUTDEVICE)) != FALSE;
    if (!m_registered)
        m_registered = RegisterRawInputDevices(devices, 2, sizeof(RAWINPUTDEVICE)) != FALSE;
    return m_registered;
}

RawInputRecorder::~RawInputRecorder()
{
    if (!m_registered)
        return;
    // Without this the window keeps receiving every key press of the
    // session after recording has ended.
    RAWINPUTDEVICE devices[2] = {
        {kGenericDesktopPage, kMouseUsage, RIDEV_REMOVE, nullptr},
        {kGenericDesktopPage, kKeyboardUsage, RIDEV_REMOVE, nullptr},
    };
    RegisterRawInputDevices(devices, 2, sizeof(RAWINPUTDEVICE));
}

} // namespace tarnwell

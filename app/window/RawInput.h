#pragma once

// Reading the real keyboard for macro recording: the raw-input registration
// of a window (RawInputRecorder), the decoding of one raw-input packet into a
// key event with its code and display name (DecodeRawInput, KeyDecoder), and
// the decoding of a low-level keyboard record for the hook-key message
// (HookKeyDecoder). Nothing here needs a window of the program.

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>

namespace tarnwell {

enum RawEventKind : int
{
    RAW_EVENT_NONE = 0,      // nothing usable (mouse packets)
    RAW_EVENT_KEYBOARD = 2,
    RAW_EVENT_HID = 3,       // another HID device
};

// One decoded key event. The caller hands in a fresh one (kind 0, up 0).
struct RawInputEvent
{
    int kind = RAW_EVENT_NONE;
    int up = 0;     // 1 for a key going up
    int code = 0;   // virtual-key code, with the side of modifiers and the keypad remaps
    std::wstring name;
};

// Left/right modifier bits the decoder remembers between packets.
enum ModifierFlag : uint8_t
{
    MOD_LEFT_CTRL = 0x01,
    MOD_LEFT_SHIFT = 0x02,
    MOD_LEFT_ALT = 0x04,
    MOD_WINDOWS = 0x08,
    MOD_RIGHT_CTRL = 0x10,
    MOD_RIGHT_SHIFT = 0x20,
    MOD_RIGHT_ALT = 0x40,
};

// Key codes the decoders produce beyond the system's virtual keys.
constexpr int KEY_CODE_NUM_ENTER = 108;
constexpr int KEY_CODE_YEN = 137;

// What the decoders ask of the system; the tests give their own.
class KeySource
{
public:
    virtual ~KeySource() = default;
    // The key is held down now (GetAsyncKeyState).
    virtual bool IsKeyHeld(int virtualKey) = 0;
    // The keyboard layout's name of the key; empty when it has none.
    virtual std::wstring KeyName(int virtualKey) = 0;
};

// The system's key state and the current thread's keyboard layout.
class SystemKeySource : public KeySource
{
public:
    bool IsKeyHeld(int virtualKey) override;
    std::wstring KeyName(int virtualKey) override;
};

// The fixed display name of a key code, or null when the layout names it.
const wchar_t* FixedKeyName(int code);

// The side of a Shift, Ctrl or Alt that its packet tells by the make code
// (and the E0 prefix), or Unknown when the packet carries none.
enum class ModifierSide
{
    Unknown,
    Left,
    Right,
};
ModifierSide PacketModifierSide(int key, USHORT makeCode, USHORT flags);

class KeyDecoder
{
public:
    explicit KeyDecoder(KeySource& keys) : m_keys(keys) {}

    // A whole packet: keyboard packets are decoded, HID packets give kind 3,
    // mouse packets nothing.
    void DecodePacket(const RAWINPUT& packet, RawInputEvent& event);
    void DecodeKeyboard(const RAWKEYBOARD& keyboard, RawInputEvent& event);

    uint8_t ModifierFlags() const { return m_flags; }

private:
    // Decides the side of a Shift, Ctrl or Alt that went down or up: the
    // packet's own side, else the held keys and the presses seen before.
    int SidedModifierDown(int left, int right, uint8_t leftBit, uint8_t rightBit, int generic, ModifierSide side);
    int SidedModifierUp(int left, int right, uint8_t leftBit, uint8_t rightBit, ModifierSide side);
    std::wstring NameOf(int code);

    KeySource& m_keys;
    uint8_t m_flags = 0;
};

// Decodes one WM_INPUT packet with the process-wide decoder (its modifier
// bits are shared by every window that reads raw input). A packet that
// cannot be read leaves the event as it was; false then.
bool DecodeRawInput(HRAWINPUT input, RawInputEvent& event);

// A low-level keyboard record as the hook-key message carries it.
struct HookKeyRecord
{
    uint32_t virtualKey = 0;
    uint32_t scanCode = 0;
    uint32_t flags = 0;
};

// Turns hook records into key events; auto-repeats of a held key give kind 0.
class HookKeyDecoder
{
public:
    explicit HookKeyDecoder(KeySource& keys) : m_keys(keys) {}
    // False for a message that is not one of the four key messages, or a
    // record without a key.
    bool Decode(UINT message, const HookKeyRecord& record, RawInputEvent& event);

private:
    KeySource& m_keys;
    std::set<int> m_held;
};

// Raw input from the mouse and the keyboard for one window, also while it is
// in the background, for as long as the object lives.
class RawInputRecorder
{
public:
    RawInputRecorder() = default;
    ~RawInputRecorder();
    RawInputRecorder(const RawInputRecorder&) = delete;
    RawInputRecorder& operator=(const RawInputRecorder&) = delete;

    // Tries twice; true when the system took the registration.
    bool Register(HWND window);
    bool IsRegistered() const { return m_registered; }

private:
    bool m_registered = false;
};

} // namespace tarnwell

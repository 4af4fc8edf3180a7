#include "app/window/MacroEditing.h"

#include <cwchar>

#include "app/device/KeyCodes.h"
#include "app/device/StoreRows.h"
#include "app/store/ConfigDB.h"

namespace tarnwell {

namespace {

constexpr wchar_t kDownPrefix[] = L"\x2193  ";
constexpr wchar_t kUpPrefix[] = L"\x2191  ";
constexpr int kRowPrefixLength = 3;

const MouseButton kMouseButtons[] = {
    {1, L"LB", 1}, {3, L"RB", 2}, {2, L"MB", 4}, {7, L"Forward", 16}, {8, L"Backward", 8},
};

// Key-map types and the functions of the round control key (codes 240 to
// 243) that a key gets back when its macro goes.
constexpr int kAssignOwnLayerKey = 0;
constexpr int kAssignKeyboardKey = 2;
constexpr int kAssignMacro = 12;
constexpr int kAssignRoundKey = 11;
constexpr int kFirstRoundKey = 240;
constexpr int kRoundKeyValues[] = {240, 2176, 2432, 2688};

void GiveKeyItsOwnFunction(KeyMacroData& row)
{
    row.macro_type = row.fn_layer == 0 ? kAssignKeyboardKey : kAssignOwnLayerKey;
    row.macro_value = row.key_code;
    row.macro_value2 = 0;
    row.macro_value3 = 0;
    row.macro_desc = GetKeyName(row.key_code);
    const int round = row.key_code - kFirstRoundKey;
    if (round >= 0 && round < 4) {
        row.macro_type = kAssignRoundKey;
        row.macro_value = kRoundKeyValues[round];
    }
}

} // namespace

bool IsKnownRowType(int type) { return type >= ROW_DELAY && type <= ROW_MOUSE_UP; }

int ClampTypedNumber(const wchar_t* text, int minimum, int maximum)
{
    if (text == nullptr)
        return minimum;
    const long long value = std::wcstoll(text, nullptr, 10);
    if (value <= 0 || value < minimum)
        return minimum;
    return value > maximum ? maximum : static_cast<int>(value);
}

CString DownRowText(const wchar_t* name) { return CString(kDownPrefix) + (name ? name : L""); }
CString UpRowText(const wchar_t* name) { return CString(kUpPrefix) + (name ? name : L""); }

CString DelayRowText(int ms)
{
    CString text;
    text.Format(L"%d ms", ms);
    return text;
}

CString RowName(const CString& text)
{
    if (text.GetLength() <= kRowPrefixLength)
        return CString();
    return CString(text.GetString() + kRowPrefixLength);
}

const MouseButton* MouseButtonOfItem(int itemData)
{
    for (const MouseButton& button : kMouseButtons) {
        if (button.itemData == itemData)
            return &button;
    }
    return nullptr;
}

const MouseButton* MouseButtonOfValue(int value)
{
    for (const MouseButton& button : kMouseButtons) {
        if (button.value == value)
            return &button;
    }
    return nullptr;
}

// ---- recording -----------------------------------------------------------------------

void RecordingClock::Start(int mode, int fixedDelay)
{
    m_mode = mode;
    m_fixedDelay = fixedDelay;
    m_haveLast = false;
    m_lastTick = 0;
}

int RecordingClock::DelayBefore(DWORD now)
{
    if (m_mode == DELAY_RECORDED) {
        // Unsigned difference: right across the wrap of the tick count.
        const DWORD elapsed = m_haveLast ? now - m_lastTick : 0;
        m_haveLast = true;
        m_lastTick = now;
        return elapsed > static_cast<DWORD>(kMaxRecordedDelayMs) ? kMaxRecordedDelayMs : static_cast<int>(elapsed);
    }
    if (m_mode == DELAY_FIXED)
        return m_fixedDelay > 0 ? m_fixedDelay : 0;
    return 0;
}

RecordStep PlanRecordedEvent(RecordingClock& clock, DWORD now, int eventCount, int rowCount, int eventLimit)
{
    RecordStep step;
    const int delay = clock.DelayBefore(now);
    const int rowsNeeded = (delay != 0 ? 1 : 0) + 1;
    if (rowCount + rowsNeeded > kMaxEventRows) {
        // The list holds no more rows: neither the delay nor the event fits.
        step.stop = true;
        return step;
    }
    step.delay = delay;
    if (delay != 0 && eventCount >= eventLimit) {
        step.stop = true;
        return step;
    }
    step.appendEvent = true;
    step.stop = eventCount + 1 >= eventLimit || rowCount + rowsNeeded >= kMaxEventRows;
    return step;
}

// ---- insert menu -----------------------------------------------------------------------

int RowsOfInsertItem(int item)
{
    switch (item) {
    case INSERT_DELAY:
        return 1;
    case INSERT_KEY:
    case INSERT_LEFT_BUTTON:
    case INSERT_LEFT_CLICK:
    case INSERT_MIDDLE_CLICK:
    case INSERT_RIGHT_CLICK:
        return 3;
    default:
        return 0;
    }
}

std::vector<RowInsert> PlanInsertedRows(int item, int selected, int rowCount, int tick, int keyCode,
                                        const wchar_t* keyName)
{
    std::vector<RowInsert> rows;
    const int count = RowsOfInsertItem(item);
    if (count == 0 || rowCount + count > kMaxEventRows)
        return rows;
    if (selected < 0 || selected >= rowCount)
        selected = -1;

    if (item == INSERT_DELAY) {
        // A delay goes before the selected row.
        rows.push_back({selected >= 0 ? selected : rowCount, DelayRowText(kInsertedPressDelayMs), ROW_DELAY,
                        kInsertedPressDelayMs, tick});
        return rows;
    }

    CString name;
    int value = 0;
    int downType = ROW_MOUSE_DOWN;
    int upType = ROW_MOUSE_UP;
    switch (item) {
    case INSERT_KEY:
        if (keyCode <= 0 || keyName == nullptr || *keyName == L'\0')
            return rows;
        name = keyName;
        value = keyCode;
        downType = ROW_KEY_DOWN;
        upType = ROW_KEY_UP;
        break;
    case INSERT_MIDDLE_CLICK:
        name = L"MB";
        value = 4;
        break;
    case INSERT_RIGHT_CLICK:
        name = L"RB";
        value = 2;
        break;
    default:
        name = L"LB";
        value = 1;
        break;
    }
    // A press goes after the selected row; its down and up rows share the
    // timestamp so that deleting the event removes both.
    const int first = selected >= 0 ? selected + 1 : rowCount;
    rows.push_back({first, DownRowText(name), downType, value, tick});
    rows.push_back({first + 1, DelayRowText(kInsertedPressDelayMs), ROW_DELAY, kInsertedPressDelayMs, tick + 1});
    rows.push_back({first + 2, UpRowText(name), upType, value, tick});
    return rows;
}

// ---- deleting a macro ------------------------------------------------------------------

bool DeleteMacroAndFreeKeys(ConfigDB& store, int macroId)
{
    if (macroId <= 0 || !store.DeleteMacro(macroId))
        return false;
    StoreRows<ProfileData> profiles;
    store.GetProfileList(profiles.Out());
    std::vector<KeyMacroData> freed;
    for (const ProfileData* profile : profiles.Rows()) {
        StoreRows<KeyMacroData> keys;
        store.GetProfileKeyMacros(profile->profile, keys.Out());
        for (const KeyMacroData* key : keys.Rows()) {
            if (key->macro_type != kAssignMacro || key->macro_value != macroId)
                continue;
            KeyMacroData row = *key;
            GiveKeyItsOwnFunction(row);
            freed.push_back(row);
        }
    }
    if (!freed.empty())
        store.UpdateKeyMacros(freed);
    return true;
}

} // namespace tarnwell

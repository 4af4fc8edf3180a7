#pragma once

// The macro page's rules that need no window: the limits, the clamps of the
// typed numbers, the delays put between recorded events, the texts of event
// rows, the rows that the insert menu adds, and the store side of deleting a
// macro.

#include <windows.h>

#include <vector>

#include "ui/framework/CString.h"

class ConfigDB;

namespace tarnwell {

constexpr int kMaxMacros = 32;            // slots of the keyboard
constexpr int kRecordEventLimit = 30;     // key events one recording may leave in the list
constexpr int kMaxEventRows = 200;        // rows of one macro's event list
constexpr int kMaxRecordedDelayMs = 31000;
constexpr int kMinDelayMs = 1;
constexpr int kMaxDelayMs = 10000;        // typed delays, fixed or of one row
constexpr int kDefaultFixedDelayMs = 10;
constexpr int kMinPlayCount = 1;
constexpr int kMaxPlayCount = 255;
constexpr int kInsertedPressDelayMs = 50;  // between the down and up rows of an inserted press

// Event row types (store and list).
enum EventRowType : int
{
    ROW_DELAY = 1,
    ROW_KEY_DOWN = 2,
    ROW_KEY_UP = 3,
    ROW_MOUSE_DOWN = 4,
    ROW_MOUSE_UP = 5,
};
bool IsKnownRowType(int type);

enum DelayMode : int
{
    DELAY_NONE = 0,
    DELAY_RECORDED = 1,
    DELAY_FIXED = 2,
};

// The number in a typed text clamped to minimum..maximum; anything that is
// not a positive number gives the minimum.
int ClampTypedNumber(const wchar_t* text, int minimum, int maximum);

// "↓  name", "↑  name" and "%d ms".
CString DownRowText(const wchar_t* name);
CString UpRowText(const wchar_t* name);
CString DelayRowText(int ms);
// The key or button name of a down or up row's text.
CString RowName(const CString& text);

// Mouse buttons of the event editor's button list: its item data, the
// button's name and the value stored in the rows.
struct MouseButton
{
    int itemData;
    const wchar_t* name;
    int value;
};
// Null for item data that names no button.
const MouseButton* MouseButtonOfItem(int itemData);
const MouseButton* MouseButtonOfValue(int value);

// The delay rows put before recorded events.
class RecordingClock
{
public:
    // mode: a DelayMode; fixedDelay: the fixed delay in ms (mode 2).
    void Start(int mode, int fixedDelay);
    int Mode() const { return m_mode; }
    // The delay row to put before an event seen at tick `now` (ms); 0 for none.
    int DelayBefore(DWORD now);

private:
    int m_mode = DELAY_NONE;
    int m_fixedDelay = 0;
    bool m_haveLast = false;
    DWORD m_lastTick = 0;
};

// What to do with one recorded key event, given the list before it.
struct RecordStep
{
    int delay = 0;             // a delay row to append first (0: none)
    bool appendEvent = false;  // append the event row
    bool stop = false;         // end recording afterwards, telling the user the list is full
};
RecordStep PlanRecordedEvent(RecordingClock& clock, DWORD now, int eventCount, int rowCount, int eventLimit);

// One row to insert into the event list: before row `index` (the count: appended).
struct RowInsert
{
    int index;
    CString text;
    int type;
    int value;
    int timestamp;
};

// Items of the insert menu.
enum InsertItem : int
{
    INSERT_KEY = 101,
    INSERT_LEFT_BUTTON = 102,
    INSERT_DELAY = 103,
    INSERT_LEFT_CLICK = 105,
    INSERT_MIDDLE_CLICK = 106,
    INSERT_RIGHT_CLICK = 107,
};
// Rows the insert menu item adds at the selected row (-1: none) of a list of
// rowCount rows, stamped with tick; a key press uses keyCode and keyName.
// Empty for an unknown item, a key without code or name, or when the rows
// would take the list past kMaxEventRows.
std::vector<RowInsert> PlanInsertedRows(int item, int selected, int rowCount, int tick, int keyCode,
                                        const wchar_t* keyName);
// How many rows the item adds.
int RowsOfInsertItem(int item);

// Deletes the macro and gives every key bound to it (in every profile) its
// own function back. The other macros keep their ids; the key map's writer
// finds their new slots. False, and nothing changed, when the store refused.
bool DeleteMacroAndFreeKeys(ConfigDB& store, int macroId);

} // namespace tarnwell

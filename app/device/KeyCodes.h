#pragma once

// The device link's built-in key-code tables: where a key sits in the
// device's key map when the layout file does not say, which modifier bit a
// modifier key sets, the English key names, and the translation of Windows
// virtual-key codes into HID keyboard usages.

#include "ui/framework/CString.h"

// Key-map position (column * 6 + row, 0 to 125) of a key code; -1 for codes
// the table does not hold.
int KeyCodeToPosition(int keyCode);

// Modifier bit of a modifier given as virtual key or as HID usage; 0 gives 0
// and any other code comes back unchanged (callers pass ready-made bit sets
// through it).
int ModifierToBit(int code);

// English name of a key code; empty for codes without a name.
CString GetKeyName(int keyCode);

// HID keyboard usage of the virtual-key code that `virtualKey` points at; 0
// for codes outside the table and for a null pointer.
int VirtualKeyToUsage(const int* virtualKey);

// True for the virtual keys that macro events record as modifiers
// (left/right Shift, Ctrl, Alt and the two Windows keys).
bool IsModifierVirtualKey(int virtualKey);

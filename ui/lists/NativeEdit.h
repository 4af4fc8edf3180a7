#pragma once

// What the three in-place edit windows (the field's, the combo box's and the
// lists' rename box) share: a superclass of the system "Edit" class placed
// over a windowless control, child of the control's window or, when that
// window is layered, a popup in screen coordinates; the set-up messages that
// follow its creation; its font recipe and its colour answer. Internal to
// the library.

#include <windows.h>

#include <functional>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"

namespace VREL {

class MControl;
class MControlFont;
class MWindow;
class PaintManager;

namespace NativeEdit {

// The system class every in-place edit copies.
constexpr wchar_t kSuperClass[] = L"Edit";
// The window class of the field's edit, which the lists' rename box
// registers again under the same name.
constexpr wchar_t kFieldClassName[] = L"MEditWindow";
// Blink timer of the drawn caret; nothing in the library starts it.
constexpr UINT kBlinkTimerId = 6553;
// The paint manager sends a child's WM_COMMAND and colour requests back to
// it under this offset.
constexpr UINT kReflectOffset = 0x2000;
// An edit background of this value keeps the system's colours.
constexpr COLORREF kSystemColours = 0xFFFFFFFF;
// The default password character is the two-byte code of a black dot in a
// legacy double-byte code page, kept as this value for the callers that read
// it back; read as UTF-16 it is no dot at all, so masks show the dot it
// stands for (MaskCharacter).
constexpr wchar_t kDefaultPasswordChar = 0xA1F1;
constexpr wchar_t kBlackDot = 0x25CF;
constexpr int kDefaultLimit = 120;
// Alignment bits of the owner (MControlFont::SetAlignment).
constexpr UINT kAlignCentreBit = 1;
constexpr UINT kAlignRightBit = 2;

// Placement when no text rectangle is known: inside the control by 6 pixels
// left and right; multi-line also 6 from top and bottom; a single line is a
// band of font size + 2 pixels centred in the height, moved down by shift.
CRect FallbackRect(const CRect& control, int fontSize, bool multiLine, int shift);

// WS_CHILD, or WS_POPUP | WS_VISIBLE over a layered window, with the edit
// styles of the line mode, the alignment and the password mode.
DWORD WindowStyle(bool layered, bool multiLine, UINT align, bool password);

bool IsLayered(PaintManager* manager);

// A client rectangle of the manager's window in the coordinates a native
// edit is placed in: screen coordinates when the window is layered.
CRect PlacementRect(PaintManager* manager, CRect client);

// Creates the native window over the client rectangle; null without a
// manager window or when the system refuses.
HWND Create(MWindow& window, PaintManager* manager, CRect client, DWORD style);

// Creates a single-line window over a control (the combo box's editor and
// the lists' rename box): over rect, in client coordinates, or over the
// control's fallback band moved down by bandShift when rect is empty;
// aligned as the control's title.
HWND CreateOver(MWindow& window, MControlFont& control, CRect rect, int bandShift, bool password);

// The character a password is masked with, drawn or in the native edit.
constexpr wchar_t MaskCharacter(wchar_t passwordChar)
{
    return passwordChar == kDefaultPasswordChar ? kBlackDot : passwordChar;
}

struct Setup
{
    HFONT font = nullptr;
    int limit = kDefaultLimit;
    bool password = false;
    wchar_t passwordChar = kDefaultPasswordChar;
    CString text;
    bool enabled = true;
    bool readOnly = false;
    bool numberOnly = false;
};

// The messages that follow creation, in their order, ending with the window
// shown without activation, focused and all its text selected.
void Initialise(MWindow& window, const Setup& setup);

// The default GUI font's LOGFONT with this face (at most 31 characters), a
// height of -size, the default character set and the GDI+ style bits
// (1 bold, 2 italic, 4 underline).
HFONT MakeFont(const wchar_t* face, int size, int styleBits);

// The control's face, size and style as a GDI font (MakeFont), made into
// font when that holds none yet; the caller keeps and deletes it.
HFONT FontFor(HFONT& font, const MControlFont& control);

// Answer to a reflected WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC: 0 keeps the
// system's colours, otherwise the background brush, made once into brush.
LRESULT AnswerColour(HDC dc, COLORREF back, COLORREF text, HBRUSH& brush);

// The window's current text, or an empty string.
CString WindowText(MWindow& window);

// The messages every in-place edit answers alike; true when msg was one of
// them, whose answer is then 0:
// - its blink timer toggles blink and repaints the window;
// - WM_PRINT is refused while the owner's window is layered, where the edit
//   is a popup of its own;
// - a reflected WM_COMMAND: EN_UPDATE repaints the window, EN_CHANGE calls
//   onChange, any other code is dropped.
bool AnswerCommon(MWindow& window, UINT msg, WPARAM wParam, PaintManager* manager, int& blink,
                  const std::function<void()>& onChange);

// After the owner took a changed text: code 26 to its owner, then a repaint
// of its content.
void ReportTextChange(MControl& owner);

// Repaints the owner's content when it is visible: the edit no longer
// covers it.
void RepaintOwner(MControl* owner);

} // namespace NativeEdit

} // namespace VREL

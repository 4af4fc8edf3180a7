#pragma once

// The picture of the keyboard: the keys its caller adds one by one, drawn in
// one of four modes, with the key under the mouse (hover), the key last
// clicked (selection), a checked flag per key, an optional rubber band that
// checks the keys it touches, and a colour per key.
//
// The key list is shared with the program's worker thread, which sets and
// reads key colours while the UI thread paints, handles the mouse and may
// replace the whole list. Every access to the list happens under the item
// lock, and nothing outside the picture ever holds a pointer to a record:
// callers get copies (GetKeyItems, GetKeyColors) taken under the lock. A
// paint too draws from copies, so the worker never waits for a drawing.
// The lit picture, whose colours the worker changes many times a second,
// is blended from coverage tiles measured once per layout (LitKeyTiles).
//
// Coordinates: a key's rectangle is in layout coordinates. In the control's
// own drawing surface it lies moved by the draw offset; in window-client
// coordinates (every mouse and hit-test operation) moved by the draw offset
// and then by the control's top-left corner.

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/VrelExport.h"
#include "ui/keyboard/KeyInfo.h"

namespace VREL {

class CKeyboardTips;
class LayeredCanvas;
struct LitKeyCache;

enum KeyboardCtrlMode
{
    KEYBOARD_MODE_NONE = 100,       // rounded keys in their colours, names and icons
    KEYBOARD_MODE_CUSTOM = 101,     // the keys page: picture or outlined keys
    KEYBOARD_MODE_LIGHT = 102,      // the lighting page: keys in their colours
    KEYBOARD_MODE_USERLIGHT = 103,  // user colours, names and icons
};

// A key's code and colour, as the lighting page streams them.
struct KEY_COLOR
{
    int32_t keyCode;
    COLORREF color;
};

class VREL_API KeyboardCtrl : public MPanel
{
public:
    // Answers whether the Ctrl key is held; a rubber band or click adds to
    // the checks while it is.
    using CtrlKeyState = bool (*)();

    // Codes from here on are the round control key and its sub-keys.
    static constexpr int kRoundKeyCode = 240;
    static constexpr int kFnKeyCode = 175;
    // A key is never drawn lower than this.
    static constexpr int kMinKeyHeight = 12;
    // A band narrower or lower than this checks nothing.
    static constexpr int kMinBandSize = 6;
    // Moves of the band corner up to this many pixels on both axes are ignored.
    static constexpr int kBandMoveSlack = 20;
    // Layout coordinates beyond this are not a keyboard's.
    static constexpr int kMaxLayoutCoordinate = 16384;

    KeyboardCtrl(MObject* owner, UINT id, CRect rect, int visible);
    ~KeyboardCtrl() override;

    // ---- overrides ----------------------------------------------------------------------------
    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect paint) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // Stores the rectangle and puts the draw offset at (16, 24); the panel's
    // scroll bars are not laid out.
    void SetControlRect(CRect rect) override;
    int OnControlTimer() override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlRButtonDown(UINT flags, CPoint pt) override;
    int OnControlRButtonUp(UINT flags, CPoint pt) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifiers) override;
    // A new panel image also forgets the kept backdrop.
    int SetImage(UINT id, CString type, int count) override;
    int SetImage(const wchar_t* file, int count) override;

    // ---- layout and mode ----------------------------------------------------------------------
    // Centres a layout of that size in the control.
    void SetWidthAndHeight(int width, int height);
    void SetKeyboardImage(const wchar_t* file);
    void SetKeyboardCtrlMode(int mode) { m_mode = mode; }
    int GetKeyboardCtrlMode() const { return m_mode; }
    void SetKeyboardColor(COLORREF colour);
    Gdiplus::ARGB GetKeyboardColor() const { return m_keyboardColor; }
    void EnableFrameSelect(int enable) { m_frameSelect = enable; }
    int IsFrameSelect() const { return m_frameSelect; }
    void EnableKBTips(bool enable) { m_tipsOn = enable; }
    int GetCurrentKeyValue() const { return m_currentKeyValue; }
    CPoint GetDrawOffset() const { return CPoint(m_offsetX, m_offsetY); }
    int GetHoverIndex() const { return m_hover; }
    int GetSelectedIndex() const { return m_selected; }
    int IsBandActive() const { return m_bandActive; }
    // Null restores the real keyboard state.
    void SetCtrlKeyState(CtrlKeyState reader);

    // ---- keys -----------------------------------------------------------------------------------
    // Appends a key; returns its index, or -1 for a rectangle that is
    // inverted or lies far outside any keyboard (the key is skipped).
    int AddKeyItem(const wchar_t* name, const wchar_t* description, int keyCode, CRect rect, const wchar_t* iconFile,
                   COLORREF colour);
    void ClearItem();
    // Copies of the keys in list order, taken under the lock; a copy carries
    // no icon (the icon stays with the picture's record).
    std::vector<KEY_INFO> GetKeyItems();
    int GetKeyCount();
    // The window-client rectangle of the first key with that code, or empty.
    CRect GetKeyRect(int keyCode);
    // The code of the first key under the window-client point, 0 for none.
    int GetKeyCodeByPoint(CPoint pt);
    // Moves the hover to the key under the point while a function is dragged.
    void DragMove(CPoint pt);
    void SetKeyItemInfo(int keyCode, const wchar_t* name, int type, const wchar_t* tip);
    void SetTipKey(int keyCode, const wchar_t* tip1, const wchar_t* tip2);
    void ResetTipKey();
    void SetKeyDesc(int keyCode, const wchar_t* text);
    void SetCurrentKeyValue(int keyCode);
    void EnterCriSec() { m_itemLock.Lock(); }
    void LeaveCriSec() { m_itemLock.Unlock(); }

    // ---- checks and colours -----------------------------------------------------------------
    void SetKeyCheck(int keyCode, int value);
    void ResetAllItemCheck();
    void ResetAllItemCheck(int value);
    int GetCheckItemCount();
    // No repaint: callers follow with UpdateControl.
    void SetKeyColor(int keyCode, COLORREF colour);
    // The colours of every key in list order.
    std::vector<KEY_COLOR> GetKeyColors();
    // For each entry the first key with that code takes the colour, all under
    // one lock; one repaint follows when visible and a colour changed.
    void SetKeyColors(const std::vector<KEY_COLOR>& colours);
    void SetAllSelectColor(COLORREF colour);
    COLORREF GetSelectColor() const { return m_selectColor; }
    void ResetAllItemsColor(COLORREF colour);
    // 0 colours every key; any other first argument changes nothing.
    void SetLightModeColor(int colourful, COLORREF colour);

    // Shows (or hides) the key tip of a key above rect; only while key tips
    // are on.
    void SetTips(const KEY_INFO* key, CRect rect, bool show);

private:
    // The key's rectangle in window-client coordinates.
    CRect ClientRectOf(const KEY_INFO& key) const;
    // Index of the first key under the point, -1 for none; lock held.
    int HitTest(CPoint pt) const;
    KEY_INFO* FindKey(int keyCode);
    bool IsKeyIndex(int index) const { return index >= 0 && index < static_cast<int>(m_keys.size()); }
    enum HoverChange
    {
        HOVER_KEPT,   // the point is still in the hovered key
        HOVER_SAME,   // looked again and found the same (or no) key
        HOVER_MOVED,  // the hover changed
    };
    HoverChange TrackHover(CPoint pt);
    void ShowHoverTip();
    void RecomputeBandChecks();
    void ClearBand();
    bool IsCtrlHeld() const;
    void RequestRepaint();
    void FreeKeys();

    // Copies of the records for one paint, taken under the lock; they keep
    // the records' icons, which only the painting thread frees.
    std::vector<KEY_INFO> PaintCopies();
    void PaintKeys(int width, int height);
    // Puts the panel image over the surface's pixels, from the kept
    // backdrop when what lies beneath has not changed.
    void PaintBackdrop(int width, int height);
    void DrawKeys(Gdiplus::Graphics& graphics, const std::vector<KEY_INFO>& keys);
    void DrawCustomKeys(Gdiplus::Graphics& graphics, const std::vector<KEY_INFO>& keys, int width, int height);
    void DrawNameAndIcon(Gdiplus::Graphics& graphics, const KEY_INFO& key, const Gdiplus::RectF& box,
                         const Gdiplus::Font& font);
    // The lit keys blended from their measured tiles; false when they could
    // not be measured and must be drawn.
    bool ComposeLitKeys(const std::vector<KEY_INFO>& keys);
    bool IsHighlighted(int index, const KEY_INFO& key) const;

    std::vector<KEY_INFO*> m_keys;
    // The drawn picture, kept until a repaint is asked for.
    std::unique_ptr<LayeredCanvas> m_surface;
    // The panel image drawn over what lay beneath the picture, with what lay
    // beneath: while that stays the same, a repaint copies the pixels
    // instead of scaling the image again.
    std::vector<uint32_t> m_beneath;
    std::vector<uint32_t> m_backdrop;
    // The lit keys' tiles and the layout they were measured for.
    std::unique_ptr<LitKeyCache> m_litCache;
    CriticalSection m_itemLock;
    int m_currentKeyValue;
    bool m_tipsOn;
    int m_hover;
    int m_selected;
    std::unique_ptr<Gdiplus::Image> m_keyboardImage;
    int m_mode;
    int m_offsetX;
    int m_offsetY;
    int m_layoutWidth;
    int m_layoutHeight;
    int m_subKeysShown;
    int m_frameSelect;
    int m_bandActive;
    CPoint m_bandStart;
    CPoint m_bandEnd;
    COLORREF m_selectColor;
    Gdiplus::ARGB m_keyboardColor;
    // Set by a timer tick; a hover change then asks for no repaint.
    int m_timerFlag;
    CKeyboardTips* m_tips;
    int m_tipKey;
    CtrlKeyState m_ctrlKeyState;
};

} // namespace VREL

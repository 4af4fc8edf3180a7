#pragma once

// Two widgets for testing keys; neither reports to its owner.
//
// CKeyTestCtrl shows the keys held down as a grid of 50 x 50 tiles, newest
// first. A released key starts to fade (RemoveKey) and disappears after 41
// ticks of the control's timer hook; without ticks it stays. Only the tiles
// that fit above the bottom margin are drawn.
//
// KeyboardTestCtrl is a keyboard picture filled by its caller, key by key,
// whose keys each show a test state: untested, 1 (red marking) or 2 (green
// marking). The layout is centred in the control once its size is known.

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API CKeyTestCtrl : public MControlFont
{
public:
    struct KEY_TEST_ITEM
    {
        CString name;
        int code = 0;
        // 255 while the key is held, counting down after its release.
        int level = 0;
        // Control coordinates, set by each painting.
        CRect rect;
    };

    enum : int { kHeldLevel = 255 };

    CKeyTestCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CKeyTestCtrl() override;

    void DrawControl(HDC& dc, CRect paint) override;
    // One fade step of the released keys; 1 when the control ticked.
    int OnControlTimer() override;

    void AddKey(CString name, int code);
    // The oldest held tile of that code starts to fade; no repaint.
    void RemoveKey(int code);
    void ClearList();
    // Fills the rectangle and outlines it inside with a 1-pixel pen.
    static void DrawRectange(Gdiplus::Graphics& graphics, int x, int y, int w, int h, Gdiplus::Color border,
                             Gdiplus::Color fill);

    int GetItemCount();
    // A copy of the record at index (list order, oldest first).
    KEY_TEST_ITEM GetItem(int index);

private:
    std::vector<std::unique_ptr<KEY_TEST_ITEM>> m_items;
    CriticalSection m_itemLock;
};

class VREL_API KeyboardTestCtrl : public MPanel
{
public:
    enum TestState
    {
        KEY_UNTESTED = 0,
        KEY_STATE_1 = 1,
        KEY_STATE_2 = 2,
    };

    struct KEY_TEST_STATE_ITEM
    {
        int index = 0;
        int code = 0;
        CString name;
        std::unique_ptr<Gdiplus::Image> icon;
        int iconWidth = 0;
        int iconHeight = 0;
        int state = KEY_UNTESTED;
        // Layout coordinates.
        CRect rect;
    };

    KeyboardTestCtrl(MObject* owner, UINT id, CRect rect, int visible);
    ~KeyboardTestCtrl() override;

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect paint) override;
    // Re-centres the layout once both its sizes are known.
    void SetControlRect(CRect rect) override;

    // Without the lock: keys are added while nothing else uses the control.
    // The icon is a file below the skin folder; returns the key's index.
    int AddKeyItem(CString name, int code, CString iconFile, CRect rect);
    void SetKeyState(int code, int state);
    void ResetKeyState();
    void ClearItem();
    void SetWidthAndHeight(int width, int height);
    // A layout rectangle moved by the draw offset.
    CRect GetRealRect(CRect rect) const;
    CPoint GetDrawOffset() const { return CPoint(m_offsetX, m_offsetY); }
    int GetKeyState(int code);
    int GetItemCount();
    // Fills the rectangle, a grey top bar of barHeight when above 0, outlines
    // it inside with a 2-pixel pen and with corner marks its top-right corner.
    static void DrawRectange(Gdiplus::Graphics& graphics, int x, int y, int w, int h, Gdiplus::Color pen,
                             Gdiplus::Color fill, bool corner, int barHeight);

private:
    void Recentre();

    std::vector<std::unique_ptr<KEY_TEST_STATE_ITEM>> m_items;
    CriticalSection m_itemLock;
    int m_offsetX;
    int m_offsetY;
    int m_layoutWidth;
    int m_layoutHeight;
};

} // namespace VREL

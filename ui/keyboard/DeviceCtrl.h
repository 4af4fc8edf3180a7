#pragma once

// The device tile and the device strip.
//
// CDeviceCtrl is a clickable tile with a device picture and a title, in a
// tile look (title underneath) or a row look (picture at the left, filled
// with the back colour). While its device status is 0 (not connected) the
// title is grey and the tile ignores the mouse. A press reports NC_PRESSED
// and a release inside NC_CLICKED. The tile caches two frames side by side,
// normal and hover/pressed (drawn one pixel right and down), so hover and
// press only change which frame is copied out.
//
// CDeviceList is a horizontal strip of device tiles drawn by one control:
// only connected devices get a tile, hovered or selected tiles show their
// second picture and an outline in the hover colour, and a release over a
// connected tile selects it and reports NC_CLICKED. The wheel scrolls the
// strip when its tiles do not fit.

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

class VREL_API CDeviceCtrl : public MControlFont
{
public:
    enum TileState
    {
        TILE_NORMAL = 0,
        TILE_HOVER = 1,
        TILE_PRESSED = 2,
    };

    CDeviceCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CDeviceCtrl() override;

    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    using MControlFont::SetImage;
    // The picture from the path as given (not below the skin folder); a
    // frame count below 1 is taken as 1. 0 and no picture when it does not
    // load.
    int SetImage(const wchar_t* file, int count) override;

    // Fill of the row look; no repaint.
    void SetBackColor(Gdiplus::Color colour) { m_backColor = colour; }
    Gdiplus::Color GetBackColor() const { return m_backColor; }
    // 0: not connected.
    void SetDeviceStatus(int status);
    int GetDeviceStatus() const { return m_deviceStatus; }
    // 0 tile look, any other value row look.
    void SetShowMode(int mode);
    int GetShowMode() const { return m_showMode; }
    int GetState() const { return m_state; }

private:
    // Reports the state change with a repaint that keeps the cached frames.
    void ShowState(int before);

    int m_state;
    Gdiplus::Color m_backColor;
    int m_deviceStatus;
    int m_showMode;
    std::unique_ptr<Gdiplus::Image> m_picture;
};

class VREL_API CDeviceList : public MPanel
{
public:
    struct DEVICE_ITEM
    {
        CString name;
        int id = 0;
        // Above 0: connected.
        int state = 0;
        std::unique_ptr<Gdiplus::Image> image;
        int imageWidth = 0;
        int imageHeight = 0;
        // Shown while the tile is selected or hovered.
        std::unique_ptr<Gdiplus::Image> selectImage;
        int selectWidth = 0;
        int selectHeight = 0;
        // Control coordinates, set by each painting; empty while the device
        // has no tile.
        CRect rect;
    };

    CDeviceList(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CDeviceList() override;

    void DrawControl(HDC& dc, CRect paint) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // Stores the rectangle only.
    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;

    // A record in state 0 with both pictures loaded from the paths as
    // given; returns its index.
    int AddDevice(CString name, int id, CString image, CString selectImage);
    void ClearList();
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // The first record with the id; 0 or nothing when there is none.
    int GetDeviceState(int id);
    void SetDeviceState(int id, int state);
    void SetAllDeviceState(int state);
    // The first connected record with the id, else the first connected one,
    // else none (-1).
    void SetSelectDevice(int id);
    // The selected record's id (a selection of none becomes the first
    // record); 0 for an empty list.
    int GetSelectDevice();
    int GetSelectItem() const { return m_selected; }
    int GetHoverItem() const { return m_hover; }
    CRect GetItemRect(int index);
    // Where an image of that size is drawn in box: shrunk to fit with its
    // aspect kept, and centred.
    static CRect GetImageRect(int width, int height, CRect box);

private:
    void Repaint();
    int HitTest(CPoint pt) const;
    // The strip's full width and how far it is scrolled, in pixels.
    int StripWidth() const;
    int PixelOffset() const;

    std::vector<std::unique_ptr<DEVICE_ITEM>> m_items;
    CriticalSection m_itemLock;
    int m_hover;
    int m_selected;
    int m_scrollOffset;
    int m_tileWidth;
};

} // namespace VREL

#pragma once

// Two widgets for device pages.
//
// DPIControl is one selectable sensitivity stage: a framed card with a title,
// the stage's value, a check box (child 30) and a colour button (child 31).
// Cards with equal group names behave like radio buttons: pressing a card
// checks it and unchecks the others. It is constructed directly (no factory
// knows it). Its children's notifications reach the owner twice: first as
// the card's own (lParam 1 for the check box, 2 for the colour button), then
// unchanged.
//
// BatteryCtrl shows a battery body with a fill proportional to the charge,
// and the percentage, or a charging icon while charging. While charging the
// fill climbs from the charge to full and starts again, driven by the
// window's multimedia tick, for which the control registers when bound and
// which it leaves when destroyed.

#include <windows.h>
#include <gdiplus.h>

#include <atomic>
#include <memory>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class CCheckButton;
class CColorButton;

class VREL_API DPIControl : public MPanel
{
public:
    enum : UINT
    {
        kCheckBoxId = 30,
        kColorButtonId = 31,
    };

    DPIControl(MObject* owner, UINT id, CRect rect, int visible);
    ~DPIControl() override;

    const wchar_t* GetClassNameW() const override;
    // Creates the check box and the colour button (once).
    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect paint) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

    int GetCheck() const { return m_checked; }
    // Leaves the rest of the group alone; returns 1.
    int SetCheck(int check);
    // Unchecks the other checked cards of the group; 0 without an owner.
    int ResetGroupCheck();
    int GetDPIValue() const { return m_dpiValue; }
    void SetDPIValue(int value);
    COLORREF GetColor() const { return m_color; }
    // Also shown by the colour button.
    void SetColor(COLORREF colour);
    CString GetGroupName() const { return m_groupName; }
    void SetGroupName(const wchar_t* name);

    CCheckButton* GetCheckBox() const { return m_pCheckBox; }
    CColorButton* GetColorButton() const { return m_pColorButton; }

private:
    void PlaceChild(MControl* child, CRect target);

    CCheckButton* m_pCheckBox;
    CColorButton* m_pColorButton;
    int m_checked;
    int m_dpiValue;
    COLORREF m_color;
    CString m_groupName;
};

class VREL_API BatteryCtrl : public MControlFont
{
public:
    BatteryCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~BatteryCtrl() override;

    // Registers for the window's multimedia tick.
    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect paint) override;
    // One step of the charging fill.
    int OnControlTimer() override;
    using MControlFont::SetImage;
    // The battery body, below the skin folder; the count is not used. 0 and
    // no body when it does not load.
    int SetImage(const wchar_t* file, int count) override;

    // The fill (drawn in part) and the charging icon, below the skin folder.
    int SetBatteryIcon(CString levelFile, CString chargingFile);
    // Repaints when either value changed.
    void SetBatteryInfo(int percent, int charging);
    int GetPercent() const { return m_percent; }
    int IsCharging() const { return m_charging; }
    int GetChargingLevel() const { return m_chargingLevel.load(); }

private:
    struct Picture
    {
        std::unique_ptr<Gdiplus::Image> image;
        int width = 0;
        int height = 0;
    };
    static void Load(Picture& picture, const CString& file);

    Picture m_body;
    Picture m_level;
    Picture m_chargingIcon;
    int m_percent;
    int m_charging;
    // The fill shown while charging, stepped by the multimedia tick.
    std::atomic<int> m_chargingLevel;
    int m_ticks;
    // The paint manager whose tick list holds the control.
    PaintManager* m_pTickManager;
};

} // namespace VREL

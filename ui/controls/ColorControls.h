#pragma once

// The colour pickers. Each keeps its own colour; colours cross as COLORREF
// (0x00BBGGRR). Code 27 (NC_COLOR) reports a colour, code 2 a finished pick.
//
//   MPalette       hue x lightness field with a saturation bar (HSL model)
//   CColorPalette  a panel: MPalette, eight preset swatches, the selected
//                  colour's swatch, R, G, B spin boxes and a hexadecimal
//                  field, kept in step
//   CColorSelect   a panel with a column of seven preset swatches
//   CirclePalette  a colour wheel with a ring thumb
//   ColorView      a grid of 48 rounded swatches

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/framework/KeptCells.h"
#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class CColorButton;
class MEdit;
class MSpinButton;
class MText;
struct ImgResInfo;

// ---------------------------------------------------------------------------------------------
// The field shows hue across (0 to 360 degrees) and lightness down (20 to 199
// of 200); the bar beside it shows saturation (0 to 200) for the current hue
// and lightness. A press that changes the colour reports (id, 27, colour, 0);
// every drag step reports (id, 27, 0, 0); the release reports nothing.
class VREL_API MPalette : public MControlFont
{
public:
    MPalette(MObject* owner, UINT id, CRect rect, int visible);
    ~MPalette() override;

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect paint) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void SetControlRect(CRect rect) override;
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    // Swallows the wheel.
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;

    COLORREF GetSelectColor() const;
    // No report.
    void SetSelectColor(COLORREF colour);
    // The saturation thumb: a four-frame strip of the skin folder, frame 0
    // drawn. Returns 0.
    int SetThumbImage(const wchar_t* file);
    // Height of the field and the bar; they take it at the next
    // SetControlRect.
    void SetPalletHeight(int height);
    int GetPalletHeight() const { return m_palletHeight; }

    int GetHue() const { return m_hue; }
    int GetSaturation() const { return m_saturation; }
    int GetLightness() const { return m_lightness; }
    CPoint GetThumbPos() const { return m_thumb; }
    CRect GetFieldRect() const { return m_fieldRect; }
    CRect GetBarRect() const { return m_barRect; }
    CSize GetThumbSize() const { return CSize(m_thumbWidth, m_thumbHeight); }

private:
    // The stretched field, made when missing or when the field's size changed.
    HDC FieldPicture(HDC reference);
    void FreeFieldPicture();
    void Layout();
    void PlaceThumb();
    // Field and bar pixels of the model, kept in a 32-bit bitmap and
    // stretched onto the screen when drawn.
    bool CreateData();
    void FreeData();
    void UpdatePaletteData();
    void UpdateBarData();
    void PutPixel(int x, int y, COLORREF colour);
    void TakeFieldPoint(CPoint pt);
    void TakeBarPoint(CPoint pt);
    void Repaint();

    int m_hue;
    int m_saturation;
    int m_lightness;
    COLORREF m_lastColour;
    int m_palletHeight;
    int m_barWidth;
    CRect m_fieldRect;
    CRect m_barRect;
    CPoint m_thumb;
    std::unique_ptr<Gdiplus::Image> m_pThumbImage;
    int m_thumbWidth;
    int m_thumbHeight;
    bool m_bFieldDrag;
    bool m_bBarDrag;
    HDC m_hDataDC;
    HBITMAP m_hDataBitmap;
    HGDIOBJ m_hDataOld;
    BYTE* m_pData;
    // The field stretched to its place, made once per size: only the bar
    // and the thumb change while the thumb is dragged.
    HDC m_hFieldDC;
    HBITMAP m_hFieldBitmap;
    HGDIOBJ m_hFieldOld;
    CSize m_fieldSize;
    KeptCells m_kept;
};

// ---------------------------------------------------------------------------------------------
// What the two picker panels below share. The panel draws nothing of its own:
// it shows what lies under it, its children drawn over that. A new rectangle
// lays the children out again; the enabled flag is passed on to each child
// that has another one, which then repaints; the pointer is taken while the
// panel is enabled and the wheel always, so that nothing under it reacts.
class VREL_API CColorPanelBase : public MPanel
{
public:
    void DrawControl(HDC& dc, CRect paint) override;
    void SetControlRect(CRect rect) override;
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;

protected:
    CColorPanelBase(MObject* owner, UINT id, CRect rect, int visible);

    // The rectangles of the children for a panel rectangle.
    virtual void PlaceChildren(const CRect& rect) = 0;
    // The children that take the panel's enabled flag, in that order.
    virtual std::vector<MControl*> EnabledChildren() const = 0;
};

// ---------------------------------------------------------------------------------------------
// The full colour picker. Its children's reports keep the others in step:
// a colour from the field, the spin boxes, the swatches or the hexadecimal
// field reaches the rest and is reported as (panel id, 27, 0, colour); the
// children's own reports are passed on to the owner, except the field's and
// a hexadecimal text that is not six characters long.
class VREL_API CColorPalette : public CColorPanelBase
{
public:
    static constexpr UINT kFirstPreset = 631;
    static constexpr int kPresetCount = 8;
    static constexpr UINT kPaletteId = 620;
    static constexpr UINT kSelectedSwatchId = 622;
    static constexpr UINT kFirstLabelId = 650;
    static constexpr UINT kRedSpinId = 654;
    static constexpr UINT kGreenSpinId = 655;
    static constexpr UINT kBlueSpinId = 656;
    static constexpr UINT kHexEditId = 657;

    CColorPalette(MObject* owner, UINT id, CRect rect, int visible);
    ~CColorPalette() override;

    using MPanel::SetImage;

    void InitControl(PaintManager* manager) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // The labels, the spin boxes and the hexadecimal field take it.
    void SetTextColor(Gdiplus::Color colour) override;
    // The spin boxes and the hexadecimal field take the strip. Returns 1.
    int SetImage(const wchar_t* file, int count) override;

    // The field's colour; 0 before the panel is bound.
    COLORREF GetSelectColor() const;
    // Given to the field only: no report, the other children keep theirs.
    void SetSelectColor(COLORREF colour);
    int SetThumbImage(const wchar_t* file);
    // Repaints the panel and every visible child.
    void UpdateControlEx(int redraw);

    MPalette* GetPalette() const { return m_pPalette; }
    CColorButton* GetSelectedSwatch() const { return m_pSwatch; }
    CColorButton* GetPreset(int index) const;
    MSpinButton* GetSpin(int channel) const;
    MEdit* GetHexEdit() const { return m_pHexEdit; }

protected:
    void PlaceChildren(const CRect& rect) override;
    std::vector<MControl*> EnabledChildren() const override;

private:
    void SetSelItemColor(COLORREF colour);
    void ShowColour(COLORREF colour, bool toPalette, bool toHex);
    void WriteHexText(COLORREF colour);
    COLORREF SpinColour() const;

    MPalette* m_pPalette;
    CColorButton* m_pSwatch;
    CColorButton* m_pPresets[kPresetCount];
    MText* m_pLabels[4];
    MSpinButton* m_pSpins[3];
    MEdit* m_pHexEdit;
};

// ---------------------------------------------------------------------------------------------
// A column of seven preset swatches; pressing one reports (panel id, 27,
// index, colour) before the swatch's own report is passed on.
class VREL_API CColorSelect : public CColorPanelBase
{
public:
    static constexpr UINT kFirstSwatch = 631;
    static constexpr int kSwatchCount = 7;

    CColorSelect(MObject* owner, UINT id, CRect rect, int visible);
    ~CColorSelect() override;

    void InitControl(PaintManager* manager) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;

    // 0 to 6 checks that swatch (its group follows), -1 unchecks all seven,
    // anything else does nothing.
    void SetColorIndex(int index);
    COLORREF GetSelectColor() const { return 0; }
    void SetSelectColor(COLORREF) {}
    CColorButton* GetSwatch(int index) const;

protected:
    void PlaceChildren(const CRect& rect) override;
    std::vector<MControl*> EnabledChildren() const override;

private:
    CColorButton* m_pSwatches[kSwatchCount];
};

// ---------------------------------------------------------------------------------------------
// A colour wheel image stretched over the control with a small ring thumb.
// Points up to 80 pixels from the centre pick the wheel's colour there:
// each thumb move reports (id, 27, 0, colour) and the release (id, 2, 0,
// colour).
class VREL_API CirclePalette : public MControlFont
{
public:
    CirclePalette(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CirclePalette() override;

    void DrawControl(HDC& dc, CRect paint) override;
    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    // The wheel through the window's image cache; 0 without a paint manager
    // or when the image does not load.
    int SetImage(UINT id, CString type, int count) override;
    int SetImage(const wchar_t* file, int count) override;

    int MoveThumbPos(CPoint pt);
    // Distance from the control's centre, truncated.
    int GetDistanse(CPoint pt) const;
    COLORREF GetSelectColor() const { return m_colour; }
    // Takes a colour chosen elsewhere (a swatch, typed numbers): it becomes
    // the selected colour and the thumb moves to the wheel's point nearest
    // to its hue and saturation (its brightness aside: the wheel is all at
    // full brightness). Repaints; reports nothing.
    void SetSelectColor(COLORREF colour);
    CRect GetThumbRect() const { return m_thumb; }
    // 0 idle, 1 pointer on the thumb, 2 dragging.
    int GetState() const { return m_state; }

private:
    int TakeWheel(const ImgResInfo* info, int count);
    // The wheel's colour where the point lies on the stretched image.
    bool SampleWheel(CPoint pt, COLORREF& colour) const;
    // The control point on the wheel whose colour lies nearest to the
    // colour at full brightness; false without a wheel.
    bool NearestWheelPoint(COLORREF colour, CPoint& point) const;

    COLORREF m_colour;
    CRect m_thumb;
    CPoint m_lastPoint;
    int m_state;
    // The wheel's pixels (0xAARRGGBB, rows top to bottom), read when the
    // image is set.
    std::vector<uint32_t> m_wheel;
    int m_wheelWidth;
    int m_wheelHeight;
};

// ---------------------------------------------------------------------------------------------
// A fixed grid of rounded swatches; releasing the button on one selects it
// and reports (id, 2, 0, 0); the owner reads GetSelectColor.
class VREL_API ColorView : public MControlFont
{
public:
    struct Swatch
    {
        Gdiplus::ARGB colour;
        // Relative to the view's top-left corner.
        CRect rect;
    };

    ColorView(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~ColorView() override;

    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

    // Appends the 48 swatches (a second call appends them again).
    void InitColorView();
    void ClearAllItem();
    // The selected colour, COLORREF.
    int GetSelectColor() const { return static_cast<int>(m_colour); }
    int GetItemCount();
    int GetHoverIndex() const { return m_hover; }
    int GetSelectIndex() const { return m_selected; }

private:
    // The look with no swatch marked, rendered once and copied under each
    // render: a hover only draws the marked swatches again.
    void RenderPlainLook(HDC reference, int width, int height);
    void FreePlainLook();
    void DrawSwatch(Gdiplus::Graphics& graphics, const Swatch& swatch, int dx, bool marked);

    std::vector<std::unique_ptr<Swatch>> m_items;
    CriticalSection m_lock;
    int m_hover;
    int m_selected;
    COLORREF m_colour;
    HDC m_hPlainDC;
    HBITMAP m_hPlainBitmap;
    HGDIOBJ m_hPlainOld;
    CSize m_plainSize;
    bool m_bPlainValid;
};

} // namespace VREL

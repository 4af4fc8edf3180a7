#pragma once

// The push buttons: windowless controls that report a click to their owner
// (NC_PRESSED on the press, NC_CLICKED on a release inside). Each renders all
// of its looks once as cells side by side (normal, hover, pressed, disabled)
// and then switches between them with repaint requests of redraw 0; changes
// of content (title, colours, images, progress, badge, countdown, focus look)
// request redraw 1 so that the cells are rendered again. A button asks for
// nothing while it is hidden.
//
// Skin strips come from the window's image cache and are not owned; an icon
// strip loaded with SetIconImage belongs to the button.
//
// The pointer behaviour they share lives in MPushButtonBase: a button is
// hovered (1) while the pointer is over it, held (2) from a press inside until
// the release, and disabled (3) while its enabled flag is clear. While held it
// ignores moves, so the pressed look stays when the pointer leaves, and a
// release outside cancels the click. Each change of state is followed by a
// repaint request with redraw 0: the cached cells stay valid.

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "ui/framework/KeptCells.h"
#include "ui/framework/AirBladderTypes.h"
#include "ui/framework/ButtonState.h"
#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

struct StateCell;

// The pointer input of the push buttons (above) and of the colour swatch
// CColorButton: NC_PRESSED for a press inside an enabled button, NC_CLICKED
// for a release inside after it.
class VREL_API MPushButtonBase : public MControlFont
{
public:
    // Stores the flag; the state becomes normal or disabled.
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

protected:
    // Whether the button notifies a click before or after its repaint
    // request; before means the owner still sees the pressed state.
    enum ClickOrder
    {
        REPAINT_THEN_NOTIFY,
        NOTIFY_THEN_REPAINT,
    };

    MPushButtonBase(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled,
                    ClickOrder order, bool handCursor);

    // Run just before NC_PRESSED and NC_CLICKED are sent.
    virtual void BeforePress() {}
    virtual void BeforeClick() {}

    BUTTON_STATE m_state;
    // Which of the pointer events set the cursor: the hand over the button
    // and the arrow elsewhere.
    bool m_cursorOnMove;
    bool m_cursorOnDown;
    // Whether a change of state by the pointer alone (over, away, a release
    // that is no click) requests a repaint; a press and a click always do.
    bool m_pointerRepaints;

private:
    ClickOrder m_clickOrder;
};

// A skinned button: a nine-grid frame of the strip per state and a centred
// title. MButton2, DownloadButton and CIconButton build on its fields.
class VREL_API MButton : public MPushButtonBase
{
public:
    MButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
    ~MButton() override;

    // Loads an icon strip of count frames from the skin folder; 0 (and no
    // icon) when the file does not load. Requests no repaint.
    int SetIconImage(const wchar_t* name, int count);
    // Corner size of the nine-grid drawing; no repaint.
    void SetFrameSize(int size) { m_frameSize = size; }
    // Box of the title inside the button; empty centres it in the button.
    void SetTextRect(CRect rect) { m_textRect = rect; }

    void DrawControl(HDC& dc, CRect paint) override;

protected:
    // Skin frame of the cell as a nine-grid over the whole cell.
    void DrawSkinCell(const StateCell& cell, int frame) const;
    // The title in the cell: layout is the cell-relative box; pressed cells
    // shift it by one pixel; colour by the caller.
    void DrawTitleCell(const StateCell& cell, const Gdiplus::Font& font, const Gdiplus::RectF& layout,
                       Gdiplus::Color colour) const;
    // The cell-relative box of the title: the text rectangle, or the whole
    // cell when it is empty.
    Gdiplus::RectF TitleBox(const StateCell& cell) const;

    int m_frameSize;
    std::unique_ptr<Gdiplus::Image> m_pIcon;
    int m_iconFrameWidth;
    int m_iconHeight;
    int m_iconFrameCount;
    CRect m_textRect;
};

// MButton with a 10 x 10 icon at the left edge.
class VREL_API MButton2 : public MButton
{
public:
    MButton2(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    void DrawControl(HDC& dc, CRect paint) override;
};

// A centred icon (frame 0 of the strip) with a rounded frame on hover and
// press. Space presses and clicks it while it has the key focus.
class VREL_API MImageButton : public MPushButtonBase
{
public:
    MImageButton(MObject* owner, UINT id, CRect rect, int visible, int enabled);

    void SetHoverColor(Gdiplus::Color fill, Gdiplus::Color frame);
    void SetDownColor(Gdiplus::Color fill, Gdiplus::Color frame);

    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifiers) override;

protected:
    CRect m_imageRect;
    Gdiplus::Color m_hoverFill;
    Gdiplus::Color m_hoverFrame;
    Gdiplus::Color m_downFill;
    Gdiplus::Color m_downFrame;
};

// An image per state (a strip of several frames), or one image with a
// rounded frame on hover and press. The title is shown only as a balloon.
class VREL_API CImageButton : public MButton
{
public:
    CImageButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    // 0 turns the balloon off.
    void SetAlrBladderMode(AIRBLADDER_MODE mode) { m_balloonMode = mode; }

    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;

protected:
    AIRBLADDER_MODE m_balloonMode;
    KeptCells m_kept;
};

// Text only, in a colour per state. It notifies a click while it still shows
// its pressed look.
class VREL_API CTextButton : public MPushButtonBase
{
public:
    CTextButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
    ~CTextButton() override;

    // normal becomes the text colour; requests a content repaint.
    void SetTextButtonColor(Gdiplus::Color normal, Gdiplus::Color hover, Gdiplus::Color down,
                            Gdiplus::Color disabled);

    void DrawControl(HDC& dc, CRect paint) override;

protected:
    LookTextColours m_lookColours;

private:
    // The font, format and measured place of the title, kept between
    // renders while title, font and size stay the same.
    struct TextLayout;
    std::unique_ptr<TextLayout> m_pLayout;
};

// A skinned button with a red badge "1" while an upgrade is waiting.
class VREL_API UpgradeButton : public MPushButtonBase
{
public:
    UpgradeButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    // A changed status requests a content repaint; non-zero shows the badge.
    void SetUpgradeStatus(int status);
    int GetUpgradeStatus() const { return m_upgradeStatus; }

    void DrawControl(HDC& dc, CRect paint) override;

protected:
    int m_frameSize;
    int m_upgradeStatus;
};

// A skinned button that turns into a progress bar showing "NN%" while a
// download runs (progress above 0).
class VREL_API DownloadButton : public MButton
{
public:
    DownloadButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    // A changed value requests a content repaint.
    void SetDownloadProcess(int percent);

    void DrawControl(HDC& dc, CRect paint) override;

protected:
    int m_downloadProgress;
};

// Skin, icon and title in rectangles of their own, a text colour per state.
class VREL_API CIconButton : public MButton
{
public:
    CIconButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    // Boxes of the title and of the icon inside the button; no repaint.
    void SetTextRect(CRect text, CRect icon);
    // normal becomes the text colour; no repaint.
    void SetTextButtonColor(Gdiplus::Color normal, Gdiplus::Color hover, Gdiplus::Color down,
                            Gdiplus::Color disabled);

    void DrawControl(HDC& dc, CRect paint) override;

protected:
    CRect m_iconRect;
    LookTextColours m_lookColours;
};

// A skinned button that clicks itself ten seconds after SetRun(1), showing
// the seconds left after its title. It needs ticks: from an owner control's
// OnTimer or from the window's multimedia tick.
class VREL_API CTimerButton : public MPushButtonBase
{
public:
    CTimerButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    // Corner size of the nine-grid drawing; no repaint.
    void SetFrameSize(int size) { m_frameSize = size; }
    // Starts (1) or stops (0) the countdown; ignored while disabled, when the
    // running flag is returned unchanged.
    int SetRun(int run);

    void DrawControl(HDC& dc, CRect paint) override;
    int SetControlFocus(int focus) override;
    int OnControlTimer() override;

protected:
    // A click ends the run before the owner hears of it.
    void BeforeClick() override;
    // The tick count the countdown runs on (GetTickCount).
    virtual DWORD CurrentTick() const;
    // The title, followed by the seconds left while running.
    CString CountdownText();

    int m_frameSize;
    DWORD m_startTick;
    DWORD m_lastRepaintTick;
    int m_running;

private:
    // Ticks arrive on the multimedia-timer thread while SetRun and clicks
    // come from the window's thread.
    CriticalSection m_runLock;
};

// One image stretched over the control that shows its title in a balloon
// while the pointer is over it. It has no states and sends nothing.
class VREL_API CHelpButton : public MControlFont
{
public:
    CHelpButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    void SetAirbladderMode(AIRBLADDER_MODE mode) { m_balloonMode = mode; }

    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;

protected:
    BUTTON_STATE m_state;
    AIRBLADDER_MODE m_balloonMode;
};

} // namespace VREL

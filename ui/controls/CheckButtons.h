#pragma once

// The buttons that hold a check: the check boxes (CCheckButton,
// TextCheckButton), the radio kinds (CRadioButton, CRadioButton2,
// KeyLayerButton), the four-cell selector CSelectButton, the colour swatch
// CColorButton and the on/off switch CSwitchButton.
//
// They paint like the push buttons: every look is rendered once as a cell
// (eight for the check and radio kinds: the four push looks, then the same
// four checked) and switched with repaint requests of redraw 0; changes of
// content (the switch's press and check, the swatch colour, the focus flag)
// request redraw 1.
//
// Groups: the radio kinds, the selector and the swatch uncheck the other
// members of their group when they become checked (and when SetCheck
// unchecks them). A group is the set of controls with one owner, the same
// class name and the same group name (compared exactly). No member notifies
// because of a group reset. Value setters never notify.

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "ui/framework/KeptCells.h"
#include "ui/controls/PushButtons.h"
#include "ui/framework/ButtonState.h"
#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

struct ImgResInfo;
struct StateCell;

// A check box: a frame of the strip per look at the left, the title beside
// it. Space toggles it while its focus flag is set.
class VREL_API CCheckButton : public MControlFont
{
public:
    CCheckButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    int GetCheck() const { return m_check; }
    // Stores the value as given (any non-zero value counts as checked);
    // ignored while disabled. Returns the check.
    virtual int SetCheck(int check);

    void DrawControl(HDC& dc, CRect paint) override;
    int SetControlFocus(int focus) override;
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifiers) override;
    // The strip from the window's image cache; no repaint, so a new strip
    // shows with the next content repaint. 0 without a window's paint
    // manager or when the image does not load.
    int SetImage(UINT id, CString type, int count) override;
    int SetImage(const wchar_t* file, int count) override;

protected:
    // Where the pointer is for a look: away, over the button, holding it
    // down, or the button is disabled.
    enum PointerLook
    {
        LOOK_IDLE = 0,
        LOOK_HOVER = 1,
        LOOK_HELD = 2,
        LOOK_DISABLED = 3,
    };

    // The cell of a pointer look with the current check.
    virtual BUTTON_STATE Look(PointerLook look) const;
    virtual int CellCount() const;
    // The check a click or Space gives: the other one for a check box.
    virtual int ToggledCheck() const;
    // After a click, or a value set that changed the check.
    virtual void AfterCheckSet() {}
    // A release inside after a press on the button: the toggled check,
    // then NC_CLICKED.
    virtual void OnClick();
    // Space with no modifier while the focus flag is set: SetCheck with the
    // toggled check, then NC_CHECK_CHANGED with the check.
    virtual void OnSpaceKey();

    // Takes the state; a change requests a repaint with redraw 0. Returns 1
    // when it changed.
    int ChangeState(BUTTON_STATE state);
    // Strip frame [cell] at its natural size, centred vertically.
    void DrawStripCell(const StateCell& cell) const;
    // The title after the strip frame, left-aligned and vertically centred.
    void DrawTitleBesideStrip(const StateCell& cell, const Gdiplus::Font& font, Gdiplus::Color colour) const;
    // The title measured and placed by the alignments after the strip frame.
    void DrawAlignedTitleBesideStrip(const StateCell& cell, const Gdiplus::Font& font, Gdiplus::Color colour) const;
    using TitleBesideStrip = void (CCheckButton::*)(const StateCell&, const Gdiplus::Font&, Gdiplus::Color) const;
    // Every cell: the strip frame, then the title placed by place, in grey
    // in the two disabled cells.
    void DrawStripWithTitle(HDC& dc, TitleBesideStrip place, Gdiplus::Color grey);
    // The title centred over the whole cell in one line, moved right and
    // down by shift.
    void DrawCentredTitle(const StateCell& cell, const Gdiplus::Font& font, Gdiplus::Color colour,
                          float shift = 0.0f) const;
    int TakeCachedStrip(const ImgResInfo* info, int count);

    BUTTON_STATE m_state;
    int m_check;
    // The left button went down on the button and has not been released.
    int m_bHeld;
    // Space acts on the button.
    int m_bFocus;
};

// A check box whose title alone shows the look, in a colour per state.
class VREL_API TextCheckButton : public CCheckButton
{
public:
    TextCheckButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    // normal becomes the text colour; no repaint.
    void SetTextButtonColor(Gdiplus::Color normal, Gdiplus::Color hover, Gdiplus::Color down,
                            Gdiplus::Color disabled);

    void DrawControl(HDC& dc, CRect paint) override;
    // As every control base: the new strip is shown at once.
    int SetImage(UINT id, CString type, int count) override;
    int SetImage(const wchar_t* file, int count) override;

protected:
    LookTextColours m_lookColours;
};

// A radio button: a click or Space checks it (never unchecks) and unchecks
// the rest of its group. SetCheck is ignored while disabled; a changed value
// resets the group (also when it unchecks).
class VREL_API CRadioButton : public CCheckButton
{
public:
    CRadioButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    const wchar_t* GetClassNameW() const override;

    // Sets the check and its look whether or not the button is enabled,
    // without touching the group.
    void SetControlCheck(int check);
    // Unchecks the other members of the group; 0 when the button has no
    // owner, else 1.
    int ResetGroupCheck();
    CString GetGroupName() const { return m_groupName; }
    // Null sets the empty name.
    void SetGroupName(const wchar_t* name);

    void DrawControl(HDC& dc, CRect paint) override;

protected:
    // Where the group is looked for and which members a reset unchecks.
    struct GroupRule
    {
        // The dialog's top-level controls when the owner is a dialog.
        bool lookInDialog;
        // Hidden and disabled members are left alone.
        bool liveMembersOnly;
    };

    // Always checked; a click on a checked button still resets its group.
    int ToggledCheck() const override;
    void AfterCheckSet() override;
    virtual GroupRule GetGroupRule() const;

    CString m_groupName;
};

// A radio button whose strip frame spans the whole width, title centred.
class VREL_API CRadioButton2 : public CRadioButton
{
public:
    CRadioButton2(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    const wchar_t* GetClassNameW() const override;
    void DrawControl(HDC& dc, CRect paint) override;
};

// A radio button of the Fn-layer tabs: text only, in the selection colour
// while checked.
class VREL_API KeyLayerButton : public CRadioButton
{
public:
    KeyLayerButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    const wchar_t* GetClassNameW() const override;
    void DrawControl(HDC& dc, CRect paint) override;
};

// A radio-like selector of four cells: the pressed cell is its checked look.
class VREL_API CSelectButton : public CRadioButton
{
public:
    CSelectButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

    const wchar_t* GetClassNameW() const override;
    void DrawControl(HDC& dc, CRect paint) override;

protected:
    BUTTON_STATE Look(PointerLook look) const override;
    int CellCount() const override;
    GroupRule GetGroupRule() const override;
};

// A colour swatch: pressing it checks it and unchecks its visible, enabled
// group members at once, before NC_PRESSED. Its pointer input is a push
// button's, but for the pointer alone (over, away) it requests no repaint.
class VREL_API CColorButton : public MPushButtonBase
{
public:
    CColorButton(MObject* owner, UINT id, CRect rect, int visible, int enabled);

    const wchar_t* GetClassNameW() const override;

    int GetCheck() const { return m_check; }
    // Ignored while disabled; a changed value resets the group. Returns the
    // check.
    int SetCheck(int check);
    void SetControlCheck(int check);
    int ResetGroupCheck();
    CString GetGroupName() const { return m_groupName; }
    void SetGroupName(const wchar_t* name);
    COLORREF GetColor() const { return m_color; }
    // A changed colour requests a content repaint.
    void SetColor(COLORREF colour);
    // The square bordered swatch instead of the rounded one; no repaint.
    void SetVisibleBorder(bool border) { m_bBorder = border; }

    void DrawControl(HDC& dc, CRect paint) override;
    void SetControlEnabled(int enabled) override;

protected:
    // Checked, with the rest of the group cleared.
    void BeforePress() override;

    COLORREF m_color;
    int m_check;
    bool m_bBorder;
    CString m_groupName;
    KeptCells m_kept;
};

// An on/off switch drawn from two strips of its own (checked and
// unchecked); a click toggles it and reports the new check.
class VREL_API CSwitchButton : public MControlFont
{
public:
    CSwitchButton(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CSwitchButton() override;

    using MControlFont::SetImage;
    // Loads both strips from the skin folder; returns 1 even when a file
    // does not load (that strip is then missing). No repaint.
    int SetImage(const wchar_t* checkedFile, const wchar_t* uncheckedFile, int count);

    int GetCheck() const { return m_check; }
    // Works also while disabled; the look becomes normal. A changed value
    // requests a content repaint. Returns the value.
    int SetCheck(int check);

    void DrawControl(HDC& dc, CRect paint) override;
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

protected:
    BUTTON_STATE m_state;
    std::unique_ptr<Gdiplus::Image> m_pCheckedImage;
    std::unique_ptr<Gdiplus::Image> m_pUncheckedImage;
    int m_checkedFrameWidth;
    int m_checkedFrameHeight;
    int m_uncheckedFrameWidth;
    int m_uncheckedFrameHeight;
    int m_check;
    int m_bHeld;
};

} // namespace VREL

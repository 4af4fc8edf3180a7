#pragma once

// Controls on top of the windowless rich edit that differ from it only in
// layout, drawing and, for the spin box, a numeric value:
// - MEditEx: a single-line framed edit whose text band is centred vertically;
// - CLogonEdit: a single-line edit with an icon at the left, an underline
//   and a tip that shrinks above the text once there is text;
// - CSpinButton: a numeric edit with up and down image buttons at its right
//   (children 30 and 31) that step its value round its range and report
//   code 28 to the owner after each step; typed text is clamped to the range.

#include <windows.h>

#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"
#include "ui/lists/RichEdit.h"

namespace VREL {

class VREL_API MEditEx : public MRichEdit
{
public:
    MEditEx(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int enabled);
    ~MEditEx() override;

    void DrawControl(HDC& dc, CRect paint) override;
    // A 16-pixel band in the middle of the height.
    void SetControlRect(CRect rect) override;
};

class VREL_API CLogonEdit : public MRichEdit
{
public:
    CLogonEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int enabled);
    ~CLogonEdit() override;

    void DrawControl(HDC& dc, CRect paint) override;
    void SetControlRect(CRect rect) override;
    // No hover look: changes nothing, answers 0.
    int OnControlMouseMove(UINT flags, CPoint pt) override;
};

class VREL_API CSpinButton : public MRichEdit
{
public:
    static constexpr UINT kUpButtonId = 30;
    static constexpr UINT kDownButtonId = 31;

    CSpinButton(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CSpinButton() override;

    // The rich edit's set-up, then the two buttons.
    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect paint) override;
    // The buttons' clicks step the value; nothing goes on to the owner.
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void SetControlRect(CRect rect) override;
    // Enables or disables the buttons; the edit's own look stays.
    void SetControlEnabled(int enabled) override;
    // A typed text is read back, clamped to the range and shown clamped.
    void OnTxNotify(DWORD code, void* data) override;

    // Stores a different value and shows it as text.
    void SetCurValue(int value);
    int GetCurValue() const { return m_value; }
    int GetMinValue() const { return m_min; }
    int GetMaxValue() const { return m_max; }
    // The current value is not clamped until the next step or typed change.
    void SetRange(int minimum, int maximum);
    MControl* GetUpButton() const { return m_pUp; }
    MControl* GetDownButton() const { return m_pDown; }

private:
    void LayOutButtons();
    // Writes the value as the text, unheard by the typed-text check, and
    // repaints.
    void ShowValue(int value);

    int m_value;
    int m_min;
    int m_max;
    MControl* m_pUp;
    MControl* m_pDown;
    // Set while the spin box writes its own value into the text.
    bool m_bWriting;
};

} // namespace VREL

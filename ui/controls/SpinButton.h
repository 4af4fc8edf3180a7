#pragma once

// A numeric spin box: a panel that shows its value as text, with an up and a
// down arrow button (children 30 and 31) that step it, wrapping from one end
// of the range to the other. While it has the key focus it also takes the
// arrow keys, digits (building a number of at most the digit limit) and
// backspace. Every change by the user reports NC_SPIN; the new value is read
// back with GetCurValue. SetCurValue and SetRange do not notify.

#include <windows.h>

#include "ui/framework/KeptCells.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API MSpinButton : public MPanel
{
public:
    // The enabled argument is not used: the box starts enabled.
    MSpinButton(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~MSpinButton() override;

    // Stores the value as given (the range is not applied); no notification.
    void SetCurValue(int value);
    int GetCurValue() const { return m_value; }
    // Stores the range; the value is not adjusted.
    void SetRange(int minimum, int maximum);
    // Longest decimal text typing may build.
    void SetLimitLength(int digits) { m_digitLimit = digits; }
    // 0 normal, 1 hover, 2 pressed, 3 disabled.
    int GetState() const { return m_state; }
    MControl* GetUpArrow() const { return m_pUp; }
    MControl* GetDownArrow() const { return m_pDown; }

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect paint) override;
    int SetControlFocus(int focus) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void SetControlRect(CRect rect) override;
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifiers) override;

private:
    // Everything the cells are rendered from besides the background.
    LookInputs LookOf() const;
    // Stores a new value and repaints when it differs.
    void ChangeValue(int value);
    void Notify();
    int StepUp() const;
    int StepDown() const;
    // Appends a typed digit to the value.
    void CalcValue(int digit);
    int ChangeState(int state);
    void PlaceArrow(MControl* arrow, int top, int bottom);

    int m_state;
    int m_value;
    int m_minimum;
    int m_maximum;
    int m_digitLimit;
    MControlFont* m_pUp;
    MControlFont* m_pDown;
    KeptCells m_kept;
};

} // namespace VREL

#pragma once

// The combo box's in-place editor: a superclass of the system "Edit" class
// (class name "CEditWnd2") over the combo's text area. The combo creates it
// on its first edit and afterwards moves, fills, shows and hides it itself.
// It takes at most 60 characters; every change of its text is stored as the
// combo's title (without a repaint of its own), reported to the combo's
// owner with code 26 and the combo's id, and the combo is repainted. Losing
// the focus reports nothing. The object deletes itself when its window is
// destroyed and then clears the combo's field that held it.

#include <windows.h>

#include "ui/framework/Geometry.h"
#include "ui/framework/MWindow.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MControlFont;

class VREL_API CEditWnd2 : public MWindow
{
public:
    explicit CEditWnd2(MControlFont* combo);
    ~CEditWnd2() override;

    const wchar_t* GetWindowClassName() const override;
    const wchar_t* GetSuperClassName() const override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyMessage(HWND window) override;

    // Creates the native window over the combo's text rectangle (client
    // coordinates; an empty one places a single-line band in the combo) in
    // the combo's edit font, which stays the combo's.
    HWND CreateEdit(CRect textRect, HFONT font);
    // The combo's field that holds this object; cleared when the window is
    // destroyed.
    void SetOwnerSlot(CEditWnd2** slot) { m_ppOwnerSlot = slot; }
    // The combo's edit background (0xFFFFFFFF keeps the system's colours)
    // and text colour; read at every colour request.
    void SetEditColor(COLORREF back, COLORREF text);
    MControlFont* GetOwner() const { return m_pCombo; }
    // For a combo that is going: the window, destroyed afterwards, then
    // touches it no more.
    void DetachOwner()
    {
        m_pCombo = nullptr;
        m_ppOwnerSlot = nullptr;
    }

private:
    // A change of the text by the user becomes the combo's title.
    void CopyTextToCombo();

    MControlFont* m_pCombo;
    HBRUSH m_hBackBrush;
    int m_bInitialised;
    int m_bBlink;
    COLORREF m_backColor;
    COLORREF m_textColor;
    CEditWnd2** m_ppOwnerSlot;
};

} // namespace VREL

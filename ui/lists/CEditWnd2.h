#pragma once

// The combo box's in-place editor: an in-place edit (class name
// "CEditWnd2") over the combo's text area. The combo creates it on its first
// edit and afterwards moves, fills, shows and hides it itself. It takes at
// most 60 characters; every change of its text is stored as the combo's
// title without a repaint of its own (the report's repaint follows).

#include <windows.h>

#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"
#include "ui/lists/InPlaceEdit.h"

namespace VREL {

class MControlFont;

class VREL_API CEditWnd2 : public InPlaceEdit
{
public:
    explicit CEditWnd2(MControlFont* combo);
    ~CEditWnd2() override;

    const wchar_t* GetWindowClassName() const override;

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
    // For a combo that is going: the window, destroyed afterwards, then
    // touches it no more.
    void DetachOwner() override
    {
        InPlaceEdit::DetachOwner();
        m_ppOwnerSlot = nullptr;
    }

protected:
    void StoreText(const CString& text) override;
    void ClearOwnerSlot() override;

private:
    CEditWnd2** m_ppOwnerSlot;
};

} // namespace VREL

#pragma once

// What the combo box's editor (CEditWnd2) and the lists' rename box
// (CEditWindow) share: a superclass of the system "Edit" class laid over a
// windowless control, in colours of its own. Every change of its text by the
// user becomes the control's title and is reported to the control's owner
// with code 26 and the control's id; losing the focus reports nothing (the
// control ends the edit itself). When its window is destroyed it repaints
// the control, clears the control's field that held it and deletes itself.

#include <windows.h>

#include "ui/framework/CString.h"
#include "ui/framework/MWindow.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MControlFont;

class VREL_API InPlaceEdit : public MWindow
{
public:
    ~InPlaceEdit() override;

    const wchar_t* GetSuperClassName() const override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyMessage(HWND window) override;

    MControlFont* GetOwner() const { return m_pOwner; }

protected:
    InPlaceEdit(MControlFont* owner, COLORREF back, COLORREF text);

    // Takes the user's changed text into the owner.
    virtual void StoreText(const CString& text) = 0;
    // Clears the creator's field that holds this object, if it still does.
    virtual void ClearOwnerSlot() = 0;
    // The background brush is made again at the next colour request.
    void DropBackBrush();

    MControlFont* m_pOwner;
    HBRUSH m_hBackBrush;
    // Set once the creation's set-up is complete; text changes before that
    // are not the user's.
    int m_bInitialised;
    int m_bBlink;
    COLORREF m_backColor;
    COLORREF m_textColor;

private:
    void CopyTextToOwner();
};

} // namespace VREL

#pragma once

// The native edit window of an edit field (MEdit): a superclass of the
// system "Edit" class, registered as "MEditWindow", that lies over the
// field's text area while the user types. It copies every change of its text
// into the field's title and reports it, reports the end of the edit when it
// loses the focus, colours itself from the field's settings and deletes
// itself once its window is gone.

#include <windows.h>

#include "ui/framework/MWindow.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MEdit;

class VREL_API CEditWnd : public MWindow
{
public:
    explicit CEditWnd(MEdit* owner);
    ~CEditWnd() override;

    const wchar_t* GetWindowClassName() const override;
    const wchar_t* GetSuperClassName() const override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Runs after WM_NCDESTROY: repaints the field, forgets it and deletes
    // this object.
    void OnDestroyMessage(HWND window) override;

    // Set once the creation's set-up is complete; text changes before that
    // are not the user's.
    void SetInitialised(int initialised) { m_bInitialised = initialised; }
    int IsInitialised() const { return m_bInitialised; }
    // The field is going away: from now on nothing is reported to it or
    // asked of it.
    void DetachOwner() { m_pOwner = nullptr; }
    MEdit* GetOwner() const { return m_pOwner; }

private:
    // A change of the text by the user becomes the field's text.
    void CopyTextToField();

    MEdit* m_pOwner;
    HBRUSH m_hBackBrush;
    int m_bInitialised;
    int m_bBlink;
};

} // namespace VREL

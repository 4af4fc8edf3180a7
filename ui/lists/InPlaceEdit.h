#pragma once

// What the edit field's window (CEditWnd), the combo box's editor
// (CEditWnd2) and the lists' rename box (CEditWindow) share: a superclass of
// the system "Edit" class laid over a windowless control, in colours of its
// own. Every change of its text by the user becomes the control's text and
// is reported to the control's owner with code 26 and the control's id;
// losing the focus reports nothing here (a control that wants to hear of it
// says so in its own edit). When its window is destroyed it repaints the
// control, clears the control's field that held it and deletes itself.
//
// The field and the combo box show and hide their edit themselves and share
// how: Present, Conclude, ShownHandle and Discard.

#include <windows.h>

#include <functional>

#include "ui/framework/CString.h"
#include "ui/framework/MWindow.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MControl;
class MControlFont;

class VREL_API InPlaceEdit : public MWindow
{
public:
    ~InPlaceEdit() override;

    const wchar_t* GetSuperClassName() const override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyMessage(HWND window) override;

    MControlFont* GetOwner() const { return m_pOwner; }
    // The control is going: from now on nothing is reported to it or asked
    // of it.
    virtual void DetachOwner() { m_pOwner = nullptr; }
    // For a control that is going: detaches it, then destroys the window
    // (whose destroy handler deletes this object) or, without a window,
    // deletes this object at once.
    void Discard();

    // The edit's handle while its window exists and its own visible bit is
    // set (a control on a hidden window still counts its shown edit as
    // shown); null otherwise, also for no edit.
    static HWND ShownHandle(InPlaceEdit* edit);
    // Shows the window with text, the caret after the text, and focuses it.
    void Present(const CString& text);
    // Ends the edit of a control that shows and hides its edit itself: when
    // the edit is shown, its text becomes title (repaint runs when that
    // changed it), the window hides and the control reports code 29.
    static void Conclude(InPlaceEdit* edit, MControl& control, CString& title, const std::function<void()>& repaint);

protected:
    InPlaceEdit(MControlFont* owner, COLORREF back, COLORREF text);

    // The owner's text that a change of the window's text is measured
    // against.
    virtual CString OwnerText();
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

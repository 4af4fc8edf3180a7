#pragma once

// The native edit window of an edit field (MEdit): an in-place edit,
// registered as "MEditWindow", that lies over the field's text area while
// the user types. Beyond what every in-place edit does, it reports the end of
// the edit when it loses the focus, passes typed characters on only while
// the field lets them through, and colours itself from the field's settings
// at every colour request.

#include <windows.h>

#include "ui/framework/CString.h"
#include "ui/framework/VrelExport.h"
#include "ui/lists/InPlaceEdit.h"

namespace VREL {

class MEdit;

class VREL_API CEditWnd : public InPlaceEdit
{
public:
    explicit CEditWnd(MEdit* owner);
    ~CEditWnd() override;

    const wchar_t* GetWindowClassName() const override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Set once the creation's set-up is complete; text changes before that
    // are not the user's.
    void SetInitialised(int initialised) { m_bInitialised = initialised; }
    int IsInitialised() const { return m_bInitialised; }
    MEdit* GetOwner() const;

protected:
    // The field's stored title: asking for its title would end the edit.
    CString OwnerText() override;
    void StoreText(const CString& text) override;
    void ClearOwnerSlot() override;
};

} // namespace VREL

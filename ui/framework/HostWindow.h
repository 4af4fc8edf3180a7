#pragma once

// A window with a paint manager of its own that hosts windowless controls:
// what dialogs and popups have in common. Every window message goes through
// the handlers and then to the paint manager; the object side is the owner
// that the window's top-level controls report to, and it hands their
// notifications to OnMessage. The paint manager owns the controls and frees
// them with the object; the window ends on its own, and releases the paint
// manager's data when it goes.

#include <windows.h>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/HandlerWindow.h"
#include "ui/framework/MObject.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MControl;

class VREL_API MHostWindow : public MHandlerWindow, public MObject
{
public:
    // The colour that SetupBackTranslucent makes transparent.
    explicit MHostWindow(COLORREF colorKey);
    // Destroys the embedded paint manager and with it the controls; a window
    // that still exists is left alone.
    ~MHostWindow() override;

    // ---- window side ---------------------------------------------------------------------
    // The handlers observe, then the paint manager and the default procedure
    // get the message.
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Releases the paint manager's data, then PostNcDestroy.
    void OnDestroyMessage(HWND window) override;
    // Where a derived window creates its controls.
    virtual void InitUI(CRect client);
    // Where a derived window lays its controls out again.
    virtual void UISize(CRect client);
    // Every notification of the window's top-level controls.
    virtual LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam);

    // ---- object side -----------------------------------------------------------------------
    // Passes the notification to OnMessage.
    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnControlUpdate(CRect rect, int redraw, MControl* sender) override;

    // ---- controls and paint manager settings ---------------------------------------------
    MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                            int enabled);
    MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                         int enabled);
    MControl* GetControl(UINT id);
    PaintManager* GetPaintManager() { return &m_pm; }
    int LoadBKImage(CString file);
    int LoadBKImage(UINT id, CString type);
    void SetBackMode(enumBackMode mode, int parameter);
    void SetScrollResID(UINT vertical, UINT horizontal);
    void SetLayeredWindow(int layered);
    // Layered with constant alpha when alpha is not 255, else with the
    // colour key when it is not white, else nothing.
    void SetupBackTranslucent();

protected:
    // Attaches the paint manager to the window and reads the client
    // rectangle into client; false, with client unchanged, without a window.
    bool AttachPaintManager(CRect& client);

    PaintManager m_pm;
    COLORREF m_colorKey;
    int m_alpha;
};

} // namespace VREL

#pragma once

// Builds the main window from the page tables: creates every row through the
// library's factories (the window's own controls on the dialog, each page's
// on its page panel), makes the row's set-up calls, builds the tab strip,
// fills the colour fields and the system settings state, places everything
// for a client rectangle, and sets every language text again when the
// language changes.
//
// A class that the library cannot build yet gives no control: its row is
// recorded as missing and everything else is built. Set-up calls that need a
// class's own interface go through the family's WidgetHooks; without hooks
// they are recorded as skipped.

#include <windows.h>
#include <gdiplus.h>

#include <map>
#include <vector>

#include "app/window/LanguageTexts.h"
#include "app/window/PageTables.h"
#include "ui/framework/CString.h"

namespace VREL {
class MControl;
class MDialog;
class MPanel;
struct WindowBase;
} // namespace VREL

namespace tarnwell {

// What the window's construction and its texts depend on.
struct PageState
{
    int language = 1033;
    // The "exit_mode" registry value (0 when it is missing).
    int exitMode = 0;
    // A keyboard of the catalogue is connected.
    bool connected = false;
    // The Run key holds a value named by the device name.
    bool autorun = false;
    // The "autorun_minimize" registry value.
    int autorunMinimize = 0;
    // The keyboard has per-key colours (the layout's "rgb_keyboard").
    bool rgbKeyboard = true;
};

// The set-up calls of a class family that only its own header knows (combo
// items, keyboard modes, list images ...). Registered once per class name.
struct WidgetHooks
{
    // Makes one set-up call; text is the op's resolved text. False when the
    // call does not apply to the control.
    bool (*apply)(VREL::MControl* control, const SetupOp& op, const CString& text) = nullptr;
    // Sets the text of item index (combo items, layer and category tabs).
    bool (*setItemText)(VREL::MControl* control, int index, const CString& text) = nullptr;
};
void RegisterWidgetHooks(const wchar_t* className, WidgetHooks hooks);
// Removes the hooks of a class (tests).
void UnregisterWidgetHooks(const wchar_t* className);
// The hooks of every widget family the pages hold (combos, keyboard pictures,
// layer and category tabs, the key picker, the row lists).
void RegisterPageWidgetHooks();

// The controls a build created, by id.
class PageControls
{
public:
    VREL::MControl* Get(int id) const;
    template <class T>
    T* As(int id) const
    {
        return dynamic_cast<T*>(Get(id));
    }
    const std::map<int, VREL::MControl*>& All() const { return m_controls; }
    // "id class" of every row whose class gave no control.
    const std::vector<CString>& Missing() const { return m_missing; }
    // "id class op" of every set-up call that could not be made.
    const std::vector<CString>& Skipped() const { return m_skipped; }

private:
    friend class PageBuilder;
    std::map<int, VREL::MControl*> m_controls;
    std::vector<CString> m_missing;
    std::vector<CString> m_skipped;
};

class PageBuilder
{
public:
    // pageColour: the text colour of every page.
    explicit PageBuilder(const LanguageTexts& texts, Gdiplus::Color pageColour = Gdiplus::Color(0xFFFFFFFF));

    // The whole window: the shell, then home, keys, macro, lighting, music,
    // settings and system settings, each placed in the client rectangle.
    // Ends in the start view: the home page alone, the tab strip hidden.
    PageControls Build(VREL::MDialog& dialog, const RECT& client, const PageState& state);

    // The same window in stages, so that it can show before every page
    // exists: BuildShell makes and places the shell; BuildHome the home page,
    // ending in the start view; each BuildMore makes at most maxRows rows of
    // the other pages (0: all that are left), true once every page is made.
    // A page joins the controls, set up and placed, with its last row: it is
    // there whole or not at all. The state of BuildShell holds for every
    // stage; the builder is kept between the stages.
    PageControls BuildShell(VREL::MDialog& dialog, const RECT& client, const PageState& state);
    void BuildHome(PageControls& controls, VREL::MDialog& dialog, const RECT& client);
    bool BuildMore(PageControls& controls, VREL::MDialog& dialog, const RECT& client, int maxRows);
    bool Finished() const;

    // Starts, before the window exists, what BuildShell and BuildHome will
    // load and render ahead for that client area over base: the look of each
    // row rendered ahead, and the image of every other row, decoded on
    // threads of their own.
    static void PrepareFirstPaint(const RECT& client, const VREL::WindowBase& base);

    // Places every row that has a place; nothing when the close button does
    // not exist yet.
    static void Place(const PageControls& controls, const RECT& client);

    // Sets every language text again: titles, tooltips, tab, combo, layer
    // and category items. Rows that keep their creation texts are left
    // alone; the light-mode list is the lighting page's to refill.
    void ApplyTexts(const PageControls& controls, const PageState& state) const;

    // The language radio that shows a language: 199 for 1045, else 200.
    static int LanguageRadioFor(int language);
    // Title of the home page's enter button.
    static int EnterButtonText(bool connected);
    // Tooltip of the close button.
    static int CloseTooltipText(int exitMode);
    // A sleep-time item: "%d %s" of the minutes and text 506, or text 507 for 0.
    CString SleepItemText(int minutes) const;

    // Sets the system settings page from the state: language radios,
    // autorun check boxes, exit-mode radios.
    static void ApplySystemState(const PageControls& controls, const PageState& state);

private:
    // With client, a row flagged kRenderAhead is placed and starts its look
    // as soon as it is made.
    void BuildRows(PageControls& out, VREL::MDialog& dialog, const PageTable& table, const RECT* client = nullptr);
    void BuildRow(PageControls& out, VREL::MDialog& dialog, VREL::MPanel* panel, const ControlRow& row);
    // The set-up that follows a whole table, and its places.
    void FinishTable(PageControls& out, const PageTable& table, const RECT& client) const;
    static void PlaceRows(const PageControls& controls, const std::vector<ControlRow>& rows, const RECT& client);
    void ApplyOp(PageControls& out, VREL::MControl* control, const ControlRow& row, const SetupOp& op,
                 const PageState& state) const;
    void BuildTabStrip(PageControls& out) const;
    void FillColourFields(const PageControls& out) const;
    CString OpText(const SetupOp& op) const;

    const LanguageTexts& m_texts;
    Gdiplus::Color m_pageColour;
    // The stages' progress: the state they build for, the next table and row
    // of AllPageTables, and the table in progress until it is whole.
    PageState m_state;
    size_t m_nextTable = 0;
    size_t m_nextRow = 0;
    PageControls m_partial;
};

} // namespace tarnwell

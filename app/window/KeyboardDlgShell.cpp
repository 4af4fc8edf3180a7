// The window's shell and every page: built once from the page tables, placed
// on every size, and given their texts again when the language changes.

#include "app/window/KeyboardDlg.h"

#include <string>

#include "app/window/AppSettings.h"
#include "app/window/CUIMessageBox.h"
#include "ui/framework/MControl.h"
#include "ui/framework/Manager.h"

using namespace tarnwell;

namespace {

const wchar_t* const kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kRunValueBytes = 1024;

// The program starts with Windows: the Run key holds a value named by the
// device name.
bool StartsWithWindows()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    std::wstring command;
    const CString name = VREL::Manager::GetDeviceName();
    const bool found = ReadRegistryText(key, name.GetString(), command, kRunValueBytes);
    RegCloseKey(key);
    return found;
}

} // namespace

PageState KeyboardDlg::CurrentPageState()
{
    PageState state;
    state.language = m_texts.Language();
    state.exitMode = GetRegistryInt(L"exit_mode");
    state.connected = m_connected;
    state.autorun = StartsWithWindows();
    state.autorunMinimize = GetRegistryInt(L"autorun_minimize");
    state.rgbKeyboard = m_perKeyRgb != 0;
    return state;
}

void KeyboardDlg::InitUI(CRect client)
{
    m_pm.SetBackColor(RGB(0x1B, 0x1B, 0x1B), RGB(0x3A, 0x3A, 0x3A));
    RegisterPageWidgetHooks();
    // Builds the shell and the pages in their order and places them.
    m_controls = PageBuilder(m_texts, m_pageTextColour).Build(*this, client, CurrentPageState());
}

void KeyboardDlg::UISize(CRect client) { PageBuilder::Place(m_controls, client); }

VREL::MControl* KeyboardDlg::Control(UINT id)
{
    if (VREL::MControl* control = m_controls.Get(static_cast<int>(id)))
        return control;
    return GetControl(id);
}

void KeyboardDlg::ApplyLanguage()
{
    m_texts.SetLanguage(GetCurrentLanguage());
    PageBuilder(m_texts, m_pageTextColour).ApplyTexts(m_controls, CurrentPageState());
    // Lines that join a text with what the keyboard or the catalogue says.
    ShowVersionLine();
    ShowFirmwareLine();
    ShowProfileNames();
    // The light-mode tiles take their names from the language file as the
    // lighting page fills them.
    LoadLightPage();
    m_pm.Invalidate();
}

LRESULT KeyboardDlg::OnApplyLanguageMessage(WPARAM, LPARAM)
{
    ApplyLanguage();
    return 0;
}

int KeyboardDlg::ShowMessage(const CString& message, const CString& title, int style)
{
    return ShowMessageBox(m_hWnd, message.GetString(), title.GetString(), style, m_texts);
}

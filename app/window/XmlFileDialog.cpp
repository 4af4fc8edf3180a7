#include "app/window/XmlFileDialog.h"

#include <commdlg.h>

namespace tarnwell {

std::wstring XmlFileFilter(const CString& kindName)
{
    std::wstring filter = kindName.GetString();
    filter += L" (*.xml)";
    filter += L'\0';
    filter += L"*.xml";
    filter += L'\0';
    filter += L'\0';
    return filter;
}

std::wstring ChooseXmlFile(HWND owner, bool save, const CString& kindName)
{
    const std::wstring filter = XmlFileFilter(kindName);
    wchar_t path[MAX_PATH] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = L"xml";
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_ENABLESIZING | OFN_HIDEREADONLY |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    return chosen ? std::wstring(path) : std::wstring();
}

} // namespace tarnwell

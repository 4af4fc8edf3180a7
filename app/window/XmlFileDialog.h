#pragma once

// The system's open and save dialogs for the program's XML files (macros and
// profiles), offering one file kind named in the user's language.

#include <windows.h>

#include <string>

#include "ui/framework/CString.h"

namespace tarnwell {

// The dialog's filter: "<kind> (*.xml)" and "*.xml", each ended by a null,
// then the closing null.
std::wstring XmlFileFilter(const CString& kindName);

// The chosen path; empty when the user cancelled. An open dialog accepts only
// an existing file; a save dialog asks before overwriting one.
std::wstring ChooseXmlFile(HWND owner, bool save, const CString& kindName);

} // namespace tarnwell

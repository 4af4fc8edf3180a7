#include "ui/framework/MObject.h"

#include <cwchar>

namespace VREL {

MObject::~MObject() = default;

int MObject::IsClass(const wchar_t* name)
{
    const wchar_t* own = GetClassNameW();
    if (!name || !own)
        return 0;
    return std::wcscmp(name, own) == 0 ? 1 : 0;
}

const wchar_t* MObject::GetClassNameW() const { return nullptr; }

const wchar_t* MObject::GetObjectClass() { return nullptr; }

const wchar_t* MObject::BaseObjectClassName() { return nullptr; }

LRESULT MObject::OnBaseMessage(UINT, UINT, WPARAM, LPARAM) { return 0; }

LRESULT MObject::OnControlUpdate(CRect, int, MControl*) { return 0; }

} // namespace VREL

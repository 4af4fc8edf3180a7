#include "ui/controls/GroupSiblings.h"

#include <cwchar>

#include "ui/framework/MControl.h"
#include "ui/framework/PaintManager.h"

namespace VREL {

namespace {

constexpr wchar_t kDialogClass[] = L"MDialog";

std::vector<MControl*> WithoutNulls(std::vector<MControl*> list)
{
    std::vector<MControl*> kept;
    kept.reserve(list.size());
    for (MControl* control : list)
        if (control)
            kept.push_back(control);
    return kept;
}

} // namespace

std::vector<MControl*> GroupSiblings::Of(MControl& button, bool lookInDialog)
{
    MObject* owner = button.GetParantObject();
    if (!owner)
        return {};
    const wchar_t* ownerClass = owner->GetClassNameW();
    if (ownerClass && std::wcscmp(ownerClass, kDialogClass) == 0)
    {
        PaintManager* manager = button.GetManager();
        if (!lookInDialog || !manager)
            return {};
        return WithoutNulls(manager->CopyControls());
    }
    MControl* parent = dynamic_cast<MControl*>(owner);
    if (!parent)
        return {};
    return WithoutNulls(parent->CopyControls());
}

} // namespace VREL

#include "ui/controls/GroupSiblings.h"

#include <cwchar>

#include "ui/framework/MControl.h"
#include "ui/framework/PaintManager.h"

namespace VREL {

namespace {

constexpr wchar_t kDialogClass[] = L"MDialog";

// Reaches a control's sub-control list and its lock: both belong to the
// control base and are open to derived classes only.
class SubControlAccess : public MControl
{
public:
    static std::vector<MControl*> Copy(MControl& owner)
    {
        CriticalSection& lock = owner.*(&SubControlAccess::m_controlLock);
        ScopedLock guard(lock);
        return *owner.GetControls();
    }
};

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
        // The paint manager offers no locked copy of its control list yet;
        // until it does the list is copied as it stands.
        return WithoutNulls(*manager->GetControls());
    }
    MControl* parent = dynamic_cast<MControl*>(owner);
    if (!parent)
        return {};
    return WithoutNulls(SubControlAccess::Copy(*parent));
}

} // namespace VREL

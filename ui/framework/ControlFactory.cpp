#include "ui/framework/ControlFactory.h"

#include <array>
#include <cwchar>

#include "ui/framework/CriticalSection.h"
#include "ui/framework/MControl.h"
#include "ui/framework/PaintManager.h"

namespace VREL {

namespace {

struct KnownClass
{
    const wchar_t* name;
    unsigned scope;
    ControlForm form;
};

constexpr ControlForm kTitleVisible = ControlForm::TitleVisible;
constexpr ControlForm kVisibleEnabled = ControlForm::VisibleEnabled;
constexpr ControlForm kTitleVisibleEnabled = ControlForm::TitleVisibleEnabled;
constexpr ControlForm kVisible = ControlForm::Visible;
constexpr ControlForm kVisibleOne = ControlForm::VisibleOne;
constexpr ControlForm kTitleVisibleOne = ControlForm::TitleVisibleOne;

// Every class name the two factories know, with the factories that know it
// and the constructor form it is built with.
constexpr std::array<KnownClass, 68> kKnownClasses = {{
    // Known to both factories.
    {L"CArea", FACTORY_BOTH, kVisibleOne},
    {L"MText", FACTORY_BOTH, kTitleVisible},
    {L"MPicture", FACTORY_BOTH, kVisibleEnabled},
    {L"CPhotoFrame", FACTORY_BOTH, kVisibleEnabled},
    {L"CSliderPicture", FACTORY_BOTH, kVisibleEnabled},
    {L"CGifPicture", FACTORY_BOTH, kVisibleEnabled},
    {L"MProgress", FACTORY_BOTH, kVisibleEnabled},
    {L"MSlider", FACTORY_BOTH, kVisibleEnabled},
    {L"MLevelCtrl", FACTORY_BOTH, kVisibleEnabled},
    {L"MButton", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"CImageButton", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"CTextButton", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"CCheckButton", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"CRadioButton", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"CSelectButton", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"CColorButton", FACTORY_BOTH, kVisibleEnabled},
    {L"MSpinButton", FACTORY_BOTH, kVisibleEnabled},
    {L"CSpinButton", FACTORY_BOTH, kVisibleEnabled},
    {L"CSwitchButton", FACTORY_BOTH, kVisibleEnabled},
    {L"CIconButton", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"CTimerButton", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"CHelpButton", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"MEdit", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"MRichEdit", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"MEditEx", FACTORY_BOTH, kTitleVisibleEnabled},
    {L"MComboBox", FACTORY_BOTH, kVisibleEnabled},
    {L"MTabCtrl", FACTORY_BOTH, kVisibleEnabled},
    {L"MTabLayout", FACTORY_BOTH, kVisible},
    {L"MListBox", FACTORY_BOTH, kVisible},
    {L"MPalette", FACTORY_BOTH, kVisible},
    {L"CColorPalette", FACTORY_BOTH, kVisible},
    {L"CColorSelect", FACTORY_BOTH, kVisible},
    {L"CirclePalette", FACTORY_BOTH, kVisibleOne},
    {L"MenuItem", FACTORY_BOTH, kTitleVisibleOne},
    {L"KeyboardCtrl", FACTORY_BOTH, kVisible},
    {L"CDeviceCtrl", FACTORY_BOTH, kVisibleOne},
    {L"BatteryCtrl", FACTORY_BOTH, kVisibleOne},
    {L"KeyFuncType", FACTORY_BOTH, kVisibleOne},
    {L"KeyMenuFuncType", FACTORY_BOTH, kVisibleOne},
    {L"KeyFuncCtrl", FACTORY_BOTH, kVisible},
    {L"KeyFuncValue", FACTORY_BOTH, kVisibleOne},
    {L"CRoundArea", FACTORY_BOTH, kVisibleOne},
    {L"ProfileList", FACTORY_BOTH, kVisibleOne},
    {L"MImageButton", FACTORY_BOTH, kVisibleOne},
    {L"MComboBox2", FACTORY_BOTH, kVisibleOne},
    {L"KeyTypeTab", FACTORY_BOTH, kVisibleOne},
    {L"KeyValueList", FACTORY_BOTH, kVisibleOne},
    {L"KeyboardTestCtrl", FACTORY_BOTH, kVisible},
    {L"KeyTypeTab2", FACTORY_BOTH, kVisibleOne},
    // Known to the panel's factory only.
    {L"CRadioButton2", FACTORY_PANEL, kTitleVisibleEnabled},
    {L"KeyFuncControl", FACTORY_PANEL, kVisible},
    {L"MacroList", FACTORY_PANEL, kVisible},
    {L"CRecordList", FACTORY_PANEL, kVisible},
    {L"CDeviceList", FACTORY_PANEL, kVisibleOne},
    {L"UpgradeButton", FACTORY_PANEL, kTitleVisibleOne},
    {L"DownloadButton", FACTORY_PANEL, kTitleVisibleOne},
    {L"KeyLayerButton", FACTORY_PANEL, kTitleVisibleOne},
    {L"ImageView", FACTORY_PANEL, kVisibleOne},
    {L"ColorView", FACTORY_PANEL, kVisibleOne},
    {L"MListBoxEx", FACTORY_PANEL, kVisibleOne},
    {L"CKeyTestCtrl", FACTORY_PANEL, kVisibleOne},
    {L"KeyLayerCtrl", FACTORY_PANEL, kVisibleOne},
    {L"MButton2", FACTORY_PANEL, kTitleVisibleOne},
    {L"MSlider2", FACTORY_PANEL, kVisibleOne},
    // Known to the paint manager's factory only.
    {L"CComboBoxList", FACTORY_PAINT_MANAGER, kVisibleOne},
    {L"TextCheckButton", FACTORY_PAINT_MANAGER, kTitleVisibleOne},
    {L"CTextArea", FACTORY_PAINT_MANAGER, kTitleVisibleOne},
    {L"KeyFuncControl2", FACTORY_PAINT_MANAGER, kVisible},
}};

// The registered constructors, one slot per known class. Built on first use
// so that registrars in any source file may run before or after this one's
// static initialisation.
struct Registry
{
    CriticalSection lock;
    std::array<ControlConstructor, kKnownClasses.size()> constructors{};
    std::vector<CString> refused;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

// Index of the known class of that name, or -1.
int FindKnown(const wchar_t* name)
{
    if (!name || !*name)
        return -1;
    for (size_t i = 0; i < kKnownClasses.size(); ++i)
    {
        if (std::wcscmp(kKnownClasses[i].name, name) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

ControlConstructor ConstructorOf(int index)
{
    Registry& registry = TheRegistry();
    ScopedLock lock(registry.lock);
    return registry.constructors[static_cast<size_t>(index)];
}

std::vector<CString> Names(ControlFactoryScope scope, bool constructibleOnly)
{
    std::vector<CString> names;
    for (size_t i = 0; i < kKnownClasses.size(); ++i)
    {
        if (!(kKnownClasses[i].scope & scope))
            continue;
        if (constructibleOnly && !ConstructorOf(static_cast<int>(i)))
            continue;
        names.emplace_back(kKnownClasses[i].name);
    }
    return names;
}

} // namespace

bool ControlFactory::Register(const ControlClass& controlClass, ControlConstructor* previous)
{
    if (previous)
        *previous = nullptr;
    const int index = FindKnown(controlClass.name);
    if (index < 0 || !controlClass.construct || kKnownClasses[static_cast<size_t>(index)].form != controlClass.form)
        return false;
    Registry& registry = TheRegistry();
    ScopedLock lock(registry.lock);
    ControlConstructor& slot = registry.constructors[static_cast<size_t>(index)];
    if (previous)
        *previous = slot;
    slot = controlClass.construct;
    return true;
}

void ControlFactory::Restore(const wchar_t* name, ControlConstructor previous)
{
    const int index = FindKnown(name);
    if (index < 0)
        return;
    Registry& registry = TheRegistry();
    ScopedLock lock(registry.lock);
    registry.constructors[static_cast<size_t>(index)] = previous;
}

MControl* ControlFactory::Construct(ControlFactoryScope scope, const wchar_t* className, const ControlArgs& args)
{
    const int index = FindKnown(className);
    if (index < 0 || !(kKnownClasses[static_cast<size_t>(index)].scope & scope))
        return nullptr;
    const ControlConstructor construct = ConstructorOf(index);
    return construct ? construct(args) : nullptr;
}

std::vector<CString> ControlFactory::KnownNames(ControlFactoryScope scope) { return Names(scope, false); }

std::vector<CString> ControlFactory::ConstructibleNames(ControlFactoryScope scope) { return Names(scope, true); }

std::vector<CString> ControlFactory::RefusedRegistrations()
{
    Registry& registry = TheRegistry();
    ScopedLock lock(registry.lock);
    return registry.refused;
}

ControlRegistrar::ControlRegistrar(const ControlClass& controlClass)
{
    if (ControlFactory::Register(controlClass))
        return;
    Registry& registry = TheRegistry();
    ScopedLock lock(registry.lock);
    registry.refused.emplace_back(controlClass.name ? controlClass.name : L"");
}

// The paint manager's factory: the new control is always bound to this
// manager, then filed by kind.
MControl* PaintManager::CreateControl(UINT kind, MObject* owner, const wchar_t* className, UINT id, CRect rect,
                                      const wchar_t* title, int visible, int enabled)
{
    const ControlArgs args{owner, id, rect, title, visible, enabled};
    MControl* control = ControlFactory::Construct(FACTORY_PAINT_MANAGER, className, args);
    return control ? AddControl(kind, control) : nullptr;
}

} // namespace VREL

#pragma once

// Control construction by class name, shared by the two factories: the
// paint manager's (PaintManager::CreateControl, reached by dialogs, popups
// and menus) and the panel's (MPanel::CreateControl).
//
// The set of class names each factory knows is fixed here, together with
// the constructor form each class is built with. Each family of controls
// registers its constructors into this table from its own source file, with
// a static ControlRegistrar (the registrar runs when vrel is loaded; the
// table itself is built on first use, so the order of static initialisation
// does not matter). A known name whose class has not registered yields no
// control, exactly like an unknown name.
//
//   // in MText.cpp
//   namespace {
//   const VREL::ControlRegistrar kRegisterMText(
//       VREL::MakeControlClass<VREL::MText, VREL::ControlForm::TitleVisible>(L"MText"));
//   }

#include <windows.h>

#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MControl;
class MObject;

// Which factory knows a name.
enum ControlFactoryScope : unsigned
{
    FACTORY_PAINT_MANAGER = 1,
    FACTORY_PANEL = 2,
    FACTORY_BOTH = FACTORY_PAINT_MANAGER | FACTORY_PANEL,
};

// The arguments each class's constructor takes after (owner, id, rect).
// "One" passes the constant 1 whatever the caller gave for enabled.
enum class ControlForm
{
    TitleVisible,               // (title, visible)
    VisibleEnabled,             // (visible, enabled)
    TitleVisibleEnabled,        // (title, visible, enabled)
    Visible,                    // (visible)
    VisibleOne,                 // (visible, 1)
    TitleVisibleOne,            // (title, visible, 1)
};

// What the caller of a factory gave.
struct ControlArgs
{
    MObject* owner;
    UINT id;
    CRect rect;
    const wchar_t* title;
    int visible;
    int enabled;
};

using ControlConstructor = MControl* (*)(const ControlArgs& args);

// One class as a family registers it.
struct ControlClass
{
    const wchar_t* name;
    ControlForm form;
    ControlConstructor construct;
};

template <class T, ControlForm Form>
MControl* ConstructControl(const ControlArgs& a)
{
    if constexpr (Form == ControlForm::TitleVisible)
        return new T(a.owner, a.id, a.rect, a.title, a.visible);
    else if constexpr (Form == ControlForm::VisibleEnabled)
        return new T(a.owner, a.id, a.rect, a.visible, a.enabled);
    else if constexpr (Form == ControlForm::TitleVisibleEnabled)
        return new T(a.owner, a.id, a.rect, a.title, a.visible, a.enabled);
    else if constexpr (Form == ControlForm::Visible)
        return new T(a.owner, a.id, a.rect, a.visible);
    else if constexpr (Form == ControlForm::VisibleOne)
        return new T(a.owner, a.id, a.rect, a.visible, 1);
    else
        return new T(a.owner, a.id, a.rect, a.title, a.visible, 1);
}

template <class T, ControlForm Form>
constexpr ControlClass MakeControlClass(const wchar_t* name)
{
    return ControlClass{name, Form, &ConstructControl<T, Form>};
}

class VREL_API ControlFactory
{
public:
    ControlFactory() = delete;

    // Enters a constructor for a known name. Refused (false) for a name no
    // factory knows, for a form other than the one the name is built with,
    // or for a null constructor. A later registration of the same name
    // replaces the earlier one; previous (when given) receives the
    // constructor it replaced, or null, so that it can be put back.
    static bool Register(const ControlClass& controlClass, ControlConstructor* previous = nullptr);
    // Puts back what Register replaced (null empties the name again).
    static void Restore(const wchar_t* name, ControlConstructor previous);

    // A new control of the named class for a factory of that scope, not yet
    // bound or listed; null for a null or empty name, a name the factory
    // does not know (compared case-sensitively and in full) or a class not
    // registered.
    static MControl* Construct(ControlFactoryScope scope, const wchar_t* className, const ControlArgs& args);

    // The names a factory knows, in table order, whether built or not.
    static std::vector<CString> KnownNames(ControlFactoryScope scope);
    // The names a factory can construct now.
    static std::vector<CString> ConstructibleNames(ControlFactoryScope scope);
    // Names that a ControlRegistrar offered and Register refused (an unknown
    // name or the wrong constructor form): a family that would silently
    // never be built.
    static std::vector<CString> RefusedRegistrations();
};

// Registers one class when the library loads.
class VREL_API ControlRegistrar
{
public:
    explicit ControlRegistrar(const ControlClass& controlClass);
};

} // namespace VREL

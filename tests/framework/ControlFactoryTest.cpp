// The two control factories: which class names each knows, that a name
// without a built class gives nothing, how a registered class is built
// (arguments by constructor form), bound and filed.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "tests/framework/CoreTestSupport.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/MPanel.h"

using namespace coretest;

namespace {

std::set<std::wstring> AsSet(const std::vector<CString>& names)
{
    std::set<std::wstring> set;
    for (const CString& name : names)
        set.insert(name.GetString());
    return set;
}

std::set<std::wstring> Union(std::set<std::wstring> a, const std::set<std::wstring>& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

const std::set<std::wstring> kBoth = {
    L"CArea", L"MText", L"MPicture", L"CPhotoFrame", L"CSliderPicture", L"CGifPicture", L"MProgress",
    L"MSlider", L"MLevelCtrl", L"MButton", L"CImageButton", L"CTextButton", L"CCheckButton", L"CRadioButton",
    L"CSelectButton", L"CColorButton", L"MSpinButton", L"CSpinButton", L"CSwitchButton", L"CIconButton",
    L"CTimerButton", L"CHelpButton", L"MEdit", L"MRichEdit", L"MEditEx", L"MComboBox", L"MTabCtrl",
    L"MTabLayout", L"MListBox", L"MPalette", L"CColorPalette", L"CColorSelect", L"CirclePalette", L"MenuItem",
    L"KeyboardCtrl", L"CDeviceCtrl", L"BatteryCtrl", L"KeyFuncType", L"KeyMenuFuncType", L"KeyFuncCtrl",
    L"KeyFuncValue", L"CRoundArea", L"ProfileList", L"MImageButton", L"MComboBox2", L"KeyTypeTab",
    L"KeyValueList", L"KeyboardTestCtrl", L"KeyTypeTab2"};
const std::set<std::wstring> kPanelOnly = {
    L"CRadioButton2", L"KeyFuncControl", L"MacroList", L"CRecordList", L"CDeviceList", L"UpgradeButton",
    L"DownloadButton", L"KeyLayerButton", L"ImageView", L"ColorView", L"MListBoxEx", L"CKeyTestCtrl",
    L"KeyLayerCtrl", L"MButton2", L"MSlider2"};
const std::set<std::wstring> kManagerOnly = {L"CComboBoxList", L"TextCheckButton", L"CTextArea",
                                             L"KeyFuncControl2"};

// A stand-in class with one constructor per argument shape; it records what
// the factory passed.
class Made : public Probe
{
public:
    Made(VREL::MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
        : Probe(owner, id, rect), title(title ? title : L"(null)")
    {
        SetControlVisible(visible);
        SetControlEnabled(enabled);
    }
    Made(VREL::MObject* owner, UINT id, CRect rect, int visible, int enabled) : Made(owner, id, rect, nullptr, visible, enabled) {}
    Made(VREL::MObject* owner, UINT id, CRect rect, int visible) : Made(owner, id, rect, nullptr, visible, 0) {}

    void InitControl(VREL::PaintManager* manager) override { initialisedWith = manager; }

    std::wstring title;
    VREL::PaintManager* initialisedWith = nullptr;
};

// Enters stand-ins for three names (one per factory scope) and puts back
// whatever was registered before.
class StandIns
{
public:
    StandIns()
    {
        Enter(VREL::MakeControlClass<Made, VREL::ControlForm::TitleVisibleEnabled>(L"MEdit"));
        Enter(VREL::MakeControlClass<Made, VREL::ControlForm::Visible>(L"MacroList"));
        Enter(VREL::MakeControlClass<Made, VREL::ControlForm::VisibleOne>(L"CComboBoxList"));
    }
    ~StandIns()
    {
        for (const auto& [name, previous] : m_previous)
            VREL::ControlFactory::Restore(name, previous);
    }

private:
    void Enter(const VREL::ControlClass& controlClass)
    {
        VREL::ControlConstructor previous = nullptr;
        EXPECT_TRUE(VREL::ControlFactory::Register(controlClass, &previous));
        m_previous.emplace_back(controlClass.name, previous);
    }
    std::vector<std::pair<const wchar_t*, VREL::ControlConstructor>> m_previous;
};

using FactoryTest = PopupFixture<>;

} // namespace

TEST(ControlFactory, EachFactoryKnowsExactlyItsClassNames)
{
    EXPECT_EQ(kBoth.size() + kPanelOnly.size() + kManagerOnly.size(), 68u);
    EXPECT_EQ(AsSet(VREL::ControlFactory::KnownNames(VREL::FACTORY_PAINT_MANAGER)), Union(kBoth, kManagerOnly));
    EXPECT_EQ(AsSet(VREL::ControlFactory::KnownNames(VREL::FACTORY_PANEL)), Union(kBoth, kPanelOnly));
}

TEST(ControlFactory, OnlyKnownNamesWithTheirOwnFormCanBeRegistered)
{
    VREL::ControlConstructor previous = nullptr;
    EXPECT_FALSE(VREL::ControlFactory::Register(
        VREL::MakeControlClass<Made, VREL::ControlForm::Visible>(L"MPanel"), &previous));
    EXPECT_FALSE(VREL::ControlFactory::Register(
        VREL::MakeControlClass<Made, VREL::ControlForm::Visible>(L"medit"), &previous));
    // "MEdit" is built with (title, visible, enabled).
    EXPECT_FALSE(VREL::ControlFactory::Register(
        VREL::MakeControlClass<Made, VREL::ControlForm::VisibleEnabled>(L"MEdit"), &previous));
    EXPECT_FALSE(VREL::ControlFactory::Register(VREL::ControlClass{L"MEdit", VREL::ControlForm::TitleVisibleEnabled,
                                                                   nullptr},
                                                &previous));
}

TEST_F(FactoryTest, UnknownNamesGiveNothingAndChangeNothing)
{
    StandIns standIns;
    RecordingOwner owner;
    VREL::MPanel panel(&owner, 9, CRect(0, 0, 100, 100), 1);
    panel.SetManager(&Manager());
    const size_t controls = Manager().GetControls()->size();
    const size_t children = panel.GetControls()->size();

    for (const wchar_t* name : {static_cast<const wchar_t*>(nullptr), L"", L"medit", L"MEdit ", L"MPanel",
                                L"CScrollVertical", L"NoSuchControl"})
    {
        EXPECT_EQ(Manager().CreateControl(VREL::CONTROL_KIND_CONTROL, &dialog, name, 1, CRect(), L"", 1, 1),
                  nullptr);
        EXPECT_EQ(panel.CreateControl(name, 1, CRect(), L"", 1, 1), nullptr);
    }
    EXPECT_EQ(Manager().GetControls()->size(), controls);
    EXPECT_EQ(panel.GetControls()->size(), children);
}

TEST_F(FactoryTest, EachFactoryBuildsOnlyItsOwnNames)
{
    StandIns standIns;
    RecordingOwner owner;
    VREL::MPanel panel(&owner, 9, CRect(0, 0, 100, 100), 1);
    panel.SetManager(&Manager());

    EXPECT_NE(Manager().CreateControl(&dialog, L"MEdit", 11, CRect(0, 0, 10, 10), L"t", 1, 1), nullptr);
    EXPECT_NE(Manager().CreateControl(&dialog, L"CComboBoxList", 12, CRect(0, 0, 10, 10), L"t", 1, 1), nullptr);
    EXPECT_EQ(Manager().CreateControl(&dialog, L"MacroList", 13, CRect(0, 0, 10, 10), L"t", 1, 1), nullptr);

    EXPECT_NE(panel.CreateControl(L"MEdit", 21, CRect(0, 0, 10, 10), L"t", 1, 1), nullptr);
    EXPECT_NE(panel.CreateControl(L"MacroList", 22, CRect(0, 0, 10, 10), L"t", 1, 1), nullptr);
    EXPECT_EQ(panel.CreateControl(L"CComboBoxList", 23, CRect(0, 0, 10, 10), L"t", 1, 1), nullptr);

    const auto constructible = AsSet(VREL::ControlFactory::ConstructibleNames(VREL::FACTORY_PANEL));
    EXPECT_TRUE(constructible.count(L"MacroList"));
    EXPECT_FALSE(constructible.count(L"CComboBoxList"));
}

TEST_F(FactoryTest, ArgumentsFollowTheConstructorForm)
{
    StandIns standIns;
    auto* edit = static_cast<Made*>(Manager().CreateControl(&dialog, L"MEdit", 11, CRect(1, 2, 3, 4), L"hi", 1, 0));
    auto* list = static_cast<Made*>(Manager().CreateControl(&dialog, L"CComboBoxList", 12, CRect(), L"hi", 0, 0));
    ASSERT_TRUE(edit && list);
    EXPECT_EQ(edit->title, L"hi");
    EXPECT_EQ(edit->GetRect(), CRect(1, 2, 3, 4));
    EXPECT_EQ(edit->IsEnabled(), 0);
    // (visible, 1): the title is dropped and enabled is always 1.
    EXPECT_EQ(list->title, L"(null)");
    EXPECT_EQ(list->IsVisible(), 0);
    EXPECT_EQ(list->IsEnabled(), 1);
}

TEST_F(FactoryTest, TheKindDecidesTheListAndEveryControlIsBound)
{
    StandIns standIns;
    const size_t controls = Manager().GetControls()->size();
    auto* area = static_cast<Made*>(Manager().CreateArea(&dialog, L"MEdit", 31, CRect(), L"", 1, 1));
    auto* control = static_cast<Made*>(Manager().CreateControl(&dialog, L"MEdit", 32, CRect(), L"", 1, 1));
    std::unique_ptr<Made> loose(
        static_cast<Made*>(Manager().CreateControl(2, &dialog, L"MEdit", 33, CRect(), L"", 1, 1)));
    ASSERT_TRUE(area && control && loose);

    EXPECT_EQ(Manager().GetControls()->size(), controls + 1);
    EXPECT_EQ(Manager().GetControl(31), area);
    EXPECT_EQ(Manager().GetControl(32), control);
    EXPECT_EQ(Manager().GetControl(33), nullptr);
    for (Made* made : {area, control, loose.get()})
    {
        EXPECT_EQ(made->GetManager(), &Manager());
        EXPECT_EQ(made->initialisedWith, &Manager());
        EXPECT_EQ(made->GetParantObject(), &dialog);
    }
}

TEST_F(FactoryTest, APanelBindsItsChildrenOnlyOnceItIsBound)
{
    StandIns standIns;
    RecordingOwner owner;
    VREL::MPanel panel(&owner, 9, CRect(0, 0, 100, 100), 1);
    auto* early = static_cast<Made*>(panel.CreateControl(L"MacroList", 41, CRect(), nullptr, 1, 1));
    panel.SetManager(&Manager());
    auto* late = static_cast<Made*>(panel.CreateArea(L"MacroList", 42, CRect(), nullptr, 1, 1));
    ASSERT_TRUE(early && late);

    EXPECT_EQ(early->GetManager(), nullptr);
    EXPECT_EQ(late->GetManager(), &Manager());
    EXPECT_EQ(early->GetParantObject(), &panel);
    EXPECT_EQ(panel.GetControl(41), early);
    EXPECT_EQ(panel.GetControl(42), late);
    // The control list holds the two bars and the one control; the area sits apart.
    EXPECT_EQ(panel.GetControls()->size(), 3u);
}

// Whatever families have registered by now: none was refused, and each name
// a factory can build yields a bound control.
TEST_F(FactoryTest, EveryConstructibleNameYieldsABoundControl)
{
    EXPECT_TRUE(VREL::ControlFactory::RefusedRegistrations().empty());
    for (VREL::ControlFactoryScope scope : {VREL::FACTORY_PAINT_MANAGER, VREL::FACTORY_PANEL})
    {
        for (const CString& name : VREL::ControlFactory::ConstructibleNames(scope))
        {
            SCOPED_TRACE(std::wstring(name.GetString()));
            std::unique_ptr<VREL::MControl> made;
            if (scope == VREL::FACTORY_PAINT_MANAGER)
            {
                made.reset(Manager().CreateControl(2, &dialog, name, 50, CRect(0, 0, 40, 20), L"x", 1, 1));
            }
            else
            {
                VREL::MPanel panel(&dialog, 9, CRect(0, 0, 100, 100), 1);
                panel.SetManager(&Manager());
                made.reset(panel.CreateControl(2, &panel, name, 50, CRect(0, 0, 40, 20), L"x", 1, 1));
                ASSERT_NE(made, nullptr);
                made->SetParent(&dialog);
            }
            ASSERT_NE(made, nullptr);
            EXPECT_EQ(made->GetManager(), &Manager());
        }
    }
}

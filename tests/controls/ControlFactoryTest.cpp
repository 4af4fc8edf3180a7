// Every basic control is made by its factory name, in the factories that
// know it, with the constructor arguments of its form.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <typeinfo>

#include "tests/controls/ButtonTestSupport.h"
#include "ui/controls/Areas.h"
#include "ui/controls/CheckButtons.h"
#include "ui/controls/MText.h"
#include "ui/controls/PushButtons.h"
#include "ui/framework/ControlFactory.h"

namespace {

struct FactoryCase
{
    const wchar_t* name;
    VREL::ControlFactoryScope scope;
    std::function<bool(VREL::MControl*)> isRightClass;
    // The control takes the caller's enabled flag (else it is always 1, or
    // 0 for the static text).
    int enabledWhenAskedFor0;
};

std::string Narrow(const wchar_t* text)
{
    std::string narrow;
    for (; *text; ++text)
        narrow += static_cast<char>(*text);
    return narrow;
}

template <class T>
std::function<bool(VREL::MControl*)> Is()
{
    return [](VREL::MControl* c) { return typeid(*c) == typeid(T); };
}

const FactoryCase kCases[] = {
    {L"MButton", VREL::FACTORY_BOTH, Is<VREL::MButton>(), 0},
    {L"MButton2", VREL::FACTORY_PANEL, Is<VREL::MButton2>(), 1},
    {L"MImageButton", VREL::FACTORY_BOTH, Is<VREL::MImageButton>(), 1},
    {L"CImageButton", VREL::FACTORY_BOTH, Is<VREL::CImageButton>(), 0},
    {L"CTextButton", VREL::FACTORY_BOTH, Is<VREL::CTextButton>(), 0},
    {L"UpgradeButton", VREL::FACTORY_PANEL, Is<VREL::UpgradeButton>(), 1},
    {L"DownloadButton", VREL::FACTORY_PANEL, Is<VREL::DownloadButton>(), 1},
    {L"CIconButton", VREL::FACTORY_BOTH, Is<VREL::CIconButton>(), 0},
    {L"CTimerButton", VREL::FACTORY_BOTH, Is<VREL::CTimerButton>(), 0},
    {L"CHelpButton", VREL::FACTORY_BOTH, Is<VREL::CHelpButton>(), 0},
    {L"CCheckButton", VREL::FACTORY_BOTH, Is<VREL::CCheckButton>(), 0},
    {L"TextCheckButton", VREL::FACTORY_PAINT_MANAGER, Is<VREL::TextCheckButton>(), 1},
    {L"CRadioButton", VREL::FACTORY_BOTH, Is<VREL::CRadioButton>(), 0},
    {L"CRadioButton2", VREL::FACTORY_PANEL, Is<VREL::CRadioButton2>(), 0},
    {L"KeyLayerButton", VREL::FACTORY_PANEL, Is<VREL::KeyLayerButton>(), 1},
    {L"CSelectButton", VREL::FACTORY_BOTH, Is<VREL::CSelectButton>(), 0},
    {L"CColorButton", VREL::FACTORY_BOTH, Is<VREL::CColorButton>(), 0},
    {L"CSwitchButton", VREL::FACTORY_BOTH, Is<VREL::CSwitchButton>(), 0},
    {L"CArea", VREL::FACTORY_BOTH, Is<VREL::CArea>(), 1},
    {L"CRoundArea", VREL::FACTORY_BOTH, Is<VREL::CRoundArea>(), 1},
    {L"CTextArea", VREL::FACTORY_PAINT_MANAGER, Is<VREL::CTextArea>(), 1},
    {L"MText", VREL::FACTORY_BOTH, Is<VREL::MText>(), 0},
};

TEST(ControlFactory, MakesEveryBasicControlByNameInTheFactoriesThatKnowIt)
{
    ButtonTest::RecordingOwner owner;
    const CRect rect(1, 2, 31, 22);
    for (const FactoryCase& c : kCases)
    {
        for (VREL::ControlFactoryScope scope : {VREL::FACTORY_PAINT_MANAGER, VREL::FACTORY_PANEL})
        {
            SCOPED_TRACE(Narrow(c.name) + (scope == VREL::FACTORY_PANEL ? " in a panel" : " on a window"));
            const VREL::ControlArgs args{&owner, 9, rect, L"t", 1, 0};
            std::unique_ptr<VREL::MControl> control(VREL::ControlFactory::Construct(scope, c.name, args));
            if (!(c.scope & scope))
            {
                EXPECT_EQ(nullptr, control);
                continue;
            }
            ASSERT_NE(nullptr, control);
            EXPECT_TRUE(c.isRightClass(control.get()));
            EXPECT_EQ(9u, control->GetControlID());
            EXPECT_TRUE(control->GetRect().EqualRect(rect));
            EXPECT_EQ(c.enabledWhenAskedFor0, control->IsEnabled());
            EXPECT_EQ(&owner, control->GetParantObject());
        }
    }
}

} // namespace

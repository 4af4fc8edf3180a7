// The sliders, spin box, tab strip, pictures, progress and level are made by
// name, in the factories that know them, with their constructor forms.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <typeinfo>

#include "tests/controls/SliderTabTestSupport.h"
#include "ui/controls/Picture.h"
#include "ui/controls/Progress.h"
#include "ui/controls/Slider.h"
#include "ui/controls/SpinButton.h"
#include "ui/controls/TabCtrl.h"
#include "ui/framework/ControlFactory.h"

using namespace VREL;

namespace {

struct FactoryCase
{
    const char* name;
    ControlFactoryScope scope;
    std::function<bool(MControl*)> isRightClass;
    // The enabled flag a control gets when the caller asks for 0: the
    // caller's for most, always 1 where the form passes 1 or ignores it.
    int enabledWhenAskedFor0;
};

template <class T> std::function<bool(MControl*)> Is()
{
    return [](MControl* c) { return typeid(*c) == typeid(T); };
}

std::wstring Wide(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

} // namespace

TEST(SliderTabFactory, MakesEachClassByNameWhereItIsKnown)
{
    const FactoryCase cases[] = {
        {"MSlider", FACTORY_BOTH, Is<MSlider>(), 0},
        {"MSlider2", FACTORY_PANEL, Is<MSlider2>(), 1},
        {"MSpinButton", FACTORY_BOTH, Is<MSpinButton>(), 1},
        {"MTabCtrl", FACTORY_BOTH, Is<MTabCtrl>(), 0},
        {"MTabLayout", FACTORY_BOTH, Is<MTabLayout>(), 1},
        {"MPicture", FACTORY_BOTH, Is<MPicture>(), 0},
        {"CPhotoFrame", FACTORY_BOTH, Is<CPhotoFrame>(), 0},
        {"CSliderPicture", FACTORY_BOTH, Is<CSliderPicture>(), 0},
        {"CGifPicture", FACTORY_BOTH, Is<CGifPicture>(), 0},
        {"MProgress", FACTORY_BOTH, Is<MProgress>(), 0},
        {"MLevelCtrl", FACTORY_BOTH, Is<MLevelCtrl>(), 0},
    };
    slidertest::RecordingOwner owner;
    const CRect rect(1, 2, 61, 32);
    for (const FactoryCase& c : cases)
    {
        const std::wstring name = Wide(c.name);
        for (ControlFactoryScope scope : {FACTORY_PAINT_MANAGER, FACTORY_PANEL})
        {
            SCOPED_TRACE(std::string(c.name) + (scope == FACTORY_PANEL ? " in a panel" : " on a window"));
            const ControlArgs args{&owner, 9, rect, L"t", 1, 0};
            std::unique_ptr<MControl> control(ControlFactory::Construct(scope, name.c_str(), args));
            if (!(c.scope & scope))
            {
                EXPECT_EQ(control, nullptr);
                continue;
            }
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(c.isRightClass(control.get()));
            EXPECT_EQ(control->GetControlID(), 9u);
            EXPECT_EQ(control->GetRect(), rect);
            EXPECT_EQ(control->IsEnabled(), c.enabledWhenAskedFor0);
            EXPECT_EQ(control->IsClass(L"MControl"), 1);
        }
    }
}

// A layout shown in a keyboard picture: every key the file gives, at the
// place where the keyboard image draws it.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window/KeyboardLayout.h"
#include "app/window/LayoutPicture.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace {

using namespace tarnwell;

std::wstring ShippedLayoutPath()
{
    std::wstring path;
    for (const char* c = TARNWELL_BIN_FOLDER; *c != 0; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path + L"layouts\\TK104.xml";
}

// The keyboard image's own margin around the layout (scripts/keyboard_layouts.py).
constexpr int kImageMargin = 15;

TEST(LayoutPicture, HoldsEveryKeyWhereTheImageDrawsIt)
{
    KeyboardLayout layout;
    ASSERT_TRUE(layout.Read(ShippedLayoutPath().c_str()));
    std::vector<CString> names(layout.Keys().size(), CString(L"k"));

    for (int mode : {VREL::KEYBOARD_MODE_CUSTOM, VREL::KEYBOARD_MODE_LIGHT}) {
        SCOPED_TRACE(mode);
        VREL::KeyboardCtrl picture(nullptr, 63, CRect(), 1);
        picture.SetKeyboardCtrlMode(mode);
        // Keys of an earlier selection go.
        picture.AddKeyItem(L"old", L"old", 4, CRect(0, 0, 10, 10), L"", 0);
        ASSERT_EQ(ShowLayoutInPicture(picture, layout, names), static_cast<int>(layout.Keys().size()));

        const CRect place = LayoutPictureRect(layout);
        EXPECT_EQ(place, CRect(layout.XPos() - 10, layout.YPos() - 10, layout.XPos() + layout.Width() + 20,
                               layout.YPos() + layout.Height() + 20));
        EXPECT_EQ(picture.GetRect(), place);
        EXPECT_EQ(picture.GetDrawOffset(), CPoint(kImageMargin, kImageMargin));

        const std::vector<VREL::KEY_INFO> keys = picture.GetKeyItems();
        ASSERT_EQ(keys.size(), layout.Keys().size());
        for (size_t i = 0; i < keys.size(); ++i) {
            const LayoutKey& expected = layout.Keys()[i];
            EXPECT_EQ(keys[i].keyCode, expected.code);
            EXPECT_EQ(keys[i].rect, CRect(expected.rect));
            // In the window: inside the picture, which the image covers.
            CRect onScreen = CRect(expected.rect);
            onScreen.OffsetRect(place.left + kImageMargin, place.top + kImageMargin);
            EXPECT_EQ(picture.GetKeyRect(expected.code), onScreen);
            EXPECT_TRUE(onScreen.left >= place.left && onScreen.right <= place.right && onScreen.top >= place.top &&
                        onScreen.bottom <= place.bottom);
        }
    }
}

TEST(LayoutPicture, ALayoutWithoutKeyboardEmptiesThePicture)
{
    KeyboardLayout layout;
    ASSERT_TRUE(layout.ReadText(L"<device.info><light rgb_keyboard=\"1\"/></device.info>"));
    VREL::KeyboardCtrl picture(nullptr, 118, CRect(5, 5, 50, 50), 1);
    picture.AddKeyItem(L"old", L"old", 4, CRect(0, 0, 10, 10), L"", 0);
    EXPECT_EQ(ShowLayoutInPicture(picture, layout, {}), 0);
    EXPECT_EQ(picture.GetKeyCount(), 0);
}

} // namespace

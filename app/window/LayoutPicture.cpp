#include "app/window/LayoutPicture.h"

#include "ui/keyboard/KeyboardCtrl.h"

namespace tarnwell {

CRect LayoutPictureRect(const KeyboardLayout& layout)
{
    return CRect(layout.XPos() - kLayoutPictureMargin, layout.YPos() - kLayoutPictureMargin,
                 layout.XPos() + layout.Width() + 2 * kLayoutPictureMargin,
                 layout.YPos() + layout.Height() + 2 * kLayoutPictureMargin);
}

int ShowLayoutInPicture(VREL::KeyboardCtrl& picture, const KeyboardLayout& layout, const std::vector<CString>& names)
{
    picture.ClearItem();
    if (!layout.HasKeyboard())
        return 0;
    picture.SetRect(LayoutPictureRect(layout));
    picture.SetKeyboardImage(MakeKeyboardImagePath(layout.Image()).c_str());
    picture.SetWidthAndHeight(layout.Width(), layout.Height());
    picture.SetKeyboardColor(layout.Background());
    const std::vector<LayoutKey>& keys = layout.Keys();
    for (size_t i = 0; i < keys.size(); ++i) {
        const CString name = i < names.size() ? names[i] : CString();
        picture.AddKeyItem(name.GetString(), name.GetString(), keys[i].code, CRect(keys[i].rect), L"",
                           kLayoutKeyColour);
    }
    return picture.GetKeyCount();
}

} // namespace tarnwell

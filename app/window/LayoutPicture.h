#pragma once

// Shows a layout file in a keyboard picture: the picture's place (the image's
// place with its margin), image, layout size, background and keys. Both
// pictures of the main window are filled by it, so that a key has the same
// index in each.

#include <vector>

#include "app/window/KeyboardLayout.h"
#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"

namespace VREL {
class KeyboardCtrl;
}

namespace tarnwell {

// The picture's control reaches this far beyond the image's place on the
// left and top, and twice as far on the right and bottom; the keyboard image
// covers the whole control.
constexpr int kLayoutPictureMargin = 10;
constexpr COLORREF kLayoutKeyColour = 0x232323;

CRect LayoutPictureRect(const KeyboardLayout& layout);

// Empties the picture, then, when the layout has a keyboard, places it and
// adds every key with its name (names: one per layout key, in order).
// Returns the keys the picture holds.
int ShowLayoutInPicture(VREL::KeyboardCtrl& picture, const KeyboardLayout& layout, const std::vector<CString>& names);

} // namespace tarnwell

#pragma once

// The extended menu window finds its item list under this name; the list
// lives with its two sister lists.

#include "ui/keyboard/KeyFuncLists.h"

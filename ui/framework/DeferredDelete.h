#pragma once

// When an object of the library may be freed.
//
// A window message can reach code that still runs inside an object its
// owner has just let go: a button whose click handler removes the button, a
// dialog closed from its own OK button, an edit field removed when its edit
// ends, a timer button removed from the notification its own tick sends.
// The rule of the library is that such an object is freed only when nothing
// on the stack can still be inside it:
//
// - Every window procedure of the library and every multimedia tick runs in
//   a MessageScope. An object handed to DeleteLater while a scope is open on
//   the calling thread is freed when that thread's outermost scope closes;
//   outside every scope it is freed at once.
// - A ControlPin held by any thread keeps every object handed to DeleteLater
//   alive until the last pin goes. Threads other than the window's own hold
//   one while they walk a copy of a control list or use a control they
//   looked up (PaintManager::CopyControls hands one out with the copy).
//
// Controls are withdrawn from their manager when they are let go (see
// MControl::Withdraw), so code that still runs inside a let-go control finds
// it cut off from hover, focus and timers, and the manager refuses to take it
// back; it may still read its own members and ask for repaints, which do
// nothing.

#include <windows.h>

#include <vector>

#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API MessageScope
{
public:
    MessageScope();
    ~MessageScope();

    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;

    // True while a scope is open on the calling thread.
    static bool Open();
};

// Keeps let-go objects alive while held; any thread may hold one.
class VREL_API ControlPin
{
public:
    ControlPin();
    ~ControlPin();
    ControlPin(const ControlPin&);
    ControlPin& operator=(const ControlPin&) = delete;
};

// Frees object with destroy now or, under an open scope or a pin, later
// (see above).
VREL_API void DeleteLater(void* object, void (*destroy)(void*));

template <class T>
void DeleteLater(T* object)
{
    if (object)
        DeleteLater(static_cast<void*>(object), [](void* p) { delete static_cast<T*>(p); });
}

// Objects handed to DeleteLater that are not freed yet (for tests).
VREL_API size_t PendingDeletes();

} // namespace VREL

#include "ui/framework/DeferredDelete.h"

#include <algorithm>

#include "ui/framework/CriticalSection.h"

namespace VREL {

namespace {

struct Doomed
{
    DWORD thread;
    void* object;
    void (*destroy)(void*);
};

struct Graveyard
{
    CriticalSection lock;
    std::vector<Doomed> doomed;
    // Threads that have a scope open now, once per open scope.
    std::vector<DWORD> openScopes;
    int pins = 0;
};

Graveyard& TheGraveyard()
{
    static Graveyard* graveyard = new Graveyard; // outlives every static destructor
    return *graveyard;
}

thread_local int t_scopeDepth = 0;

// Frees what may be freed now: nothing while a pin is held; otherwise what
// this thread let go, or with everyThread what any thread outside its
// scopes let go. Freeing may let go of more (a control's children), so it
// repeats until nothing is left to take.
void Sweep(bool everyThread)
{
    Graveyard& g = TheGraveyard();
    const DWORD self = ::GetCurrentThreadId();
    for (;;)
    {
        std::vector<Doomed> now;
        {
            ScopedLock lock(g.lock);
            if (g.pins > 0)
                return;
            auto due = [&](const Doomed& d) {
                if (d.thread == self)
                    return t_scopeDepth == 0;
                return everyThread &&
                       std::find(g.openScopes.begin(), g.openScopes.end(), d.thread) == g.openScopes.end();
            };
            auto keep = std::stable_partition(g.doomed.begin(), g.doomed.end(), [&](const Doomed& d) { return !due(d); });
            now.assign(keep, g.doomed.end());
            g.doomed.erase(keep, g.doomed.end());
        }
        if (now.empty())
            return;
        for (const Doomed& d : now)
            d.destroy(d.object);
    }
}

} // namespace

MessageScope::MessageScope()
{
    Graveyard& g = TheGraveyard();
    ScopedLock lock(g.lock);
    ++t_scopeDepth;
    g.openScopes.push_back(::GetCurrentThreadId());
}

MessageScope::~MessageScope()
{
    Graveyard& g = TheGraveyard();
    {
        ScopedLock lock(g.lock);
        --t_scopeDepth;
        auto it = std::find(g.openScopes.begin(), g.openScopes.end(), ::GetCurrentThreadId());
        if (it != g.openScopes.end())
            g.openScopes.erase(it);
    }
    if (t_scopeDepth == 0)
        Sweep(false);
}

bool MessageScope::Open() { return t_scopeDepth > 0; }

ControlPin::ControlPin()
{
    Graveyard& g = TheGraveyard();
    ScopedLock lock(g.lock);
    ++g.pins;
}

ControlPin::ControlPin(const ControlPin&) : ControlPin() {}

ControlPin::~ControlPin()
{
    Graveyard& g = TheGraveyard();
    bool last;
    {
        ScopedLock lock(g.lock);
        last = --g.pins == 0;
    }
    if (last)
        Sweep(true);
}

void DeleteLater(void* object, void (*destroy)(void*))
{
    if (!object || !destroy)
        return;
    Graveyard& g = TheGraveyard();
    {
        ScopedLock lock(g.lock);
        if (t_scopeDepth > 0 || g.pins > 0)
        {
            g.doomed.push_back(Doomed{::GetCurrentThreadId(), object, destroy});
            return;
        }
    }
    destroy(object);
}

size_t PendingDeletes()
{
    Graveyard& g = TheGraveyard();
    ScopedLock lock(g.lock);
    return g.doomed.size();
}

} // namespace VREL

// Window timers of controls and of the manager itself.

#include "ui/framework/PaintManager.h"

#include <algorithm>

#include "ui/framework/MControl.h"

namespace VREL {

namespace {

// Control timers take ids below this; the window's own timers (a dialog's
// MWindow::SetTimer) use ids from here up.
constexpr UINT kControlTimerIdCycle = 240;
// Never given to a control: 0 is no id, the others are the manager's own.
constexpr UINT kReservedTimerIds[] = {0, TIMER_MESSAGE_HOLD, TIMER_MESSAGE_FADE, TIMER_PROGRESS};

bool Reserved(UINT id)
{
    return std::find(std::begin(kReservedTimerIds), std::end(kReservedTimerIds), id) != std::end(kReservedTimerIds);
}

} // namespace

void PaintManager::StartOwnTimer(UINT id, UINT elapse)
{
    if (HasWindow())
        ::SetTimer(m_hWnd, id, elapse, nullptr);
}

void PaintManager::StopOwnTimer(UINT id)
{
    if (HasWindow())
        ::KillTimer(m_hWnd, id);
}

UINT PaintManager::NextControlTimerId()
{
    // Once round the cycle at most: an id that the manager keeps for itself
    // or that a record of this window still holds (running or killed, as a
    // killed record keeps its id) is passed over.
    for (UINT tries = 0; tries < kControlTimerIdCycle; ++tries)
    {
        const UINT id = (m_windowTimerCounter + 1) % kControlTimerIdCycle;
        m_windowTimerCounter = id;
        if (Reserved(id))
            continue;
        const bool held = std::any_of(m_timerRecords.begin(), m_timerRecords.end(), [&](const auto& record) {
            return record->window == m_hWnd && record->id == id;
        });
        if (!held)
            return id;
    }
    return 0;
}

int PaintManager::SetTimer(MControl* control, UINT key, UINT elapse)
{
    // A withdrawn control waits to be freed: a timer would outlive it.
    if (!control || control->IsWithdrawn())
        return 0;
    ScopedLock lock(m_timerLock);
    for (const auto& record : m_timerRecords)
    {
        if (record->control != control || record->key != key || record->window != m_hWnd)
            continue;
        // A running timer keeps its period.
        if (!record->killed)
            return 0;
        if (!HasWindow() || !::SetTimer(m_hWnd, record->id, elapse, nullptr))
            return 0;
        record->killed = 0;
        return 1;
    }
    if (!HasWindow())
        return 0;
    const UINT id = NextControlTimerId();
    if (id == 0 || !::SetTimer(m_hWnd, id, elapse, nullptr))
        return 0;
    m_timerRecords.push_back(std::make_unique<ControlTimerRecord>(ControlTimerRecord{m_hWnd, key, id, 0, control}));
    return 1;
}

int PaintManager::KillTimer(MControl* control, UINT key)
{
    ScopedLock lock(m_timerLock);
    for (const auto& record : m_timerRecords)
    {
        if (record->control != control || record->window != m_hWnd || record->key != key || record->killed)
            continue;
        if (HasWindow())
            ::KillTimer(m_hWnd, record->id);
        record->killed = 1;
        return 1;
    }
    return 0;
}

void PaintManager::KillTimer(MControl* control)
{
    ScopedLock lock(m_timerLock);
    // Every record of the control goes, also one made for an earlier window
    // of this manager: the control may be on its way out.
    auto gone = std::remove_if(m_timerRecords.begin(), m_timerRecords.end(), [&](const auto& record) {
        if (record->control != control)
            return false;
        if (!record->killed && record->window && ::IsWindow(record->window))
            ::KillTimer(record->window, record->id);
        return true;
    });
    m_timerRecords.erase(gone, m_timerRecords.end());
}

void PaintManager::ClearTimers()
{
    ScopedLock lock(m_timerLock);
    for (const auto& record : m_timerRecords)
    {
        if (record->window == m_hWnd && !record->killed && HasWindow())
            ::KillTimer(m_hWnd, record->id);
    }
    m_timerRecords.clear();
}

UINT PaintManager::GetControlTimerId(MControl* control, UINT key)
{
    ScopedLock lock(m_timerLock);
    for (const auto& record : m_timerRecords)
    {
        if (record->control == control && record->key == key && record->window == m_hWnd)
            return record->id;
    }
    return 0;
}

void PaintManager::OnTimer(UINT id)
{
    switch (id)
    {
    case TIMER_CARET_BLINK:
        OnCaretBlink();
        return;
    case TIMER_MESSAGE_HOLD:
        OnMessageHold();
        return;
    case TIMER_MESSAGE_FADE:
        OnMessageFade();
        return;
    case TIMER_PROGRESS:
        OnProgressStep();
        return;
    default:
        break;
    }

    // A handler may start and stop timers, and a control it removes drops
    // its records. So the walk goes over a snapshot, each control ticks only
    // while its record still runs, and no lock is held while it ticks (its
    // handler may wait for the fast tick, which may want this lock).
    std::vector<MControl*> due;
    {
        ScopedLock lock(m_timerLock);
        for (const auto& record : m_timerRecords)
        {
            if (record->window == m_hWnd && record->id == id && !record->killed)
                due.push_back(record->control);
        }
    }
    for (MControl* control : due)
    {
        bool running;
        {
            ScopedLock lock(m_timerLock);
            running = std::any_of(m_timerRecords.begin(), m_timerRecords.end(), [&](const auto& record) {
                return record->control == control && record->window == m_hWnd && record->id == id &&
                       !record->killed;
            });
        }
        // Removed controls lose their records, but stay allocated until the
        // message is over.
        if (running && !control->IsWithdrawn())
            control->OnTimer();
    }
}

} // namespace VREL

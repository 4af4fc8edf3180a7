#include "ui/framework/MTimer.h"

#include <mmsystem.h>

#include <algorithm>

#include "ui/framework/DeferredDelete.h"
#include "ui/framework/Manager.h"

namespace VREL {

namespace {

// Guards the process-wide list of timer objects, the count of running timers
// and the resolution flag. Taken before a record lock, never inside one.
CriticalSection& RegistryLock()
{
    static CriticalSection lock;
    return lock;
}

// Timers of all objects that run now; the resolution stays raised while
// this is above 0.
size_t g_runningTimers = 0;

// Depth of MTimer ticks on the current thread. A synchronous kill issued
// from inside a tick would wait for that very tick.
thread_local int t_tickDepth = 0;

struct TickScope
{
    TickScope() { ++t_tickDepth; }
    ~TickScope() { --t_tickDepth; }
};

struct PendingKill
{
    UINT id;
    std::atomic<int>* pending;
};

DWORD WINAPI KillOutsideTick(LPVOID context)
{
    PendingKill* kill = static_cast<PendingKill*>(context);
    ::timeKillEvent(kill->id);
    --*kill->pending;
    delete kill;
    return 0;
}

auto ById(UINT id)
{
    return [id](const MTimerRecord& record) { return record.id == id; };
}

auto ByName(const CString& name)
{
    return [name](const MTimerRecord& record) { return record.name == name; };
}

} // namespace

int MTimer::m_bIsTmierOK = 0;
UINT MTimer::m_uAccuracy = 1;

MTimer::MTimer() : m_pendingKills(0)
{
    ScopedLock lock(RegistryLock());
    LiveTimerObjects().push_back(this);
}

MTimer::~MTimer()
{
    KillTimer();
    // Timers stopped from inside a tick are released by a helper thread,
    // whose tick may still look at this object until then.
    if (t_tickDepth == 0)
    {
        while (m_pendingKills.load() > 0)
            ::Sleep(1);
    }
    ScopedLock lock(RegistryLock());
    std::vector<MTimer*>& live = LiveTimerObjects();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void MTimer::OnMTimer(UINT, CString) {}

void MTimer::RaiseResolution()
{
    if (m_bIsTmierOK)
        return;
    TIMECAPS caps = {};
    if (::timeGetDevCaps(&caps, sizeof(caps)) != TIMERR_NOERROR)
        return;
    m_uAccuracy = std::min(std::max<UINT>(caps.wPeriodMin, 1), caps.wPeriodMax);
    ::timeBeginPeriod(m_uAccuracy);
    m_bIsTmierOK = 1;
}

void MTimer::ReleaseResolution(size_t count)
{
    ScopedLock lock(RegistryLock());
    g_runningTimers -= std::min(count, g_runningTimers);
    if (g_runningTimers == 0 && m_bIsTmierOK)
    {
        ::timeEndPeriod(m_uAccuracy);
        m_bIsTmierOK = 0;
    }
}

UINT MTimer::SetTimer(UINT period, CString name, int application)
{
    UINT accuracy;
    {
        ScopedLock lock(RegistryLock());
        RaiseResolution();
        ++g_runningTimers;
        accuracy = m_uAccuracy;
    }
    UINT id;
    {
        // The record lock is held across the start so that the first tick
        // finds the record.
        ScopedLock lock(m_recordLock);
        id = ::timeSetEvent(period, accuracy, TimerCallProc, reinterpret_cast<DWORD_PTR>(this),
                            TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
        if (id)
            m_records.push_back(MTimerRecord{id, name, application});
    }
    if (!id)
        ReleaseResolution(1);
    return id;
}

void CALLBACK MTimer::TimerCallProc(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR)
{
    MTimer* timer = reinterpret_cast<MTimer*>(user);
    if (!timer)
        return;
    // A timer stopped from inside a tick may still fire until the service
    // releases it; without its record the tick is dropped.
    if (!timer->GetTimerIsRun(id))
        return;
    TickScope scope;
    // What the tick lets go of (a control removed by the notification its
    // own tick sends) is freed once the tick is over.
    MessageScope messageScope;
    timer->OnMTimer(id);
    if (timer->IsAppTimer(id))
        timer->OnMTimer(id, timer->GetTimerName(id));
}

void MTimer::StopTimers(const std::vector<UINT>& ids)
{
    if (ids.empty())
        return;
    for (UINT id : ids)
    {
        if (t_tickDepth == 0)
        {
            ::timeKillEvent(id);
            continue;
        }
        // Inside a tick the synchronous kill would wait for this very tick:
        // let a helper thread stop the timer once the tick has returned.
        ++m_pendingKills;
        PendingKill* kill = new PendingKill{id, &m_pendingKills};
        if (!::QueueUserWorkItem(KillOutsideTick, kill, WT_EXECUTEDEFAULT))
        {
            delete kill;
            --m_pendingKills;
            ::timeKillEvent(id);
        }
    }
    ReleaseResolution(ids.size());
}

template <class Match>
int MTimer::KillFirst(Match match)
{
    std::vector<UINT> stopped;
    int left;
    {
        ScopedLock lock(m_recordLock);
        auto it = std::find_if(m_records.begin(), m_records.end(), match);
        if (it != m_records.end())
        {
            stopped.push_back(it->id);
            m_records.erase(it);
        }
        left = static_cast<int>(m_records.size());
    }
    StopTimers(stopped);
    return left;
}

int MTimer::KillTimer(UINT id) { return KillFirst(ById(id)); }

int MTimer::KillTimer(CString name) { return KillFirst(ByName(name)); }

void MTimer::KillTimer()
{
    std::vector<UINT> stopped;
    {
        ScopedLock lock(m_recordLock);
        for (const MTimerRecord& record : m_records)
            stopped.push_back(record.id);
        m_records.clear();
    }
    StopTimers(stopped);
}

template <class Match, class Result, class Read>
Result MTimer::ReadFirst(Match match, Result none, Read read)
{
    ScopedLock lock(m_recordLock);
    for (const MTimerRecord& record : m_records)
    {
        if (match(record))
            return read(record);
    }
    return none;
}

int MTimer::GetTimerIsRun(UINT id)
{
    return ReadFirst(ById(id), 0, [](const MTimerRecord&) { return 1; });
}

int MTimer::GetTimerIsRun(CString name)
{
    return ReadFirst(ByName(name), 0, [](const MTimerRecord&) { return 1; });
}

CString MTimer::GetTimerName(UINT id)
{
    return ReadFirst(ById(id), CString(), [](const MTimerRecord& record) { return record.name; });
}

int MTimer::IsAppTimer(UINT id)
{
    return ReadFirst(ById(id), 0, [](const MTimerRecord& record) { return record.application; });
}

MTimer* MTimer::GetMTimer(UINT id)
{
    ScopedLock lock(RegistryLock());
    for (MTimer* timer : LiveTimerObjects())
    {
        if (timer->GetTimerIsRun(id))
            return timer;
    }
    return nullptr;
}

} // namespace VREL

#pragma once

// Periodic timers of the multimedia timer service. They tick on the
// service's own thread, independent of any message queue. Every live timer
// object is listed process-wide so that a timer id can be traced back to its
// owner.
//
// Lifetime rules: a timer is stopped synchronously, so once KillTimer (or the
// destructor) returns no tick of that timer runs any more. A timer stopped
// from inside one of its own ticks stops ticking at once and is released by
// the service right after the tick. A timer object must not be destroyed from
// inside one of its own ticks. A subclass stops its timers (KillTimer()) in
// its own destructor: the base destructor runs after the subclass is gone,
// and a tick arriving in between would call into a destroyed object. The
// system timer resolution is raised while at least one timer of the process
// runs.

#include <windows.h>

#include <atomic>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

struct MTimerRecord
{
    UINT id;
    CString name;
    // Nonzero: the tick also calls OnMTimer(id, name).
    int application;
};

class VREL_API MTimer
{
public:
    MTimer();

    MTimer(const MTimer&) = delete;
    MTimer& operator=(const MTimer&) = delete;

    // ---- virtual operations, in slot order ----
    // Each tick of an application timer, after OnMTimer(id).
    virtual void OnMTimer(UINT id, CString name);
    // Every tick, on the multimedia timer thread.
    virtual void OnMTimer(UINT id) = 0;
    virtual ~MTimer();

    // Starts a periodic timer; returns its id, 0 when the system refused it.
    UINT SetTimer(UINT period, CString name, int application);
    static void CALLBACK TimerCallProc(UINT id, UINT msg, DWORD_PTR user, DWORD_PTR dw1, DWORD_PTR dw2);

    // Stop and remove one record; both return the number of records left.
    int KillTimer(UINT id);
    int KillTimer(CString name);
    // Stop and remove every record.
    void KillTimer();

    int GetTimerIsRun(UINT id);
    int GetTimerIsRun(CString name);
    CString GetTimerName(UINT id);
    int IsAppTimer(UINT id);

    // The first live timer object holding a record with that id, or null.
    static MTimer* GetMTimer(UINT id);

    // 1 while this class holds the system timer resolution raised.
    static int m_bIsTmierOK;
    // Resolution in ms passed to timeBeginPeriod, timeEndPeriod, timeSetEvent.
    static UINT m_uAccuracy;

private:
    // Stops and removes the first record that match accepts; returns the
    // number of records left.
    template <class Match>
    int KillFirst(Match match);
    // What read makes of the first record that match accepts, under the
    // record lock; none when no record matches.
    template <class Match, class Result, class Read>
    Result ReadFirst(Match match, Result none, Read read);
    // Stops the system timers in ids and lowers the resolution for each.
    void StopTimers(const std::vector<UINT>& ids);
    static void RaiseResolution();
    static void ReleaseResolution(size_t count);

    std::vector<MTimerRecord> m_records;
    // Guards m_records: the tick reads them on the timer thread.
    CriticalSection m_recordLock;
    // Timers stopped from inside a tick whose release by the service is
    // still pending; the destructor waits for them.
    std::atomic<int> m_pendingKills;
};

} // namespace VREL

// The program's worker fills and clears the lists while the UI thread paints
// them and the user scrolls and points at them. Here a second thread appends
// and clears rows of each list while this thread paints, scrolls, hovers,
// presses and deletes, with no crash and no hang; then, appending without
// clearing, every row arrives, in order.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/DibCanvas.h"
#include "ui/framework/MControl.h"
#include "ui/framework/MObject.h"
#include "ui/lists/IconLists.h"
#include "ui/lists/MacroList.h"
#include "ui/lists/RecordList.h"

using VREL::CRecordList;
using VREL::MacroList;
using VREL::MListBoxEx;
using VREL::ProfileList;
using VREL::RowList;

namespace {

constexpr int kCanvas = 360;
const CRect kPlace(10, 10, 310, 310);
constexpr auto kChurnTime = std::chrono::milliseconds(900);
constexpr int kOrderedRows = 1200;

// Reports and repaint requests come from both threads: nothing is kept, a
// redraw only marks the sender's picture stale as a window's manager does.
class QuietOwner : public VREL::MObject
{
public:
    LRESULT OnBaseMessage(UINT, UINT, WPARAM, LPARAM) override { return 0; }
    LRESULT OnControlUpdate(CRect, int redraw, VREL::MControl* sender) override
    {
        if (redraw && sender)
            sender->SetUpdate(0, 0);
        return 0;
    }
};

// One list kind as the worker and the UI thread use it.
struct Kind
{
    const char* name;
    std::function<RowList*(VREL::MObject*)> make;
    std::function<void(RowList*, int)> append;
    std::function<void(RowList*)> clear;
    // What the UI thread removes now and then.
    std::function<void(RowList*)> removeSome;
    std::function<int(RowList*)> count;
    std::function<std::wstring(RowList*, int)> text;
};

std::wstring Name(int i) { return std::to_wstring(i); }

std::vector<Kind> Kinds()
{
    return {
        {"macro list", [](VREL::MObject* o) -> RowList* { return new MacroList(o, 1, kPlace, 1); },
         [](RowList* l, int i) { static_cast<MacroList*>(l)->AddString(Name(i).c_str(), static_cast<long>(i), 0); },
         [](RowList* l) { static_cast<MacroList*>(l)->DeleteAllItems(); },
         [](RowList* l) { static_cast<MacroList*>(l)->DeleteItem(0); },
         [](RowList* l) { return static_cast<MacroList*>(l)->GetItemCount(); },
         [](RowList* l, int i) { return static_cast<MacroList*>(l)->GetItemText(i).GetStdString(); }},
        {"event list", [](VREL::MObject* o) -> RowList* { return new CRecordList(o, 2, kPlace, 1); },
         [](RowList* l, int i) { static_cast<CRecordList*>(l)->AddString(Name(i).c_str(), 2 + i % 2, 4, i / 2); },
         [](RowList* l) { static_cast<CRecordList*>(l)->DeleteAllItems(); },
         [](RowList* l) {
             auto* list = static_cast<CRecordList*>(l);
             list->DeleteTimeStamp(list->GetRecrodTimeStamp(0));
             list->GetEventCount();
             list->GetRecordItems();
         },
         [](RowList* l) { return static_cast<CRecordList*>(l)->GetItemCount(); },
         [](RowList* l, int i) {
             CString text;
             int type = 0, value = 0, stamp = 0;
             static_cast<CRecordList*>(l)->GetRecordInfo(i, text, type, value, stamp);
             return text.GetStdString();
         }},
        {"profile list", [](VREL::MObject* o) -> RowList* { return new ProfileList(o, 3, kPlace, 1, 1); },
         [](RowList* l, int i) { static_cast<ProfileList*>(l)->AddItem(Name(i).c_str(), i, L""); },
         [](RowList* l) { static_cast<ProfileList*>(l)->ClearList(); },
         [](RowList* l) {
             auto* list = static_cast<ProfileList*>(l);
             list->DeleteItem(0);
             list->SetCurData(3);
         },
         [](RowList* l) { return static_cast<ProfileList*>(l)->GetItemCount(); },
         [](RowList* l, int i) { return static_cast<ProfileList*>(l)->GetItemText(i).GetStdString(); }},
        {"tile list",
         [](VREL::MObject* o) -> RowList* {
             auto* tiles = new MListBoxEx(o, 4, kPlace, 1, 1);
             tiles->SetAllItemHeight(900);
             tiles->SetRect(kPlace);
             return tiles;
         },
         [](RowList* l, int i) {
             auto* tiles = static_cast<MListBoxEx*>(l);
             tiles->AddItem(Name(i).c_str(), i, L"");
             tiles->SetCurData(i);
         },
         [](RowList* l) { static_cast<MListBoxEx*>(l)->ClearList(); },
         [](RowList* l) { static_cast<MListBoxEx*>(l)->ClearList(); },
         [](RowList* l) { return static_cast<MListBoxEx*>(l)->GetLightCount(); },
         [](RowList* l, int i) { return static_cast<MListBoxEx*>(l)->GetItemText(i).GetStdString(); }},
    };
}

// What the UI thread does to a list once: paint it, turn the wheel, point
// at a row and press it.
void Handle(RowList& list, DibCanvas& canvas, int step)
{
    HDC dc = canvas.Dc();
    list.Draw(dc, CRect(0, 0, kCanvas, kCanvas));
    const CPoint pt(60, 20 + (step * 37) % 280);
    list.OnScroll(120, step % 3 == 0 ? 0 : 1, pt);
    list.OnMouseMove(0, pt);
    if (step % 5 == 0)
    {
        list.OnLButtonDown(MK_LBUTTON, pt);
        list.OnLButtonUp(0, pt);
    }
    list.Draw(dc, CRect(0, 0, kCanvas, kCanvas));
}

} // namespace

TEST(RowListThreads, WorkerAppendsAndClearsWhileTheUiPaintsScrollsAndDeletes)
{
    for (const Kind& kind : Kinds())
    {
        SCOPED_TRACE(kind.name);
        QuietOwner owner;
        DibCanvas canvas(kCanvas, kCanvas, 0xFF202020);
        std::unique_ptr<RowList> list(kind.make(&owner));
        std::atomic<bool> stop{false};
        std::atomic<int> appended{0};
        std::thread worker([&] {
            int i = 0;
            while (!stop.load())
            {
                kind.append(list.get(), i++);
                if (i % 97 == 0)
                    kind.clear(list.get());
                appended.store(i);
            }
        });
        const auto end = std::chrono::steady_clock::now() + kChurnTime;
        int step = 0;
        while (std::chrono::steady_clock::now() < end)
        {
            Handle(*list, canvas, step);
            if (step % 7 == 0)
                kind.removeSome(list.get());
            ++step;
        }
        stop.store(true);
        worker.join();
        EXPECT_GT(appended.load(), 0);
        EXPECT_GT(step, 0);
        // Whatever is left is still whole.
        const int left = kind.count(list.get());
        for (int i = 0; i < left; ++i)
            EXPECT_FALSE(kind.text(list.get(), i).empty());
        list->Withdraw();
    }
}

TEST(RowListThreads, RowsAppendedWhileTheUiPaintsAllArriveInOrder)
{
    for (const Kind& kind : Kinds())
    {
        SCOPED_TRACE(kind.name);
        QuietOwner owner;
        DibCanvas canvas(kCanvas, kCanvas, 0xFF202020);
        std::unique_ptr<RowList> list(kind.make(&owner));
        std::atomic<bool> done{false};
        std::thread worker([&] {
            for (int i = 0; i < kOrderedRows; ++i)
                kind.append(list.get(), i);
            done.store(true);
        });
        int step = 0;
        while (!done.load())
            Handle(*list, canvas, step++);
        worker.join();
        ASSERT_EQ(kind.count(list.get()), kOrderedRows);
        for (int i = 0; i < kOrderedRows; ++i)
            ASSERT_EQ(kind.text(list.get(), i), Name(i)) << i;
    }
}

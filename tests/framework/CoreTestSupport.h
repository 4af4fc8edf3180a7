#pragma once

// Fixtures of the control-base, paint-manager, dialog and timer tests: a
// probe control that records what reaches it and paints itself as a solid
// rectangle, a dialog that records its notifications and the steps of its
// close, and a fixture that shows one as a popup; with the shared recording
// owner and window input helpers.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "tests/support/Recorders.h"
#include "tests/support/WindowInput.h"
#include "ui/framework/MControl.h"
#include "ui/framework/MDialog.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"

namespace coretest {

using testsupport::RecordingOwner;
using testsupport::Repaint;
using testsupport::Report;

// A control that records its hooks and draws a solid rectangle of its colour.
class Probe : public VREL::MControl
{
public:
    Probe(VREL::MObject* owner, UINT id, CRect rect, COLORREF colour = RGB(200, 0, 0))
        : MControl(owner, id, rect, 1, 1, 1), colour(colour)
    {
    }
    ~Probe() override
    {
        if (destroyed)
            *destroyed = true;
        if (tickRunningAtDestruction)
            *tickRunningAtDestruction = inTick.load();
    }

    // ---- recorded input ----
    std::vector<std::string> calls;
    CPoint lastPoint;
    std::vector<UINT> scrollDirections;
    std::vector<UINT> keyModifiers;
    std::vector<int> focusCalls;
    std::vector<int> updateFlags;
    std::vector<UINT> windowMessages;
    int renders = 0;
    std::atomic<int> ticks{0};
    std::atomic<bool> inTick{false};

    // ---- behaviour switches ----
    COLORREF colour;
    int takesScroll = 1;
    int takesKeys = 1;
    int notifyClickOnRelease = 1;
    std::atomic<DWORD> tickSleepMs{0};
    int repaintOnTick = 0;
    bool* destroyed = nullptr;
    bool* tickRunningAtDestruction = nullptr;

    // ---- protected members made reachable ----
    void AddChild(MControl* child) { AddSubControl(VREL::CONTROL_KIND_CONTROL, child); }
    void AddArea(MControl* area) { AddSubControl(VREL::CONTROL_KIND_AREA, area); }
    MControl* Target() const { return m_pTarget; }
    int Pressed() const { return m_bPressed; }
    HCURSOR Cursor() const { return m_hCursor; }
    void SetKeyFocus(int focus) { m_bKeyFocus = focus; }
    void SetDblClk(int dblClk) { m_bDblClk = dblClk; }
    int Anchor(const VREL::VR_POSITION_ITEM& item, int a, int b) { return PositionItem2Value(item, a, b); }
    HBITMAP MemBitmap() const { return m_hMemBitmap; }

    // ---- hooks ----
    void DrawControl(HDC& dc, CRect) override
    {
        if (!m_bUpdate)
        {
            ++renders;
            m_bUpdate = 1;
        }
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(dc, &m_rect, brush);
        ::DeleteObject(brush);
    }
    void SetUpdate(int valid, DWORD colourValue) override
    {
        updateFlags.push_back(valid);
        MControl::SetUpdate(valid, colourValue);
    }
    int SetControlFocus(int focus) override
    {
        focusCalls.push_back(focus);
        return MControl::SetControlFocus(focus);
    }
    LRESULT OnWindowMessage(UINT msg, WPARAM, LPARAM) override
    {
        windowMessages.push_back(msg);
        return 0;
    }
    int OnControlMouseMove(UINT, CPoint pt) override { return Record("move", pt); }
    int OnControlLButtonDown(UINT, CPoint pt) override { return Record("down", pt); }
    int OnControlLButtonUp(UINT, CPoint pt) override
    {
        Record("up", pt);
        if (notifyClickOnRelease && m_rect.PtInRect(pt))
            SendMessageW(VREL::NC_CLICKED, 0, 0);
        return 1;
    }
    int OnControlLButtonDblClk(UINT, CPoint pt) override { return Record("dblclk", pt); }
    int OnControlRButtonDown(UINT, CPoint pt) override { return Record("rdown", pt); }
    int OnControlRButtonUp(UINT, CPoint pt) override { return Record("rup", pt); }
    int OnControlScroll(int, UINT direction, CPoint) override
    {
        scrollDirections.push_back(direction);
        return takesScroll;
    }
    int OnControlKeyDown(UINT key, UINT, UINT modifiers) override
    {
        calls.push_back("key");
        keyModifiers.push_back(modifiers);
        return takesKeys;
    }
    int OnControlTimer() override
    {
        inTick = true;
        ++ticks;
        if (tickSleepMs)
            ::Sleep(tickSleepMs.load());
        if (repaintOnTick)
            UpdateControl(1, 0);
        inTick = false;
        return 1;
    }

    int Count(const std::string& what) const
    {
        int n = 0;
        for (const std::string& call : calls)
            n += call == what ? 1 : 0;
        return n;
    }

private:
    int Record(const char* what, CPoint pt)
    {
        calls.push_back(what);
        lastPoint = pt;
        return 1;
    }
};

// A dialog that records notifications and the steps of its close.
class TestDialog : public VREL::MDialog
{
public:
    std::vector<Report> reports;
    std::vector<std::string> steps;
    int initDialogCalls = 0;
    int refuseCloses = 0;

    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        reports.push_back({id, code, wParam, lParam});
        return 0;
    }
    int OnInitDialog() override
    {
        ++initDialogCalls;
        return MDialog::OnInitDialog();
    }
    LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam) override
    {
        steps.push_back("user-close");
        if (refuseCloses > 0)
        {
            --refuseCloses;
            return 1;
        }
        return MDialog::OnUserCloseWindow(wParam, lParam);
    }
    LRESULT OnClose() override
    {
        steps.push_back("close");
        return MDialog::OnClose();
    }
    LRESULT PostNcDestroy() override
    {
        steps.push_back("post-nc-destroy");
        return MDialog::PostNcDestroy();
    }

    // Creates a visible popup at (left, top) of width x height.
    HWND CreatePopup(int width, int height, HWND parent = nullptr, int left = 100, int top = 100)
    {
        HWND hwnd = Create(parent, L"core test", WS_POPUP, 0, CRect(left, top, left + width, top + height));
        ShowWindow(SW_SHOWNOACTIVATE);
        ::UpdateWindow(hwnd);
        return hwnd;
    }
    VREL::PaintManager& Manager() { return m_pm; }

    template <class T> T* Add(T* control, UINT kind = VREL::CONTROL_KIND_CONTROL)
    {
        m_pm.AddControl(kind, control);
        return control;
    }
};

// A test on a visible popup dialog of the given size, destroyed after it.
template <class Dialog = TestDialog>
class PopupFixture : public ::testing::Test
{
protected:
    explicit PopupFixture(int width = 300, int height = 200) : m_width(width), m_height(height) {}
    void SetUp() override
    {
        hwnd = dialog.CreatePopup(m_width, m_height);
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override { dialog.DestroyWindow(); }

    VREL::PaintManager& Manager() { return dialog.Manager(); }

    Dialog dialog;
    HWND hwnd = nullptr;

private:
    int m_width;
    int m_height;
};

// Driving a window with sent messages.
using testsupport::Click;
using testsupport::CursorTo;
using testsupport::Down;
using testsupport::HoldKeys;
using testsupport::Move;
using testsupport::Pack;
using testsupport::Pump;
using testsupport::Up;
using testsupport::Wheel;

} // namespace coretest

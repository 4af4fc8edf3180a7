#pragma once

// Tooltips of the keyboard picture. CKeyboardTips is a fixed 190 x 100 box
// centred above a key with three centred lines (the key's name, a text and
// an extra line) in light grey and white on a dark panel with a grey rim.
// KBToolTips is a reduced window of the same family that checks its
// arguments and draws nothing.

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "ui/framework/CString.h"
#include "ui/framework/MWindow.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/ToolWindow.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API CKeyboardTips : public MToolWindow
{
public:
    static constexpr int kWidth = 190;
    static constexpr int kHeight = 100;

    CKeyboardTips();
    ~CKeyboardTips() override;

    // ---- overrides ----------------------------------------------------------------------------
    int OnInitDialog() override;
    LRESULT OnKillFocus(HWND next) override;
    LRESULT OnPaint() override;

    int LoadBKImage(CString file);
    int LoadBKImage(UINT id, CString type);
    void SetBackMode(enumBackMode mode, int parameter);

    // Shows the three lines with the box's bottom centre on pt. Returns 1;
    // 0 for a null title, and for a null text or extra line where the lines
    // before it are unchanged; nothing is stored then. The same lines at the
    // same point neither move nor repaint the box.
    int SetAirBladderMsg(const wchar_t* title, const wchar_t* text, const wchar_t* extra, POINT pt);

protected:
    HFONT GetGDIFont11();
    HFONT GetGDIFont2();
    void AutoFit();
    // Draws the panel and, with a title, the three lines on a w x h DC.
    void DrawTips(HDC dc, int width, int height);

private:
    HFONT MakeFont(int height);

    CString m_title;
    CString m_text;
    CString m_extra;
    POINT m_point;
    int m_type;
    int m_mode;
    std::unique_ptr<Gdiplus::StringFormat> m_pFormat;
    ToolImage m_background;
    enumBackMode m_backMode;
    int m_backParameter;
    HFONT m_hFont1;
    HFONT m_hFont2;
};

class VREL_API KBToolTips : public MWindow
{
public:
    KBToolTips();
    ~KBToolTips() override;

    // ---- overrides of MWindow ---------------------------------------------------------------
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;

    // ---- virtual operations, in slot order ------------------------------------------------
    virtual LRESULT OnUserCloseWindow(WPARAM wParam, LPARAM lParam);
    virtual void CloseWindow();
    virtual int OnCreate(CREATESTRUCTW* create);
    virtual int OnSize(UINT type, int cx, int cy);
    // Draws nothing.
    virtual LRESULT OnPaint();

    int LoadBKImage(CString file);
    // The same checks as CKeyboardTips; stores, moves and paints nothing.
    int SetAirBladderMsg(const wchar_t* title, const wchar_t* text, const wchar_t* extra, POINT pt);

private:
    CString m_title;
    CString m_text;
    CString m_extra;
    POINT m_point;
    int m_type;
    int m_mode;
    std::unique_ptr<Gdiplus::FontFamily> m_pFontFamily;
    std::unique_ptr<Gdiplus::StringFormat> m_pFormat;
    ToolImage m_background;
    enumBackMode m_backMode;
    int m_backParameter;
};

} // namespace VREL

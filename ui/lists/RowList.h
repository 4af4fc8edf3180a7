#pragma once

// What the library's owner-drawn row lists share: the macro list and its
// twin, the macro event list, the profile list and the tile list are each a
// RowList plus their own rows, drawing and clicks.
//
// A list owns heap row records behind its item lock. It scrolls vertically
// with the panel's own bar (child 1; the content is rows x row height), turns
// the wheel into 100-pixel steps, paints through its memory image with only
// the visible rows drawn over whatever its parent painted, follows the mouse
// with a hover row and, where the class allows it, renames a row in place
// with the rename box (CEditWindow).
//
// Threads: the program's worker clears and refills lists while the UI thread
// paints and hit-tests them. Every change of the rows happens under the item
// lock and painting walks them under it; the lock is never held while the
// owner is notified or a window is touched, so a list never makes another
// thread wait on its lock while that thread waits on the window.
//
// Renaming: the box is made on the first rename and kept hidden between
// renames. A rename ends when the list loses the focus or another row is
// pressed; the changed text becomes the row's and is reported with code 29
// and the row in lParam. Removing rows, or moving the edited row, while a
// rename is open cancels it, so that its text can never land on another row.

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class CEditWindow;
class MScroll;

// A skin strip that a list loads from the skin folder and keeps itself.
struct VREL_API SkinStrip
{
    SkinStrip();
    ~SkinStrip();
    SkinStrip(const SkinStrip&) = delete;
    SkinStrip& operator=(const SkinStrip&) = delete;

    // The file (relative to the skin folder) cut into frames (below 1 taken
    // as 1); false, and the strip left empty, when it does not load.
    bool Load(const wchar_t* file, int frames);
    bool Loaded() const { return image != nullptr; }
    // Frame k stretched into dst (nothing without an image).
    void Draw(Gdiplus::Graphics& graphics, int frame, const Gdiplus::Rect& dst) const;

    std::unique_ptr<Gdiplus::Image> image;
    int frameWidth;
    int frameHeight;
    int frames;
};

class VREL_API RowList : public MPanel
{
public:
    ~RowList() override;

    // ---- overrides of MPanel ----------------------------------------------------------------
    // The row paint: rows x row height of content, the visible rows drawn.
    void DrawControl(HDC& dc, CRect paint) override;
    // Renaming lists end a rename when the focus goes; every list repaints.
    int SetControlFocus(int focus) override;
    // The bars' reports: a moving thumb repaints; all go on to the owner.
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // Places the bars, then the class's extras, then follows the content.
    void SetControlRect(CRect rect) override;
    // Hover tracking over the rows laid out by the last paint.
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    // One notch moves the bar by ten rows of its step; 0 (the wheel passed
    // on) when there is nothing to scroll, unless the class takes it anyway.
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;

    // ---- rename ---------------------------------------------------------------------------------
    // Opens the rename box over the selected row.
    void ShowEdit();
    // Ends a rename: with force 0 only when the selection moved to another
    // row. A changed text is stored and reported with code 29.
    void HideEdit(int force);
    // The place of the selected row's text in client coordinates; 0 and an
    // empty rectangle when no row is selected.
    virtual int GetTextRect(CRect& out);
    int GetEditRow() const { return m_editRow; }
    // The rename box, null before the first rename.
    CEditWindow* GetEditWindow() const { return m_pEditWnd; }

    // ---- view ------------------------------------------------------------------------------------
    int GetHoverRow() const { return m_hoverRow; }
    int GetFirstVisibleRow() const { return m_firstVisible; }
    int GetLastVisibleRow() const { return m_lastVisible; }
    int64_t GetContentOffset() const { return m_contentOffset; }
    int GetOffsetInFirstRow() const { return m_offsetInFirst; }
    void SetItemHeight(int height) { m_rowHeight = height; }
    int GetItemHeight() const { return m_rowHeight; }
    // The rows' rectangle of the last paint in client coordinates; empty for
    // a row that does not exist or was never drawn.
    CRect GetRowClientRect(int index);

protected:
    RowList(MObject* owner, UINT id, CRect rect, int visible, int enabled, int rowHeight);

    // Everything a class's row drawing needs during one paint.
    struct RowCanvas
    {
        Gdiplus::Graphics& graphics;
        HDC dc;
        const Gdiplus::Font& font;
        // Width of the memory image (W).
        int width;
        int first;
    };

    // ---- what each class supplies (the item lock is held by the caller) ----
    virtual int RowCountLocked() const = 0;
    virtual RECT* RowRectLocked(int index) = 0;
    // Set up hint and smoothing for this class's rows.
    virtual void PrepareRows(Gdiplus::Graphics& graphics);
    // Sets the row's rectangle and draws it.
    virtual void DrawRowLocked(const RowCanvas& canvas, int index);
    // Rename: the row's text; false for no such row.
    virtual bool ReadRowTextLocked(int index, CString& text);
    virtual void StoreRenamedTextLocked(int index, const CString& text);

    // ---- class choices (no lock needed) ----
    // Height of the scrolled content.
    virtual int ContentHeight();
    // W of the paint: the width less the bar while it shows.
    virtual int ImageWidth();
    // Whether the horizontal bar is placed along the bottom.
    virtual bool PlacesHorizontalBar() const { return true; }
    // Whether the wheel is reported handled also when the content fits.
    virtual bool TakesWheelWhenContentFits() const { return false; }
    // Extras laid out after the bars.
    virtual void OnPlaced() {}
    // Whether renames may open now.
    virtual bool RenameEnabled() const { return false; }
    // Colours and limit of a new rename box.
    virtual void PrepareEditBox(CEditWindow& box);

    // ---- shared mechanics ----
    // Shows or hides the bar as the content needs and gives it the content
    // height as its range.
    void SyncScrollBar();
    MScroll* VerticalBar() const;
    int RowCount();
    int RowHeightOrOne() const { return m_rowHeight < 1 ? 1 : m_rowHeight; }
    // The selection when it names a row, else -1 (the setters of some lists
    // store any index).
    int SelectedRow();
    int SelectedRowLocked() const;
    // For the lists' SetCurSel: -1 (none) or a row becomes the selection,
    // repainted when it changed; 1, or 0 (nothing changed) for any other
    // index.
    int SelectRow(int index);
    // The row whose last painted rectangle holds the client point, tried
    // from the first to the last visible row; -1 for none.
    int HitRowLocked(CPoint pt);
    bool RowHoldsLocked(int index, CPoint pt);
    // A row's painted rectangle moved into client coordinates.
    CRect ClientRectLocked(int index);
    // The selected row's painted rectangle in client coordinates, for the
    // rename's text band; false, and client left empty, when no row is
    // selected.
    bool SelectedClientRect(CRect& client);
    // Whether the client point lies in part (a rectangle relative to the
    // row's painted rectangle: an icon or a button of the row); false for a
    // row that does not exist or was never drawn.
    bool RowPartHolds(int index, const CRect& part, CPoint pt);
    // What a removal leaves behind: no hover, no selection, no layout until
    // the next paint, and no rename.
    void ForgetRowState();
    // Closes the rename box without taking its text.
    void CancelEdit();
    // A change of rows that moves the edited row cancels the rename.
    void CancelEditIfMoved(int firstMovedRow);
    void Repaint() { UpdateControl(1, 0); }
    LRESULT Notify(UINT code, WPARAM wParam, LPARAM lParam) { return SendMessageW(code, wParam, lParam); }
    // The rename's text band for a row rectangle of height h: font size
    // (+6) high, centred, with the small fonts' own heights where a class
    // keeps them.
    static int BandHeight(int fontSize, bool mediumSizes);
    static int BandTop(int rowTop, int rowHeight, int fontSize, bool mediumSizes);
    // Copies what lies under the control on dc into the memory image from
    // line `into` down (the list has no background of its own).
    void CopyBackground(HDC& dc, int width, int height, int into);

    mutable CriticalSection m_itemLock;
    int m_rowHeight;
    int m_hoverRow;
    int m_selectedRow;
    int m_firstVisible;
    int m_lastVisible;
    int64_t m_contentOffset;
    int m_offsetInFirst;
    int m_editRow;
    CEditWindow* m_pEditWnd;

private:
    // Hides the box, also from another thread.
    void HideEditWindow();
};

} // namespace VREL

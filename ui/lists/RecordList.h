#pragma once

// The macro event list: one row per event of a macro (a running index, an
// icon for the kind of event, the event's text). Rows of one user action
// share a timestamp; selecting a row highlights its whole group, and a group
// can be updated or deleted in one call.
//
// Reports to the owner: 1 on a press (wParam the new selection, -1 on empty
// space), 2 on a release on a row, 5 on a right click on a row (wParam the
// selection), 9 on a release on the selected row's more button (the
// selection unchanged, so that a menu acts on it). The list has no in-place
// editing.

#include <windows.h>
#include <gdiplus.h>

#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"
#include "ui/lists/RowList.h"
#include "ui/lists/RowStore.h"

namespace VREL {

enum RecordType
{
    RECORD_DELAY = 1,
    RECORD_KEY_DOWN = 2,
    RECORD_KEY_UP = 3,
    RECORD_MOUSE_DOWN = 4,
    RECORD_MOUSE_UP = 5,
};

// One row; the program reads the records in place through GetRecordItems.
struct RecordItem
{
    CString text;
    int type;
    // Delay in ms for a delay, else the key code or mouse-button value.
    int value;
    // Rows of one event carry the same value.
    int timestamp;
    RECT rect;
};

class VREL_API CRecordList : public RowList
{
public:
    CRecordList(MObject* owner, UINT id, CRect rect, int visible);
    ~CRecordList() override;

    // ---- overrides ----------------------------------------------------------------------
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlLButtonDblClk(UINT flags, CPoint pt) override;
    int OnControlRButtonUp(UINT flags, CPoint pt) override;
    using MControlFont::SetImage;
    // The type-icon strip.
    int SetImage(const wchar_t* file, int frames) override;

    // ---- rows ---------------------------------------------------------------------------
    // Appends; the index of the new last row.
    int AddString(CString text, int type, int value, int timestamp);
    // Before row index (-1 or the count: appended); -1 and nothing added for
    // any other index. Clears the group highlight; returns the index of the
    // last row, not of the inserted one.
    int InsertString(int index, CString text, int type, int value, int timestamp);
    int GetItemCount();
    // Rows that are not delays.
    int GetEventCount();
    int DeleteItem(int index);
    int DeleteAllItems();
    // Removes every row of the group; hover and selection go in any case.
    void DeleteTimeStamp(int timestamp);
    // The row to the front (it becomes row 0 and the selection) or to the
    // end (and the selection); no repaint.
    void MoveTop(int index);
    void MoveBottom(int index);
    void SwapItem(int a, int b);
    int GetRecrodTimeStamp(int index);
    void GetRecordInfo(int index, CString& text, int& type, int& value, int& timestamp);
    void SetRecordInfo(int index, CString text, int type, int value, int timestamp);
    // Every row of the group with this type gets the text and the value.
    void SetRecordInfo(int timestamp, int type, CString text, int value);
    // From the last row back: rows of this type and code take the timestamp;
    // an up type also stamps the newest matching down row and stops there.
    void UpdateTimeStamp(int type, int code, int timestamp);
    // The last row's timestamp; false on an empty list.
    bool UpdateDelayTime(int timestamp);
    // The rows in order; valid until the list next removes rows.
    std::vector<RecordItem*> GetRecordItems();

    // ---- selection and look ------------------------------------------------------------
    int SetCurSel(int index);
    int GetCurSel();
    void SetTimeStampSelect(int timestamp);
    int GetTimeStampSelect() const { return m_selectedTimestamp; }
    int SetItemImage(const wchar_t* file, int frames);
    int SetMoreImage(const wchar_t* file, int frames);
    void SetScaleValue(float scale) { m_scale = scale; }
    CRect GetIconRect() const { return m_iconRect; }
    CRect GetMoreRect() const { return m_moreRect; }

    // No in-place editing here.
    void ShowEdit() {}
    void SetEditText(CString) {}
    CString GetEditText() { return CString(); }

    // The icon frame of a row of this type, not selected.
    static int IconFrameOf(int type);

protected:
    int RowCountLocked() const override;
    RECT* RowRectLocked(int index) override;
    void DrawRowLocked(const RowCanvas& canvas, int index) override;
    void OnPlaced() override;

    int DrawnRowHeight() const;
    bool InGroupLocked(int index) const;
    // The point lies on the selected row's more button.
    bool OnMoreButton(CPoint pt);

    RowStore<RecordItem> m_rows;
    int m_selectedTimestamp;
    float m_scale;
    SkinStrip m_iconStrip;
    SkinStrip m_rowStrip;
    SkinStrip m_moreStrip;
    CRect m_moreRect;
    CRect m_iconRect;
};

} // namespace VREL

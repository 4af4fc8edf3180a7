#include "ui/lists/MacroList.h"

#include <algorithm>
#include <memory>

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"
#include "ui/lists/CEditWindow.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterMacroList(MakeControlClass<MacroList, ControlForm::Visible>(L"MacroList"));
const ControlRegistrar kRegisterMListBox(MakeControlClass<MListBox, ControlForm::Visible>(L"MListBox"));

constexpr int kMacroRowHeight = 36;
constexpr int kListBoxRowHeight = 32;
constexpr Gdiplus::ARGB kMacroTextArgb = 0xFFB8D3EF;
// The icon strip has four frames whatever its setter is told.
constexpr int kIconFrames = 4;
constexpr int kHighlightFrame = 1;
constexpr int kSelectedIconFrame = 2;
// Macro list: text column and the icon's distance from the right edge.
constexpr int kMacroTextLeft = 15;
constexpr int kMacroTextRightGap = 50;
constexpr int kMacroIconRightGap = 15;
// Twin: its icon column and text column.
constexpr int kListBoxIconColumn = 10;
constexpr int kListBoxTextLeft = 10;
constexpr Gdiplus::ARGB kListBoxHighlightArgb = 0xFFEDEDED;
constexpr int kListBoxHighlightRadius = 4;
constexpr int kListBoxEditCorner = 6;
constexpr int kListBoxEditLeft = 7;
constexpr int kListBoxEditRightGap = 6;
// Drag image: text base (the twin's is its icon column), extra room and cap.
constexpr int kMacroDragBase = 60;
constexpr int kDragExtra = 10;
constexpr int kDragMaxWidth = 300;
// Rename boxes.
constexpr COLORREF kMacroBoxBack = 0xFFFFFF;
constexpr COLORREF kMacroBoxText = 0x050505;
constexpr int kMacroBoxLimit = 30;
constexpr COLORREF kListBoxBoxBack = 0xD2D2D2;
constexpr int kListBoxTextRectLeft = 60;
constexpr int kListBoxImageListExtra = 10;
constexpr int kListBoxTextRectRightGap = 10;

CString TextOrEmpty(const wchar_t* text) { return CString(text ? text : L""); }

} // namespace

MacroList::MacroList(MObject* owner, UINT id, CRect rect, int visible)
    : MacroList(owner, id, rect, visible, LOOK_MACRO)
{
}

MacroList::MacroList(MObject* owner, UINT id, CRect rect, int visible, Look look)
    : RowList(owner, id, rect, visible, 1, look == LOOK_MACRO ? kMacroRowHeight : kListBoxRowHeight),
      m_look(look),
      m_rows(m_itemLock),
      m_scale(1.0f),
      m_renameSwitch(0),
      m_dragTextBase(look == LOOK_MACRO ? kMacroDragBase : kListBoxIconColumn),
      m_pImageList(nullptr)
{
    if (look == LOOK_MACRO)
        SetTextColor(Gdiplus::Color(kMacroTextArgb));
    m_pScrollVertical->SetControlVisible(0);
}

MacroList::~MacroList() = default;

MListBox::MListBox(MObject* owner, UINT id, CRect rect, int visible)
    : MacroList(owner, id, rect, visible, LOOK_LISTBOX)
{
}

MListBox::~MListBox() = default;

int MacroList::RowCountLocked() const { return m_rows.Count(); }

RECT* MacroList::RowRectLocked(int index)
{
    ListItem* item = m_rows.AtLocked(index);
    return item ? &item->rect : nullptr;
}

int MacroList::DrawnRowHeight() const
{
    if (m_look == LOOK_LISTBOX)
        return m_rowHeight;
    return static_cast<int>(static_cast<float>(m_rowHeight) * m_scale);
}

// ---- rows ---------------------------------------------------------------------------------

int MacroList::AddString(const wchar_t* text, int image) { return InsertString(-1, text, image, 0); }

int MacroList::AddString(const wchar_t* text, long data, int image) { return InsertString(-1, text, image, data); }

int MacroList::InsertString(int index, const wchar_t* text, int image, long data)
{
    auto item = std::make_unique<ListItem>();
    item->text = TextOrEmpty(text);
    item->image = image;
    item->data = data;
    item->rect = RECT{0, 0, 0, 0};
    int last;
    {
        ScopedLock lock(m_itemLock);
        const int count = m_rows.Count();
        if (index < -1 || index > count - 1)
            return -1;
        if (index == -1 || count == 0)
            m_rows.Append(std::move(item));
        else
            m_rows.Insert(index, std::move(item));
        last = m_rows.Count() - 1;
    }
    if (index >= 0)
        CancelEditIfMoved(index);
    SyncScrollBar();
    Repaint();
    return last;
}

int MacroList::SetItemData(int index, long data)
{
    return m_rows.With(index, [&](ListItem& item) { item.data = data; }) ? 1 : 0;
}

long MacroList::GetItemData(int index)
{
    long data = 0;
    m_rows.With(index, [&](ListItem& item) { data = item.data; });
    return data;
}

int MacroList::ModifyItemString(int index, const wchar_t* text)
{
    const CString value = TextOrEmpty(text);
    return m_rows.With(index, [&](ListItem& item) { item.text = value; }) ? 1 : 0;
}

int MacroList::FindString(const wchar_t* text)
{
    const CString wanted = TextOrEmpty(text);
    return m_rows.Find([&](const ListItem& item) { return item.text == wanted; });
}

int MacroList::FindItemData(long data)
{
    return m_rows.Find([&](const ListItem& item) { return item.data == data; });
}

int MacroList::GetItemCount() { return m_rows.Count(); }

int MacroList::DeleteItem(int index)
{
    if (!m_rows.Remove(index))
        return 0;
    ForgetRowState();
    SyncScrollBar();
    Repaint();
    return 1;
}

int MacroList::DeleteAllItems()
{
    m_rows.Clear();
    ForgetRowState();
    SyncScrollBar();
    Repaint();
    return 1;
}

CRect MacroList::GetItemRect(int) { return CRect(); }

CString MacroList::GetItemText(int index)
{
    CString text;
    m_rows.With(index, [&](ListItem& item) { text = item.text; });
    return text;
}

void MacroList::SwapItem(int a, int b)
{
    if (m_rows.Swap(a, b) && (a == m_editRow || b == m_editRow))
        CancelEdit();
}

// ---- selection ------------------------------------------------------------------------------

int MacroList::SetCurData(long data)
{
    const int found = FindItemData(data);
    if (found >= 0)
        SetCurSel(found);
    return found;
}

int MacroList::GetCurData()
{
    long data = 0;
    ScopedLock lock(m_itemLock);
    if (const ListItem* item = m_rows.AtLocked(SelectedRowLocked()))
        data = item->data;
    return static_cast<int>(data);
}

int MacroList::SetCurSel(int index) { return SelectRow(index); }

int MacroList::GetCurSel() { return SelectedRow(); }

// ---- look -----------------------------------------------------------------------------------

int MacroList::SetImageList(MImageList* list)
{
    m_pImageList = list;
    return 1;
}

int MacroList::SetImage(const wchar_t* file, int frames)
{
    if (!m_rowStrip.Load(file, frames))
        return 0;
    Repaint();
    return 1;
}

int MacroList::SetEditImage(const wchar_t* file, int)
{
    if (!m_iconStrip.Load(file, kIconFrames))
        return 0;
    Repaint();
    return 1;
}

void MacroList::OnPlaced()
{
    if (m_look != LOOK_MACRO)
        return;
    const int r = DrawnRowHeight();
    const int left = m_rect.Width() - m_iconStrip.frameWidth - kMacroIconRightGap;
    const int top = (r - m_iconStrip.frameHeight) / 2;
    m_iconRect = CRect(left, top, left + m_iconStrip.frameWidth, top + m_iconStrip.frameHeight);
}

int MacroList::PtInRect(CPoint pt)
{
    if (!m_bVisible)
        return 0;
    CRect area = m_rect;
    area.right -= m_barThickness;
    return area.PtInRect(pt) ? 1 : 0;
}

// ---- paint ----------------------------------------------------------------------------------

void MacroList::PrepareRows(Gdiplus::Graphics& graphics)
{
    if (m_look == LOOK_MACRO)
    {
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
        return;
    }
    graphics.SetTextRenderingHint(m_textHint);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
}

void MacroList::DrawRowLocked(const RowCanvas& canvas, int index)
{
    ListItem* item = m_rows.AtLocked(index);
    if (!item)
        return;
    const int k = index - canvas.first;
    if (m_look == LOOK_MACRO)
        DrawMacroRow(canvas, *item, index, k);
    else
        DrawListBoxRow(canvas, *item, index, k);
}

void MacroList::DrawMacroRow(const RowCanvas& canvas, ListItem& item, int index, int k)
{
    const int r = DrawnRowHeight();
    const int top = k * m_rowHeight;
    const int w = canvas.width;
    item.rect = CRect(0, top, w, (k + 1) * r);
    const Gdiplus::Rect background(0, top, w, r - 1);
    if (m_renameSwitch && index == m_editRow)
    {
        // The rename box covers the rest.
        m_rowStrip.Draw(canvas.graphics, kHighlightFrame, background);
        return;
    }
    if (index == m_selectedRow || index == m_hoverRow)
        m_rowStrip.Draw(canvas.graphics, kHighlightFrame, background);
    if (m_iconStrip.Loaded())
    {
        const int frame = index == m_selectedRow ? kSelectedIconFrame : 0;
        m_iconStrip.Draw(canvas.graphics, frame,
                         Gdiplus::Rect(m_iconRect.left, m_iconRect.top + k * r, m_iconStrip.frameWidth,
                                       m_iconStrip.frameHeight));
    }
    if (!item.text.IsEmpty())
    {
        const auto format =
            MakeStringFormat(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        DrawText(canvas.graphics, item.text, canvas.font,
                 Gdiplus::RectF(static_cast<float>(kMacroTextLeft), static_cast<float>(top),
                                static_cast<float>(w - kMacroTextRightGap), static_cast<float>(r)),
                 *format, m_textColor);
    }
}

void MacroList::DrawListBoxRow(const RowCanvas& canvas, ListItem& item, int index, int k)
{
    const int h = m_rowHeight;
    const int top = k * h;
    const int w = canvas.width;
    item.rect = CRect(0, top, w, top + h);
    const bool editing = m_renameSwitch && index == m_editRow;
    if (editing || index == m_selectedRow || index == m_hoverRow)
        MRender::DrawRoundRectange(canvas.graphics, 1.0f, static_cast<float>(top + 2), static_cast<float>(w - 3),
                                   static_cast<float>(h - 3), static_cast<float>(kListBoxHighlightRadius),
                                   Gdiplus::Color(kListBoxHighlightArgb));
    if (m_rowStrip.Loaded())
        m_rowStrip.Draw(canvas.graphics, index == m_selectedRow ? 1 : 0,
                        Gdiplus::Rect((kListBoxIconColumn - m_rowStrip.frameWidth) / 2,
                                      top + (h - m_rowStrip.frameHeight) / 2, m_rowStrip.frameWidth,
                                      m_rowStrip.frameHeight));
    if (editing)
    {
        if (m_iconStrip.Loaded())
            MRender::DrawImageFrame(canvas.graphics, m_iconStrip.image.get(),
                                    CRect(kListBoxEditLeft, top, w - kListBoxEditRightGap, top + h),
                                    m_iconStrip.frameWidth, 0, m_iconStrip.frameWidth, m_iconStrip.frameHeight,
                                    kListBoxEditCorner);
        return;
    }
    const auto format =
        MakeStringFormat(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
    DrawText(canvas.graphics, item.text, canvas.font,
             Gdiplus::RectF(static_cast<float>(kListBoxTextLeft), static_cast<float>(top),
                            static_cast<float>(w - kListBoxTextLeft), static_cast<float>(h)),
             *format, m_textColor);
}

// ---- mouse ----------------------------------------------------------------------------------

int MacroList::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    const int row = m_hoverRow;
    if (row < 0)
        return 1;
    m_selectedRow = row;
    if (m_look == LOOK_LISTBOX)
        Notify(NC_PRESSED, static_cast<WPARAM>(row), 0);
    HideEdit(0);
    Repaint();
    return 1;
}

int MacroList::OnControlLButtonUp(UINT, CPoint pt)
{
    if (m_look == LOOK_LISTBOX)
    {
        // The twin reports every release on a row, enabled or not.
        if (!m_rect.PtInRect(pt) || m_hoverRow < 0)
            return 0;
        m_selectedRow = m_hoverRow;
        Notify(NC_CLICKED, static_cast<WPARAM>(m_hoverRow), 0);
        return 1;
    }
    if (!m_bEnabled || !m_rect.PtInRect(pt) || m_hoverRow < 0)
        return 0;
    const int row = m_hoverRow;
    m_selectedRow = row;
    Repaint();
    Notify(RowPartHolds(row, m_iconRect, pt) ? NC_ICON_OR_TAB : NC_CLICKED, 0, 0);
    return 1;
}

int MacroList::OnControlLButtonDblClk(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt) || m_hoverRow < 0)
        return 0;
    const int row = m_hoverRow;
    m_selectedRow = row;
    if (m_look == LOOK_LISTBOX)
        Notify(NC_DBLCLK, static_cast<WPARAM>(row), 0);
    ShowEdit();
    Repaint();
    return 1;
}

int MacroList::OnControlRButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    const int row = m_hoverRow;
    if (row != m_selectedRow)
    {
        m_selectedRow = row;
        Repaint();
    }
    Notify(NC_RCLICK, static_cast<WPARAM>(row), 0);
    return 1;
}

HBITMAP MacroList::GetControlDropBitmap()
{
    const int row = m_hoverRow;
    if (!m_bEnabled || row < 0 || !m_pManager)
        return nullptr;
    CString text;
    CRect rect;
    {
        ScopedLock lock(m_itemLock);
        const ListItem* item = m_rows.AtLocked(row);
        if (!item)
            return nullptr;
        text = item->text;
        rect = item->rect;
    }
    m_selectedRow = row;
    ControlFont font(*this, m_fontSize + 2, m_fontStyle);
    const auto format =
        MakeStringFormat(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
    const Gdiplus::Size bounds = MRender::GetTextBounds(font.Get(), *format, text);
    rect.right = rect.left + std::min(m_dragTextBase + bounds.Width + kDragExtra, kDragMaxWidth);
    return m_pManager->GetDropBitmap(this, rect, 0);
}

// ---- rename ---------------------------------------------------------------------------------

bool MacroList::ReadRowTextLocked(int index, CString& text) { return m_rows.TextAtLocked(index, text); }

void MacroList::StoreRenamedTextLocked(int index, const CString& text) { m_rows.SetTextAtLocked(index, text); }

void MacroList::PrepareEditBox(CEditWindow& box)
{
    if (m_look == LOOK_MACRO)
    {
        box.SetLimitText(kMacroBoxLimit);
        box.SetEditColor(kMacroBoxBack, kMacroBoxText);
        return;
    }
    const Gdiplus::Color text = m_textColor;
    box.SetEditColor(kListBoxBoxBack, RGB(text.GetR(), text.GetG(), text.GetB()));
}

int MacroList::GetTextRect(CRect& out)
{
    CRect client;
    if (!SelectedClientRect(client))
    {
        out = client;
        return 0;
    }
    const int h = client.Height();
    if (m_look == LOOK_MACRO)
    {
        const int top = BandTop(client.top, h, m_fontSize, false);
        out = CRect(client.left + kMacroTextLeft, top, client.right - kMacroTextRightGap,
                    top + BandHeight(m_fontSize, false));
        return 1;
    }
    const int left = client.left + kListBoxTextRectLeft + (m_pImageList ? kListBoxImageListExtra : 0);
    const int top = BandTop(client.top, h, m_fontSize, true);
    out = CRect(left, top, client.right - kListBoxTextRectRightGap, top + BandHeight(m_fontSize, true));
    return 1;
}

} // namespace VREL

#include "app/window/PageBuilder.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "ui/controls/Areas.h"
#include "ui/controls/CheckButtons.h"
#include "ui/controls/ColorControls.h"
#include "ui/controls/MText.h"
#include "ui/controls/Picture.h"
#include "ui/controls/PushButtons.h"
#include "ui/controls/Slider.h"
#include "ui/controls/TabCtrl.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/MDialog.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/Manager.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"
#include "ui/lists/MEdit.h"

namespace tarnwell {

using VREL::MControl;
using VREL::MControlFont;

namespace {

// ---- widget hooks ---------------------------------------------------------------------

struct HookTable
{
    VREL::CriticalSection lock;
    std::map<std::wstring, WidgetHooks> hooks;
};

HookTable& Hooks()
{
    static HookTable table;
    return table;
}

WidgetHooks HooksOf(const wchar_t* className)
{
    HookTable& table = Hooks();
    VREL::ScopedLock lock(table.lock);
    auto it = table.hooks.find(className ? className : L"");
    return it == table.hooks.end() ? WidgetHooks{} : it->second;
}

// ---- tab strip and start view -----------------------------------------------------------

constexpr int kTabWidth = 120;
constexpr int kTabHeight = 40;
constexpr int kTabRightPadding = 720;
constexpr int kTabIconFrames = 2;

constexpr int kDevicePanels[] = {kIdKeysPanel, kIdLightingPanel, kIdMacroPanel, kIdSettingsPanel, kIdSystemPanel};

// Sleep-time choices that read "<minutes> <unit>"; 0 is the "never" item.
constexpr int kSleepUnitText = 506;
constexpr int kSleepNeverText = 507;

constexpr int kLanguageShownByOtherRadio = 1045;

const wchar_t* OpName(Op op)
{
    switch (op)
    {
    case Op::AddItem:
        return L"AddItem";
    case Op::AddSleepItem:
        return L"AddSleepItem";
    case Op::CurSel:
        return L"SetCurSel";
    case Op::KeyboardMode:
        return L"SetKeyboardCtrlMode";
    case Op::AddKeyLayer:
        return L"AddKeyLayer";
    case Op::SelectKeyLayer:
        return L"SetSelectKeyLayer";
    case Op::AddKeyType:
        return L"AddKeyType";
    case Op::InitItemInfo:
        return L"InitItemInfo";
    case Op::ShowEdit:
        return L"EnableShowEdit";
    case Op::EditImage:
        return L"SetEditImage";
    case Op::ItemImage:
        return L"SetItemImage";
    case Op::MoreImage:
        return L"SetMoreImage";
    case Op::AllItemHeight:
        return L"SetAllItemHeight";
    default:
        return L"set-up";
    }
}

int AsInt(uint32_t v) { return static_cast<int>(v); }

bool IsItemOp(Op op) { return op == Op::AddItem || op == Op::AddSleepItem || op == Op::AddKeyLayer || op == Op::AddKeyType; }


} // namespace

void RegisterWidgetHooks(const wchar_t* className, WidgetHooks hooks)
{
    HookTable& table = Hooks();
    VREL::ScopedLock lock(table.lock);
    table.hooks[className ? className : L""] = hooks;
}

void UnregisterWidgetHooks(const wchar_t* className)
{
    HookTable& table = Hooks();
    VREL::ScopedLock lock(table.lock);
    table.hooks.erase(className ? className : L"");
}

// ---- PageControls --------------------------------------------------------------------------

MControl* PageControls::Get(int id) const
{
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

// ---- PageBuilder -----------------------------------------------------------------------------

PageBuilder::PageBuilder(const LanguageTexts& texts, Gdiplus::Color pageColour)
    : m_texts(texts), m_pageColour(pageColour)
{
}

int PageBuilder::LanguageRadioFor(int language)
{
    return language == kLanguageShownByOtherRadio ? kIdLanguageOther : kIdLanguageEnglish;
}

int PageBuilder::EnterButtonText(bool connected) { return connected ? 60 : 63; }

int PageBuilder::CloseTooltipText(int exitMode) { return exitMode == 2 ? 17 : 16; }

CString PageBuilder::SleepItemText(int minutes) const
{
    CString text;
    if (minutes == 0)
        return m_texts.GetLanguageText(kSleepNeverText);
    text.Format(L"%d %ls", minutes, m_texts.GetLanguageText(kSleepUnitText).GetString());
    return text;
}

CString PageBuilder::OpText(const SetupOp& op) const
{
    if (op.op == Op::AddSleepItem)
        return SleepItemText(AsInt(op.v[0]));
    if (op.op == Op::CloseTooltip)
        return CString();
    return m_texts.Resolve(op.text);
}

PageControls PageBuilder::Build(VREL::MDialog& dialog, const RECT& client, const PageState& state)
{
    PageControls out = BuildShell(dialog, client, state);
    BuildHome(out, dialog, client);
    BuildMore(out, dialog, client, 0);
    return out;
}

namespace {

bool BuiltFirst(const PageTable& table) { return table.rows == &ShellRows() || table.rows == &HomeRows(); }

const SetupOp* FindOp(const ControlRow& row, Op op)
{
    for (const SetupOp& setup : row.setup)
        if (setup.op == op)
            return &setup;
    return nullptr;
}

} // namespace

void PageBuilder::PrepareFirstPaint(const RECT& client, const VREL::WindowBase& base)
{
    std::vector<CString> files;
    for (const std::vector<ControlRow>* rows : {&ShellRows(), &HomeRows()})
    {
        for (const ControlRow& row : *rows)
        {
            const SetupOp* image = FindOp(row, Op::Image);
            const SetupOp* skinPath = FindOp(row, Op::SkinPathImage);
            if (image && (row.flags & kRenderAhead) && row.place.placed)
            {
                // Set up as BuildRow will: the picture's own show mode unless
                // the row names one.
                VREL::enumShowMode mode = VREL::SHOW_MODE_NORMAL;
                int size = 0;
                if (const SetupOp* show = FindOp(row, Op::ShowMode))
                {
                    mode = static_cast<VREL::enumShowMode>(show->v[0]);
                    size = AsInt(show->v[1]);
                }
                VREL::MPicture::PrepareLook(image->file, AsInt(image->v[0]), CRect(Resolve(row.place, client)), mode,
                                            size, base);
                continue;
            }
            CString path;
            if (image)
                path = GetSkinFolder() + image->file;
            else if (skinPath)
                path = GetSkinFolder() + skinPath->file;
            // Each file once: the buttons of a window share one image of a
            // file, and a second picture of one file decodes its own.
            if (!path.IsEmpty() && std::find(files.begin(), files.end(), path) == files.end())
                files.push_back(path);
        }
    }
    VREL::MRender::PrefetchImages(files);
}

PageControls PageBuilder::BuildShell(VREL::MDialog& dialog, const RECT& client, const PageState& state)
{
    m_state = state;
    m_nextTable = 0;
    m_nextRow = 0;
    m_partial = PageControls();
    PageControls out;
    for (const PageTable& table : AllPageTables())
    {
        if (table.rows != &ShellRows())
            continue;
        BuildRows(out, dialog, table, &client);
        BuildTabStrip(out);
        // Placed while the strip is still shown: it lays its items out only
        // when it is visible, and a strip placed hidden would keep the item
        // rectangles of its empty creation rectangle, so no click would ever
        // hit a tab.
        FinishTable(out, table, client);
    }
    return out;
}

void PageBuilder::BuildHome(PageControls& out, VREL::MDialog& dialog, const RECT& client)
{
    for (const PageTable& table : AllPageTables())
    {
        if (table.rows != &HomeRows())
            continue;
        BuildRows(out, dialog, table, &client);
        FinishTable(out, table, client);
    }
    // The start view: the home page alone; the strip shows once a keyboard is ready.
    for (int id : kDevicePanels)
        if (MControl* panel = out.Get(id))
            panel->SetVisible(0);
    if (MControl* home = out.Get(kIdHomePanel))
        home->SetVisible(1);
    if (MControl* strip = out.Get(kIdTabStrip))
        strip->SetVisible(0);
}

bool PageBuilder::BuildMore(PageControls& out, VREL::MDialog& dialog, const RECT& client, int maxRows)
{
    const std::vector<PageTable>& tables = AllPageTables();
    int made = 0;
    while (m_nextTable < tables.size())
    {
        const PageTable& table = tables[m_nextTable];
        if (BuiltFirst(table))
        {
            ++m_nextTable;
            continue;
        }
        auto* panel = dynamic_cast<VREL::MPanel*>(out.Get(table.panelId));
        if (table.panelId != kOnWindow && !panel)
        {
            BuildRows(out, dialog, table);  // records every row as missing
            ++m_nextTable;
            continue;
        }
        const std::vector<ControlRow>& rows = *table.rows;
        while (m_nextRow < rows.size())
        {
            if (maxRows > 0 && made == maxRows)
                return false;
            BuildRow(m_partial, dialog, panel, rows[m_nextRow++]);
            ++made;
        }
        FinishTable(m_partial, table, client);
        // The finished page joins the controls in one step.
        out.m_controls.insert(m_partial.m_controls.begin(), m_partial.m_controls.end());
        out.m_missing.insert(out.m_missing.end(), m_partial.m_missing.begin(), m_partial.m_missing.end());
        out.m_skipped.insert(out.m_skipped.end(), m_partial.m_skipped.begin(), m_partial.m_skipped.end());
        m_partial = PageControls();
        m_nextRow = 0;
        ++m_nextTable;
    }
    return true;
}

bool PageBuilder::Finished() const { return m_nextTable >= AllPageTables().size(); }

void PageBuilder::FinishTable(PageControls& out, const PageTable& table, const RECT& client) const
{
    if (table.rows == &LightingRows())
        FillColourFields(out);
    else if (table.rows == &SystemSettingsRows())
        ApplySystemState(out, m_state);
    PlaceRows(out, *table.rows, client);
}

void PageBuilder::BuildRows(PageControls& out, VREL::MDialog& dialog, const PageTable& table, const RECT* client)
{
    VREL::MPanel* panel = nullptr;
    if (table.panelId != kOnWindow)
    {
        panel = dynamic_cast<VREL::MPanel*>(out.Get(table.panelId));
        if (!panel)
        {
            for (const ControlRow& row : *table.rows)
            {
                CString entry;
                entry.Format(L"%d %ls (no panel %d)", row.id, row.className, table.panelId);
                out.m_missing.push_back(entry);
            }
            return;
        }
    }
    for (const ControlRow& row : *table.rows)
    {
        BuildRow(out, dialog, panel, row);
        if (client && (row.flags & kRenderAhead) && row.place.placed)
        {
            if (auto* picture = dynamic_cast<VREL::MPicture*>(out.Get(row.id)))
            {
                picture->SetRect(CRect(Resolve(row.place, *client)));
                picture->RenderAhead();
            }
        }
    }
}

void PageBuilder::BuildRow(PageControls& out, VREL::MDialog& dialog, VREL::MPanel* panel, const ControlRow& row)
{
    const CString title = m_texts.Resolve(row.title);
    const wchar_t* titleArg = row.title.source == TextSource::None ? nullptr : title.GetString();
    const CRect empty;
    MControl* control = nullptr;
    if (panel)
        control = row.kind == Kind::Area ? panel->CreateArea(row.className, row.id, empty, titleArg, 1, 1)
                                         : panel->CreateControl(row.className, row.id, empty, titleArg, 1, 1);
    else
        control = row.kind == Kind::Area ? dialog.CreateArea(row.className, row.id, empty, titleArg, 1, 1)
                                         : dialog.CreateControl(row.className, row.id, empty, titleArg, 1, 1);
    if (!control)
    {
        CString entry;
        entry.Format(L"%d %ls", row.id, row.className);
        out.m_missing.push_back(entry);
        return;
    }
    out.m_controls[row.id] = control;
    for (const SetupOp& op : row.setup)
        ApplyOp(out, control, row, op, m_state);
}

void PageBuilder::ApplyOp(PageControls& out, MControl* control, const ControlRow& row, const SetupOp& op,
                          const PageState& state) const
{
    auto* font = dynamic_cast<MControlFont*>(control);
    bool done = true;
    switch (op.op)
    {
    case Op::Image:
        done = font && (font->SetImage(op.file, AsInt(op.v[0])), true);
        break;
    case Op::SkinPathImage:
        done = font && (font->SetImage((GetSkinFolder() + op.file).GetString(), AsInt(op.v[0])), true);
        break;
    case Op::TextColour:
        done = font && (font->SetTextColor(Gdiplus::Color(op.v[0])), true);
        break;
    case Op::PageColour:
        done = font && (font->SetTextColor(m_pageColour), true);
        break;
    case Op::Align:
        done = font && (font->SetAlignment(op.v[0]), true);
        break;
    case Op::VAlign:
        done = font && (font->SetVAlignment(op.v[0]), true);
        break;
    case Op::FontSize:
        done = font && (font->SetFontWidth(AsInt(op.v[0])), true);
        break;
    case Op::FontStyle:
        done = font && (font->SetFontStyle(static_cast<Gdiplus::FontStyle>(op.v[0])), true);
        break;
    case Op::Title:
        done = font && (font->SetTitle(OpText(op).GetString()), true);
        break;
    case Op::Tooltip:
        control->SetTooltip(OpText(op).GetString());
        break;
    case Op::CloseTooltip:
        control->SetTooltip(m_texts.GetLanguageText(CloseTooltipText(state.exitMode)).GetString());
        break;
    case Op::Visible:
        control->SetVisible(AsInt(op.v[0]));
        break;
    case Op::Enabled:
        control->SetEnabled(AsInt(op.v[0]));
        break;
    case Op::Fill:
        if (auto* area = dynamic_cast<VREL::CRoundArea*>(control))
            area->SetColor(Gdiplus::Color(op.v[0]));
        else
            done = false;
        break;
    case Op::Frame:
        if (auto* area = dynamic_cast<VREL::CRoundArea*>(control))
            area->SetFrame(AsInt(op.v[0]), Gdiplus::Color(op.v[1]), AsInt(op.v[2]));
        else
            done = false;
        break;
    case Op::Round:
        if (auto* area = dynamic_cast<VREL::CRoundArea*>(control))
            area->SetRound(AsInt(op.v[0]));
        else
            done = false;
        break;
    case Op::Transparent:
        if (auto* area = dynamic_cast<VREL::CArea*>(control))
            area->SetTransparent(AsInt(op.v[0]), AsInt(op.v[1]), op.v[2]);
        else
            done = false;
        break;
    case Op::ShowMode:
        if (auto* picture = dynamic_cast<VREL::MPicture*>(control))
            picture->SetShowMode(static_cast<VREL::enumShowMode>(op.v[0]), AsInt(op.v[1]));
        else
            done = false;
        break;
    case Op::MultiLine:
    case Op::VCentre:
        if (auto* text = dynamic_cast<VREL::MText*>(control))
            op.op == Op::MultiLine ? text->EnableMultiLine(AsInt(op.v[0])) : text->EnableVCenter(AsInt(op.v[0]));
        else
            done = false;
        break;
    case Op::SwitchImages:
        if (auto* toggle = dynamic_cast<VREL::CSwitchButton*>(control))
            toggle->SetImage(op.file, op.file2, AsInt(op.v[0]));
        else
            done = false;
        break;
    case Op::Group:
        if (auto* radio = dynamic_cast<VREL::CRadioButton*>(control))
            radio->SetGroupName(op.file);
        else if (auto* cell = dynamic_cast<VREL::CColorButton*>(control))
            cell->SetGroupName(op.file);
        else
            done = false;
        break;
    case Op::Check:
        if (auto* check = dynamic_cast<VREL::CCheckButton*>(control))
            check->SetCheck(AsInt(op.v[0]));
        else if (auto* toggle = dynamic_cast<VREL::CSwitchButton*>(control))
            toggle->SetCheck(AsInt(op.v[0]));
        else
            done = false;
        break;
    case Op::FrameSize:
        if (auto* button = dynamic_cast<VREL::MButton*>(control))
            button->SetFrameSize(AsInt(op.v[0]));
        else
            done = false;
        break;
    case Op::IconImage:
        if (auto* button = dynamic_cast<VREL::CIconButton*>(control))
            button->SetIconImage(op.file, AsInt(op.v[0]));
        else
            done = false;
        break;
    case Op::TextRect:
        if (auto* button = dynamic_cast<VREL::CIconButton*>(control))
            button->SetTextRect(CRect(AsInt(op.v[0]), AsInt(op.v[1]), AsInt(op.v[2]), AsInt(op.v[3])),
                                CRect(AsInt(op.v[4]), AsInt(op.v[5]), AsInt(op.v[6]), AsInt(op.v[7])));
        else
            done = false;
        break;
    case Op::CellColour:
        if (auto* cell = dynamic_cast<VREL::CColorButton*>(control))
            cell->SetColor(op.v[0]);
        else
            done = false;
        break;
    case Op::ShowText:
    case Op::MinProgress:
    case Op::MaxProgress:
    case Op::Progress:
        if (auto* slider = dynamic_cast<VREL::MSliderBase*>(control))
        {
            if (op.op == Op::ShowText)
                slider->SetShowText(AsInt(op.v[0]));
            else if (op.op == Op::MinProgress)
                slider->SetMinProgress(AsInt(op.v[0]));
            else if (op.op == Op::MaxProgress)
                slider->SetMaxProgress(AsInt(op.v[0]));
            else
                slider->SetProgress(AsInt(op.v[0]));
        }
        else
            done = false;
        break;
    case Op::NumberOnly:
    case Op::EditBack:
    case Op::LimitText:
        if (auto* edit = dynamic_cast<VREL::MEdit*>(control))
        {
            if (op.op == Op::NumberOnly)
                edit->SetNumberOnly(AsInt(op.v[0]));
            else if (op.op == Op::EditBack)
                edit->SetEditBKColor(op.v[0]);
            else
                edit->SetLimitText(AsInt(op.v[0]));
        }
        else
            done = false;
        break;
    default:
    {
        // The class's own set-up: through the family's hooks.
        const WidgetHooks hooks = HooksOf(row.className);
        done = hooks.apply && hooks.apply(control, op, OpText(op));
        break;
    }
    }
    if (!done)
    {
        CString entry;
        entry.Format(L"%d %ls %ls", row.id, row.className, OpName(op.op));
        out.m_skipped.push_back(entry);
    }
}

void PageBuilder::BuildTabStrip(PageControls& out) const
{
    auto* strip = out.As<VREL::MTabCtrl>(kIdTabStrip);
    if (!strip)
        return;
    strip->SetTabCtrlWidth(kTabWidth);
    strip->SetTabCtrlHeight(kTabHeight);
    strip->SetLeftRightPading(0, kTabRightPadding);
    strip->SetTopBottomPading(0, kTabHeight);
    strip->SetTabType(VREL::TAB_TYPE_HORIZONTAL);
    for (const TabItemRow& item : TabStripItems())
        strip->InsertItem(static_cast<UINT>(item.itemId), m_texts.GetLanguageText(item.textNumber),
                          CString(item.iconStrip), out.Get(item.panelId), kTabIconFrames, 0);
    strip->SetItemWidth(kTabWidth, kTabWidth, 1);
    strip->SetItemHeight(kTabHeight, kTabHeight, 1);
    // The first selection is made before the dialog listens to the strip:
    // building the window must not run the page switch, which would hide
    // the home page that the window starts on.
    VREL::MObject* owner = strip->GetParantObject();
    strip->SetParent(nullptr);
    strip->SetSelectItem(0);
    strip->SetParent(owner);
}

void PageBuilder::FillColourFields(const PageControls& out) const
{
    auto* circle = out.As<VREL::CirclePalette>(kIdColourCircle);
    if (!circle)
        return;
    const COLORREF colour = circle->GetSelectColor();
    const int components[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    const int fields[3] = {kIdRedField, kIdGreenField, kIdBlueField};
    for (int i = 0; i < 3; ++i)
    {
        if (auto* field = out.As<MControlFont>(fields[i]))
        {
            CString text;
            text.Format(L"%d", components[i]);
            field->SetTitle(text.GetString());
        }
    }
}

void PageBuilder::ApplySystemState(const PageControls& controls, const PageState& state)
{
    if (auto* radio = controls.As<VREL::CRadioButton>(LanguageRadioFor(state.language)))
        radio->SetCheck(1);
    if (state.autorun)
    {
        if (auto* autorun = controls.As<VREL::CCheckButton>(kIdAutorun))
            autorun->SetCheck(1);
        if (auto* minimized = controls.As<VREL::CCheckButton>(kIdAutorunMinimized))
        {
            minimized->SetEnabled(1);
            if (state.autorunMinimize == 1)
                minimized->SetCheck(1);
        }
    }
    if (auto* radio = controls.As<VREL::CRadioButton>(state.exitMode == 1 ? kIdExitToTray : kIdExitProgram))
        radio->SetCheck(1);
}

void PageBuilder::Place(const PageControls& controls, const RECT& client)
{
    if (!controls.Get(kIdCloseButton))
        return;
    for (const PageTable& table : AllPageTables())
        PlaceRows(controls, *table.rows, client);
}

void PageBuilder::PlaceRows(const PageControls& controls, const std::vector<ControlRow>& rows, const RECT& client)
{
    for (const ControlRow& row : rows)
    {
        MControl* control = controls.Get(row.id);
        if (control && row.place.placed)
            control->SetRect(CRect(Resolve(row.place, client)));
    }
}

void PageBuilder::ApplyTexts(const PageControls& controls, const PageState& state) const
{
    for (const PageTable& table : AllPageTables())
    {
        for (const ControlRow& row : *table.rows)
        {
            MControl* control = controls.Get(row.id);
            if (!control || (row.flags & kKeepCreationTexts))
                continue;
            auto* font = dynamic_cast<MControlFont*>(control);
            if (font && row.id == kIdEnterButton)
                font->SetTitle(m_texts.GetLanguageText(EnterButtonText(state.connected)).GetString());
            else if (font && (row.title.source == TextSource::Dialog || row.title.source == TextSource::Caption))
                font->SetTitle(m_texts.Resolve(row.title).GetString());

            const WidgetHooks hooks = HooksOf(row.className);
            const bool items = !(row.flags & kItemsOnlyOnRgbKeyboard) || state.rgbKeyboard;
            int index = 0;
            for (const SetupOp& op : row.setup)
            {
                if (op.op == Op::Tooltip)
                    control->SetTooltip(OpText(op).GetString());
                else if (op.op == Op::CloseTooltip)
                    control->SetTooltip(m_texts.GetLanguageText(CloseTooltipText(state.exitMode)).GetString());
                else if (IsItemOp(op.op))
                {
                    if (items && hooks.setItemText && op.text.source != TextSource::Literal)
                        hooks.setItemText(control, index, OpText(op));
                    ++index;
                }
            }
        }
    }
    if (auto* strip = controls.As<VREL::MTabCtrl>(kIdTabStrip))
    {
        int index = 0;
        for (const TabItemRow& item : TabStripItems())
            strip->SetItemText(index++, m_texts.GetLanguageText(item.textNumber));
    }
}

} // namespace tarnwell

#pragma once

// The main window's controls as data: the shell and every page, one row a
// control, in creation order. A row names the control's id, class, kind,
// title, the library calls made right after creation (its set-up, in order)
// and its place in the client rectangle. PageBuilder creates and places the
// rows; the dialog keeps plain pointers to what it made.

#include <windows.h>

#include <cstdint>
#include <vector>

namespace tarnwell {

// Section names of the language files.
inline constexpr wchar_t kDialogSection[] = L"KB.DIALOG";
inline constexpr wchar_t kCaptionSection[] = L"CAPTION";

// Where a caption, tooltip or item text comes from.
enum class TextSource : uint8_t
{
    None,     // no text at all (the factory gets a null title)
    Empty,    // an empty text
    Dialog,   // number n of section "KB.DIALOG"
    Caption,  // number n of section "CAPTION"
    Literal,  // a fixed text that no language changes
};

struct TextRef
{
    TextSource source = TextSource::None;
    int number = 0;
    const wchar_t* literal = nullptr;
};

constexpr TextRef NoText() { return TextRef{}; }
constexpr TextRef EmptyText() { return TextRef{TextSource::Empty, 0, nullptr}; }
constexpr TextRef Text(int number) { return TextRef{TextSource::Dialog, number, nullptr}; }
constexpr TextRef CaptionText(int number) { return TextRef{TextSource::Caption, number, nullptr}; }
constexpr TextRef Literal(const wchar_t* text) { return TextRef{TextSource::Literal, 0, text}; }

// One coordinate of a place: an edge of the client rectangle L, T, R, B (or
// its centre C = (R - L) / 2, or 0) plus an offset.
enum class Edge : uint8_t
{
    Zero,
    Left,
    Top,
    Right,
    Bottom,
    Centre,
};

struct Coord
{
    Edge edge;
    int offset;
};

constexpr Coord At(int offset) { return Coord{Edge::Zero, offset}; }
constexpr Coord FromL(int offset = 0) { return Coord{Edge::Left, offset}; }
constexpr Coord FromT(int offset = 0) { return Coord{Edge::Top, offset}; }
constexpr Coord FromR(int offset = 0) { return Coord{Edge::Right, offset}; }
constexpr Coord FromB(int offset = 0) { return Coord{Edge::Bottom, offset}; }
constexpr Coord FromC(int offset = 0) { return Coord{Edge::Centre, offset}; }

struct Place
{
    bool placed;
    Coord left, top, right, bottom;
};

// A control that no layout rule places: it keeps the empty rectangle of its
// creation, holds state and receives texts, but is never drawn or hit.
constexpr Place NoPlace() { return Place{false, At(0), At(0), At(0), At(0)}; }
constexpr Place PlaceAt(Coord left, Coord top, Coord right, Coord bottom) { return Place{true, left, top, right, bottom}; }
constexpr Place Fixed(int left, int top, int right, int bottom)
{
    return Place{true, At(left), At(top), At(right), At(bottom)};
}

// The set-up calls a row may make, applied in the row's order.
enum class Op : uint8_t
{
    // Any control with a title, a font and an image strip.
    Image,          // file, frames
    SkinPathImage,  // file, frames: the skin folder's full path is passed
    TextColour,     // ARGB
    PageColour,     // the dialog's page text colour
    Align,          // horizontal alignment
    VAlign,         // vertical alignment
    FontSize,       // size
    FontStyle,      // 1 bold, 4 underline
    Title,          // a fixed title set after creation
    // Any control.
    Tooltip,        // text
    CloseTooltip,   // text 17 when the exit mode reads 2, else text 16
    Visible,
    Enabled,
    // Areas.
    Fill,           // ARGB (rounded area)
    Frame,          // on, ARGB, width (rounded area)
    Round,          // rounded corners on or off
    Transparent,    // first, second, COLORREF (plain area)
    ShowMode,       // mode, size (picture)
    MultiLine,      // static text
    VCentre,        // static text
    // Buttons.
    SwitchImages,   // on file, off file, frames
    Group,          // group name (radio buttons, colour cells)
    Check,
    FrameSize,
    IconImage,      // file, frames
    TextRect,       // text rectangle, icon rectangle
    CellColour,     // COLORREF
    // Sliders.
    ShowText,
    MinProgress,
    MaxProgress,
    Progress,
    // Edit fields.
    NumberOnly,
    EditBack,       // COLORREF
    LimitText,
    // Combo boxes.
    AddItem,        // text, item data
    AddSleepItem,   // minutes (0: the "never" item), item data
    CurSel,
    // Keyboard widgets.
    KeyboardMode,
    AddKeyLayer,    // text, layer id
    SelectKeyLayer,
    AddKeyType,     // text, category id
    InitItemInfo,
    // Row lists.
    ShowEdit,
    EditImage,      // file, frames
    ItemImage,      // file, frames
    MoreImage,      // file, frames
    AllItemHeight,
};

struct SetupOp
{
    Op op = Op::Image;
    const wchar_t* file = nullptr;
    const wchar_t* file2 = nullptr;
    TextRef text;
    uint32_t v[8] = {};
};

// Set-up helpers, named after the library calls they stand for.
namespace setup {
inline SetupOp New(Op op, const wchar_t* file = nullptr, const wchar_t* file2 = nullptr)
{
    SetupOp s;
    s.op = op;
    s.file = file;
    s.file2 = file2;
    return s;
}
inline SetupOp Make(Op op, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0)
{
    SetupOp s = New(op);
    s.v[0] = a;
    s.v[1] = b;
    s.v[2] = c;
    return s;
}
inline SetupOp Image(const wchar_t* file, int frames)
{
    SetupOp s = New(Op::Image, file);
    s.v[0] = static_cast<uint32_t>(frames);
    return s;
}
inline SetupOp SkinPathImage(const wchar_t* file, int frames)
{
    SetupOp s = New(Op::SkinPathImage, file);
    s.v[0] = static_cast<uint32_t>(frames);
    return s;
}
inline SetupOp SwitchImages(const wchar_t* on, const wchar_t* off, int frames)
{
    SetupOp s = New(Op::SwitchImages, on, off);
    s.v[0] = static_cast<uint32_t>(frames);
    return s;
}
inline SetupOp FileOp(Op op, const wchar_t* file, int frames)
{
    SetupOp s = New(op, file);
    s.v[0] = static_cast<uint32_t>(frames);
    return s;
}
inline SetupOp TextOp(Op op, TextRef text, int data = 0)
{
    SetupOp s = New(op);
    s.text = text;
    s.v[0] = static_cast<uint32_t>(data);
    return s;
}
inline SetupOp TextColour(uint32_t argb) { return Make(Op::TextColour, argb); }
inline SetupOp PageColour() { return Make(Op::PageColour); }
inline SetupOp Align(int h) { return Make(Op::Align, static_cast<uint32_t>(h)); }
inline SetupOp VAlign(int v) { return Make(Op::VAlign, static_cast<uint32_t>(v)); }
inline SetupOp FontSize(int size) { return Make(Op::FontSize, static_cast<uint32_t>(size)); }
inline SetupOp FontStyle(int style) { return Make(Op::FontStyle, static_cast<uint32_t>(style)); }
inline SetupOp Title(const wchar_t* text) { return TextOp(Op::Title, Literal(text)); }
inline SetupOp Tooltip(int number) { return TextOp(Op::Tooltip, Text(number)); }
inline SetupOp CloseTooltip() { return Make(Op::CloseTooltip); }
inline SetupOp Visible(int visible) { return Make(Op::Visible, static_cast<uint32_t>(visible)); }
inline SetupOp Enabled(int enabled) { return Make(Op::Enabled, static_cast<uint32_t>(enabled)); }
inline SetupOp Fill(uint32_t argb) { return Make(Op::Fill, argb); }
inline SetupOp Frame(int on, uint32_t argb, int width)
{
    return Make(Op::Frame, static_cast<uint32_t>(on), argb, static_cast<uint32_t>(width));
}
inline SetupOp Round(int round) { return Make(Op::Round, static_cast<uint32_t>(round)); }
inline SetupOp Transparent(int a, int b, COLORREF colour)
{
    return Make(Op::Transparent, static_cast<uint32_t>(a), static_cast<uint32_t>(b), colour);
}
inline SetupOp ShowMode(int mode, int size) { return Make(Op::ShowMode, static_cast<uint32_t>(mode), static_cast<uint32_t>(size)); }
inline SetupOp MultiLine() { return Make(Op::MultiLine, 1); }
inline SetupOp VCentre() { return Make(Op::VCentre, 1); }
inline SetupOp Group(const wchar_t* name) { return New(Op::Group, name); }
inline SetupOp Check(int check) { return Make(Op::Check, static_cast<uint32_t>(check)); }
inline SetupOp FrameSize(int size) { return Make(Op::FrameSize, static_cast<uint32_t>(size)); }
inline SetupOp IconImage(const wchar_t* file, int frames) { return FileOp(Op::IconImage, file, frames); }
inline SetupOp TextRect(RECT text, RECT icon)
{
    SetupOp s = New(Op::TextRect);
    const LONG values[8] = {text.left, text.top, text.right, text.bottom, icon.left, icon.top, icon.right, icon.bottom};
    for (int i = 0; i < 8; ++i)
        s.v[i] = static_cast<uint32_t>(values[i]);
    return s;
}
inline SetupOp CellColour(COLORREF colour) { return Make(Op::CellColour, colour); }
inline SetupOp ShowText(int show) { return Make(Op::ShowText, static_cast<uint32_t>(show)); }
inline SetupOp MinProgress(int value) { return Make(Op::MinProgress, static_cast<uint32_t>(value)); }
inline SetupOp MaxProgress(int value) { return Make(Op::MaxProgress, static_cast<uint32_t>(value)); }
inline SetupOp Progress(int value) { return Make(Op::Progress, static_cast<uint32_t>(value)); }
inline SetupOp NumberOnly() { return Make(Op::NumberOnly, 1); }
inline SetupOp EditBack(COLORREF colour) { return Make(Op::EditBack, colour); }
inline SetupOp LimitText(int limit) { return Make(Op::LimitText, static_cast<uint32_t>(limit)); }
inline SetupOp AddItem(int number, int data) { return TextOp(Op::AddItem, Text(number), data); }
inline SetupOp AddItem(TextRef text, int data) { return TextOp(Op::AddItem, text, data); }
inline SetupOp AddSleepItem(int minutes, int data)
{
    return Make(Op::AddSleepItem, static_cast<uint32_t>(minutes), static_cast<uint32_t>(data));
}
inline SetupOp CurSel(int index) { return Make(Op::CurSel, static_cast<uint32_t>(index)); }
inline SetupOp KeyboardMode(int mode) { return Make(Op::KeyboardMode, static_cast<uint32_t>(mode)); }
inline SetupOp AddKeyLayer(int number, int id) { return TextOp(Op::AddKeyLayer, Text(number), id); }
inline SetupOp SelectKeyLayer(int index) { return Make(Op::SelectKeyLayer, static_cast<uint32_t>(index)); }
inline SetupOp AddKeyType(int number, int id) { return TextOp(Op::AddKeyType, Text(number), id); }
inline SetupOp InitItemInfo() { return Make(Op::InitItemInfo); }
inline SetupOp ShowEdit(int show) { return Make(Op::ShowEdit, static_cast<uint32_t>(show)); }
inline SetupOp EditImage(const wchar_t* file, int frames) { return FileOp(Op::EditImage, file, frames); }
inline SetupOp ItemImage(const wchar_t* file, int frames) { return FileOp(Op::ItemImage, file, frames); }
inline SetupOp MoreImage(const wchar_t* file, int frames) { return FileOp(Op::MoreImage, file, frames); }
inline SetupOp AllItemHeight(int height) { return Make(Op::AllItemHeight, static_cast<uint32_t>(height)); }
} // namespace setup

enum class Kind : uint8_t
{
    Area,     // drawn only, never the target of input
    Control,  // takes input
};

// Row flags.
enum RowFlag : unsigned
{
    // A language change leaves the texts of its creation alone.
    kKeepCreationTexts = 1u << 0,
    // Its items follow a language change only on a keyboard with per-key
    // colours (the music effect combos).
    kItemsOnlyOnRgbKeyboard = 1u << 1,
    // A picture placed as soon as it is made and its look rendered ahead,
    // while the rows after it are built (the window-sized backdrop, which
    // costs the first paint more than all else it shows).
    kRenderAhead = 1u << 2,
};

struct ControlRow
{
    int id;
    const wchar_t* className;
    Kind kind;
    TextRef title;
    std::vector<SetupOp> setup;
    Place place;
    unsigned flags = 0;
};

// The window's own controls have no panel.
inline constexpr int kOnWindow = 0;

// Ids the builder and the dialog refer to by name.
enum ControlId : int
{
    kIdCloseButton = 35,
    kIdPresetLabel = 43,
    kIdTabStrip = 52,
    kIdKeysPanel = 54,
    kIdLightingPanel = 55,
    kIdMacroPanel = 56,
    kIdSettingsPanel = 57,
    kIdSystemPanel = 58,
    kIdHomePanel = 59,
    kIdEnterButton = 62,
    kIdColourCircle = 137,
    kIdRedField = 141,
    kIdGreenField = 142,
    kIdBlueField = 143,
    kIdFirstColourCell = 144,
    kIdLastColourCell = 168,
    kIdLanguageOther = 199,
    kIdLanguageEnglish = 200,
    kIdAutorun = 202,
    kIdAutorunMinimized = 203,
    kIdExitToTray = 207,
    kIdExitProgram = 208,
};

// One page's rows and where they are created.
struct PageTable
{
    const wchar_t* name;  // for messages and screenshot file names
    int panelId;          // kOnWindow or the page panel that owns the rows
    const std::vector<ControlRow>* rows;
};

// Every table in the order the window builds them: the shell, then home,
// keys, macro, lighting, music controls, settings, system settings.
const std::vector<PageTable>& AllPageTables();

const std::vector<ControlRow>& ShellRows();
const std::vector<ControlRow>& HomeRows();
const std::vector<ControlRow>& SystemSettingsRows();
const std::vector<ControlRow>& KeysRows();
const std::vector<ControlRow>& LightingRows();
const std::vector<ControlRow>& MusicRows();
const std::vector<ControlRow>& MacroRows();
const std::vector<ControlRow>& SettingsRows();

// The tab strip's items, in order.
struct TabItemRow
{
    int itemId;  // the page id
    int textNumber;
    const wchar_t* iconStrip;
    int panelId;
};
const std::vector<TabItemRow>& TabStripItems();

// Rectangle of a place within a client rectangle; empty for no place.
RECT Resolve(const Place& place, const RECT& client);

} // namespace tarnwell

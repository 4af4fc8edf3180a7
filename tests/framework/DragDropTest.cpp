// OLE drag and drop: the data object and its enumerator, a library window
// as drop target (messages, effects, pictures handed over), dropped data
// that lies about its size, the drop target's registration, the picture of
// a dragged control and the drag itself.

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "tests/framework/CoreTestSupport.h"
#include "tests/support/DibCanvas.h"
#include "ui/framework/DragDrop.h"
#include "ui/framework/Render.h"

using namespace coretest;

namespace {

// A dialog that records what the drop target sends it, and that keeps a
// handed picture (as a static control does) only when asked to.
class DropDialog : public TestDialog
{
public:
    struct Seen
    {
        UINT msg;
        LPARAM lParam;
    };
    std::vector<Seen> seen;
    std::vector<HBITMAP> offered;
    bool keepImage = false;
    HBITMAP kept = nullptr;

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (msg)
        {
        case VREL::WM_KEY_DRAG_OVER:
        case VREL::WM_KEY_DROP:
        case WM_LBUTTONUP:
            seen.push_back({msg, lParam});
            break;
        case STM_SETIMAGE:
        {
            offered.push_back(reinterpret_cast<HBITMAP>(lParam));
            if (!keepImage)
                return 0;
            HBITMAP previous = kept;
            kept = reinterpret_cast<HBITMAP>(lParam);
            return reinterpret_cast<LRESULT>(previous);
        }
        case STM_GETIMAGE:
            return keepImage ? reinterpret_cast<LRESULT>(kept) : 0;
        default:
            break;
        }
        return TestDialog::OnWindowMessage(msg, wParam, lParam);
    }
    std::vector<UINT> SeenMessages() const
    {
        std::vector<UINT> messages;
        for (const Seen& s : seen)
            messages.push_back(s.msg);
        return messages;
    }
};

HBITMAP MakeBitmap(int width, int height)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

CSize BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    if (!::GetObjectW(bitmap, sizeof(info), &info))
        return CSize(-1, -1);
    return CSize(info.bmWidth, info.bmHeight);
}

FORMATETC Format(CLIPFORMAT format, DWORD storage, DWORD aspect = DVASPECT_CONTENT)
{
    return FORMATETC{format, nullptr, aspect, -1, storage};
}

HGLOBAL GlobalCopy(const void* bytes, size_t size)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(block), bytes, size);
    ::GlobalUnlock(block);
    return block;
}

// A packed DIB: the header (biSize 40), then `bitsBytes` bytes of pixels.
HGLOBAL PackedDib(LONG width, LONG height, WORD bitCount, size_t bitsBytes, DWORD coloursUsed = 0)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = BI_RGB;
    header.biClrUsed = coloursUsed;
    std::vector<BYTE> bytes(sizeof(header) + bitsBytes, 0x40);
    std::memcpy(bytes.data(), &header, sizeof(header));
    return GlobalCopy(bytes.data(), bytes.size());
}

HGLOBAL CorePackedDib(WORD width, WORD height)
{
    BITMAPCOREHEADER header = {sizeof(header), width, height, 1, 24};
    const size_t stride = ((width * 24u + 31) / 32) * 4;
    std::vector<BYTE> bytes(sizeof(header) + stride * height, 0x80);
    std::memcpy(bytes.data(), &header, sizeof(header));
    return GlobalCopy(bytes.data(), bytes.size());
}

// A file list of one file, or with the list offset pointing past the block.
HGLOBAL FileList(const std::wstring& file, bool offsetPastEnd = false)
{
    std::vector<BYTE> bytes(sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t), 0);
    DROPFILES header = {};
    header.pFiles = offsetPastEnd ? static_cast<DWORD>(bytes.size() + 64) : sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(bytes.data(), &header, sizeof(header));
    std::memcpy(bytes.data() + sizeof(DROPFILES), file.c_str(), file.size() * sizeof(wchar_t));
    return GlobalCopy(bytes.data(), bytes.size());
}

std::wstring TempFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// The longest name a dropped file list may give, and a name of `length`
// characters for file: its folder is padded with ".\" steps. Empty when the
// parity of the lengths does not allow it.
constexpr size_t kLongestDropName = 519;
std::wstring PaddedName(const std::wstring& file, size_t length)
{
    const size_t slash = file.rfind(L'\\');
    std::wstring padded = file.substr(0, slash + 1);
    const std::wstring name = file.substr(slash + 1);
    while (padded.size() + name.size() < length)
        padded += L".\\";
    padded += name;
    return padded.size() == length ? padded : std::wstring();
}

HENHMETAFILE SmallMetafile()
{
    HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    RECT box = {0, 0, 12, 8};
    ::FillRect(recorder, &box, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    return ::CloseEnhMetaFile(recorder);
}

// A data object holding one bitmap; one reference.
VREL::CIDataObject* DataWithBitmap(int width, int height)
{
    auto* data = new VREL::CIDataObject(nullptr);
    data->AddRef();
    FORMATETC format = Format(CF_BITMAP, TYMED_GDI);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_GDI;
    medium.hBitmap = MakeBitmap(width, height);
    data->SetData(&format, &medium, TRUE);
    return data;
}

class NullTarget : public VREL::CIDropTarget
{
public:
    bool OnDrop(FORMATETC*, STGMEDIUM&, DWORD*) override { return true; }
    void OnDragOver(POINTL) override {}
};

class DropTest : public PopupFixture<DropDialog>
{
protected:
    void SetUp() override
    {
        PopupFixture::SetUp();
        dialog.EnableWndDrag(0);
        ::GetClipCursor(&unclipped);
    }
    void TearDown() override
    {
        HoldKeys({});
        if (dialog.kept)
            ::DeleteObject(dialog.kept);
        PopupFixture::TearDown();
    }

    RECT unclipped = {};
};

} // namespace

// ---- data object and enumerator -------------------------------------------------------------

TEST(DataObject, TheEnumeratorSkipsNoFurtherThanTheEnd)
{
    VREL::CIDataObject* data = DataWithBitmap(4, 4);
    for (CLIPFORMAT format : {CF_DIB, CF_HDROP, CF_TEXT})
    {
        FORMATETC entry = Format(format, TYMED_HGLOBAL);
        STGMEDIUM medium = {};
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, 8);
        ASSERT_EQ(data->SetData(&entry, &medium, TRUE), S_OK);
    }
    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);

    EXPECT_EQ(formats->Skip(4), S_OK);
    formats->Reset();
    EXPECT_EQ(formats->Skip(5), S_FALSE);
    FORMATETC got[5] = {};
    ULONG fetched = 0;
    ASSERT_EQ(formats->Next(1, got, &fetched), S_OK);
    EXPECT_EQ(got[0].cfFormat, CF_BITMAP);
    // More than one without a count to report is refused.
    EXPECT_EQ(formats->Next(2, got, nullptr), S_FALSE);
    IEnumFORMATETC* clone = nullptr;
    ASSERT_EQ(formats->Clone(&clone), S_OK);
    EXPECT_EQ(formats->Next(5, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 3u);
    EXPECT_EQ(got[2].cfFormat, CF_TEXT);
    EXPECT_EQ(clone->Next(1, got, &fetched), S_OK);
    EXPECT_EQ(got[0].cfFormat, CF_DIB);
    EXPECT_EQ(formats->Skip(0xFFFFFFFFu), S_FALSE);

    IEnumFORMATETC* none = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &none), E_NOTIMPL);
    EXPECT_EQ(none, nullptr);
    clone->Release();
    formats->Release();
    data->Release();
}

TEST(DataObject, QueryGetDataNamesWhatDoesNotMatch)
{
    VREL::CIDataObject* data = DataWithBitmap(4, 4);
    FORMATETC dib = Format(CF_DIB, TYMED_HGLOBAL);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, 8);
    data->SetData(&dib, &medium, TRUE);

    struct Case
    {
        FORMATETC asked;
        HRESULT verdict;
    };
    for (const Case& c : {Case{Format(CF_DIB, TYMED_HGLOBAL), S_OK},
                          Case{Format(CF_BITMAP, TYMED_GDI | TYMED_HGLOBAL), S_OK},
                          Case{Format(CF_BITMAP, TYMED_GDI, DVASPECT_THUMBNAIL), DV_E_DVASPECT},
                          Case{Format(CF_TEXT, TYMED_HGLOBAL), DV_E_CLIPFORMAT},
                          Case{Format(CF_BITMAP, TYMED_ISTREAM), DV_E_TYMED}})
    {
        FORMATETC asked = c.asked;
        EXPECT_EQ(data->QueryGetData(&asked), c.verdict) << asked.cfFormat << " " << asked.tymed;
    }
    data->Release();
}

// ---- a library window as drop target ------------------------------------------------------

TEST_F(DropTest, ADropOverTheWindowReportsMovesThenReleaseThenDrop)
{
    IDropTarget* target = &Manager();
    VREL::CIDataObject* data = DataWithBitmap(16, 8);
    POINT screen = {60, 70};
    ::ClientToScreen(hwnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
    const POINTL at = {screen.x, screen.y};
    const DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE;

    struct Step
    {
        DWORD keys;
        DWORD effect;
    };
    DWORD effect = allowed;
    ASSERT_EQ(target->DragEnter(data, 0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    for (const Step& step : {Step{MK_SHIFT, DROPEFFECT_MOVE}, Step{MK_CONTROL | MK_SHIFT, DROPEFFECT_NONE},
                             Step{MK_CONTROL, DROPEFFECT_COPY}, Step{0, DROPEFFECT_COPY}})
    {
        effect = allowed;
        EXPECT_EQ(target->DragOver(step.keys, at, &effect), S_OK);
        EXPECT_EQ(effect, step.effect) << step.keys;
    }
    Pump();
    effect = allowed;
    EXPECT_EQ(target->Drop(data, 0, at, &effect), S_OK);
    // The source always learns that nothing was done.
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    Pump();

    const std::vector<UINT> expected = {VREL::WM_KEY_DRAG_OVER, VREL::WM_KEY_DRAG_OVER, VREL::WM_KEY_DRAG_OVER,
                                        VREL::WM_KEY_DRAG_OVER, WM_LBUTTONUP, VREL::WM_KEY_DROP};
    ASSERT_EQ(dialog.SeenMessages(), expected);
    EXPECT_EQ(dialog.seen[0].lParam, MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(dialog.seen[4].lParam, MAKELPARAM(60, 70));
    // The window was offered a copy of the bitmap; it did not keep it, so
    // the copy is gone again.
    ASSERT_EQ(dialog.offered.size(), 1u);
    EXPECT_EQ(::GetObjectType(dialog.offered[0]), 0u);
    data->Release();
}

TEST_F(DropTest, DataWithoutASupportedFormatDropsNothing)
{
    auto* data = new VREL::CIDataObject(nullptr);
    data->AddRef();
    FORMATETC text = Format(CF_UNICODETEXT, TYMED_HGLOBAL);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, 8);
    data->SetData(&text, &medium, TRUE);

    IDropTarget* target = &Manager();
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(data, 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    target->Drop(data, 0, POINTL{0, 0}, &effect);
    Pump();
    EXPECT_TRUE(dialog.seen.empty());
    data->Release();
}

struct DropCase
{
    const char* name;
    std::function<STGMEDIUM(FORMATETC&)> make;
    CSize picture;  // (0, 0): nothing may be handed over; (-1, -1): any size
};

TEST_F(DropTest, DroppedDataIsCheckedBeforeItBecomesAPicture)
{
    const std::wstring bitmapFile = TempFile(L"vrel_drop_test.bmp");
    HBITMAP source = MakeBitmap(6, 5);
    ASSERT_TRUE(VREL::MRender::SaveBitmapToFile(source, bitmapFile.c_str()));
    ::DeleteObject(source);
    // A bitmap reachable through a name of the longest length, and a list
    // naming a longer one that starts with it: cut short, it would name the
    // bitmap.
    std::wstring longestName = PaddedName(TempFile(L"vrel_drop_long.bmp"), kLongestDropName);
    if (longestName.empty())
        longestName = PaddedName(TempFile(L"vrel_drop_long_.bmp"), kLongestDropName);
    ASSERT_FALSE(longestName.empty());
    const std::wstring longFile = TempFile(longestName.substr(longestName.rfind(L'\\') + 1).c_str());
    source = MakeBitmap(3, 2);
    ASSERT_TRUE(VREL::MRender::SaveBitmapToFile(source, longFile.c_str()));
    ::DeleteObject(source);
    // Where names this long cannot be opened at all (Windows without long
    // paths) the two cases below prove nothing and are left out.
    HANDLE reachable = ::LoadImageW(nullptr, longestName.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    const bool longNamesOpen = reachable != nullptr;
    if (reachable)
        ::DeleteObject(reachable);
    const std::wstring textFile = TempFile(L"vrel_drop_test.txt");
    {
        HANDLE file = ::CreateFileW(textFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, "not a bitmap", 12, &written, nullptr);
        ::CloseHandle(file);
    }
    auto global = [](CLIPFORMAT cf, HGLOBAL block) {
        return [cf, block](FORMATETC& format) {
            format = Format(cf, TYMED_HGLOBAL);
            STGMEDIUM medium = {};
            medium.tymed = TYMED_HGLOBAL;
            medium.hGlobal = block;
            return medium;
        };
    };
    std::vector<DropCase> cases = {
        {"bitmap",
         [](FORMATETC& format) {
             format = Format(CF_BITMAP, TYMED_GDI);
             STGMEDIUM medium = {};
             medium.tymed = TYMED_GDI;
             medium.hBitmap = MakeBitmap(16, 8);
             return medium;
         },
         CSize(16, 8)},
        {"dib", global(CF_DIB, PackedDib(16, 8, 32, 16 * 8 * 4)), CSize(16, 8)},
        {"top-down dib", global(CF_DIB, PackedDib(16, -8, 32, 16 * 8 * 4)), CSize(16, 8)},
        {"core dib", global(CF_DIB, CorePackedDib(4, 3)), CSize(4, 3)},
        {"dib without its bits", global(CF_DIB, PackedDib(16, 8, 32, 0)), CSize()},
        {"dib one row short", global(CF_DIB, PackedDib(16, 8, 32, 16 * 7 * 4)), CSize()},
        {"dib shorter than its header", global(CF_DIB, GlobalCopy("\x28\0\0\0", 4)), CSize()},
        {"dib of absurd width", global(CF_DIB, PackedDib(1 << 24, 1, 32, 64)), CSize()},
        {"dib of zero height", global(CF_DIB, PackedDib(4, 0, 32, 64)), CSize()},
        {"palette larger than the depth", global(CF_DIB, PackedDib(4, 4, 8, 4096, 300)), CSize()},
        {"file list of a bitmap", global(CF_HDROP, FileList(bitmapFile)), CSize(6, 5)},
        {"file list of a text", global(CF_HDROP, FileList(textFile)), CSize()},
        {"file list pointing past its end", global(CF_HDROP, FileList(bitmapFile, true)), CSize()},
        {"metafile",
         [](FORMATETC& format) {
             format = Format(CF_ENHMETAFILE, TYMED_ENHMF);
             STGMEDIUM medium = {};
             medium.tymed = TYMED_ENHMF;
             medium.hEnhMetaFile = SmallMetafile();
             return medium;
         },
         CSize(-1, -1)},
    };

    if (longNamesOpen)
    {
        cases.push_back({"file list of the longest name", global(CF_HDROP, FileList(longestName)), CSize(3, 2)});
        cases.push_back({"file list of a longer name", global(CF_HDROP, FileList(longestName + L"x.bmp")), CSize()});
    }

    dialog.keepImage = true;
    for (const DropCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        dialog.seen.clear();
        dialog.offered.clear();
        FORMATETC format = {};
        STGMEDIUM medium = c.make(format);
        const HANDLE held = medium.hGlobal;
        DWORD effect = DROPEFFECT_COPY;
        // The medium goes back to its owner whatever it held: the window
        // gets a picture of its own.
        EXPECT_TRUE(Manager().OnDrop(&format, medium, &effect));
        ::ReleaseStgMedium(&medium);
        Pump();
        // The release and the drop message come whatever the data held.
        EXPECT_EQ(dialog.SeenMessages(), (std::vector<UINT>{WM_LBUTTONUP, VREL::WM_KEY_DROP}));
        if (c.picture == CSize())
        {
            EXPECT_TRUE(dialog.offered.empty());
            continue;
        }
        ASSERT_EQ(dialog.offered.size(), 1u);
        EXPECT_NE(static_cast<HANDLE>(dialog.offered[0]), held);
        const CSize size = BitmapSize(dialog.offered[0]);
        if (c.picture == CSize(-1, -1))
        {
            EXPECT_GT(size.cx, 0);
            EXPECT_GT(size.cy, 0);
        }
        else
        {
            EXPECT_EQ(size.cx, c.picture.cx);
            EXPECT_EQ(size.cy, c.picture.cy);
        }
    }
    ::DeleteFileW(bitmapFile.c_str());
    ::DeleteFileW(longFile.c_str());
    ::DeleteFileW(textFile.c_str());
}

TEST(DropRegistration, AWindowThatDefersItTakesDropsFromItsFirstPaintOn)
{
    DropDialog late;
    late.Manager().DeferDropRegistration();
    HWND window = late.Create(nullptr, L"drop test", WS_POPUP, 0, CRect(100, 100, 400, 300));
    ASSERT_NE(window, nullptr);
    auto* other = new NullTarget();
    other->AddRef();
    // Not yet painted: the window is no drop target, so another may register.
    EXPECT_EQ(::RegisterDragDrop(window, other), S_OK);
    ::RevokeDragDrop(window);
    late.ShowWindow(SW_SHOWNOACTIVATE);
    ::UpdateWindow(window);
    Pump();
    EXPECT_EQ(::RegisterDragDrop(window, other), DRAGDROP_E_ALREADYREGISTERED);
    late.DestroyWindow();
    other->Release();
}

TEST_F(DropTest, TheRegistrationEndsWithTheManagersWindowData)
{
    auto* other = new NullTarget();
    other->AddRef();
    EXPECT_EQ(::RegisterDragDrop(hwnd, other), DRAGDROP_E_ALREADYREGISTERED);
    Manager().DestroyData();
    EXPECT_EQ(::RegisterDragDrop(hwnd, other), S_OK);
    ::RevokeDragDrop(hwnd);
    other->Release();
    // The manager lives in its dialog: no count of references deletes it.
    IDropTarget* manager = &Manager();
    manager->AddRef();
    EXPECT_EQ(manager->Release(), 0u);
    EXPECT_EQ(manager->Release(), 0u);
    Manager().SetBackColor(0x102030, 0x405060);
    EXPECT_EQ(Manager().GetBackColor(), 0x102030u);
}

// ---- the dragged control ---------------------------------------------------------------------

namespace {

class Draggable : public Probe
{
public:
    using Probe::Probe;
    HBITMAP GetControlDropBitmap() override
    {
        return GetManager()->GetDropBitmap(this, CRect(0, 0, m_rect.Width(), m_rect.Height()), 0);
    }

};

} // namespace

TEST_F(DropTest, TheDragPictureShowsTheControlAsItPaints)
{
    Probe* probe = dialog.Add(new Probe(&dialog, 1, CRect(20, 20, 60, 50), RGB(200, 0, 0)));
    EXPECT_EQ(Manager().GetDropBitmap(nullptr, CRect(0, 0, 10, 10), 0), nullptr);

    HBITMAP whole = Manager().GetDropBitmap(probe, CRect(0, 0, 40, 30), 0);
    HBITMAP part = Manager().GetDropBitmap(probe, CRect(30, 20, 50, 40), 0);
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(BitmapSize(whole), CSize(40, 30));
    EXPECT_EQ(BitmapSize(part), CSize(20, 20));

    DibCanvas canvas(40, 30);
    HDC source = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(source, whole);
    ::BitBlt(canvas.Dc(), 0, 0, 40, 30, source, 0, 0, SRCCOPY);
    ::SelectObject(source, part);
    EXPECT_EQ(canvas.Rgb(0, 0), 0xC80000u);
    EXPECT_EQ(canvas.Rgb(39, 29), 0xC80000u);
    // Only the top-left 10 x 10 of the part lies on the control.
    ::BitBlt(canvas.Dc(), 0, 0, 20, 20, source, 0, 0, SRCCOPY);
    EXPECT_EQ(canvas.Rgb(5, 5), 0xC80000u);
    EXPECT_NE(canvas.Rgb(15, 15), 0xC80000u);
    ::SelectObject(source, previous);
    ::DeleteDC(source);
    ::DeleteObject(whole);
    ::DeleteObject(part);
}

// The system's drag loop; it ends at once since no mouse button is held, and
// the drop lands on the window under the cursor. (Under Wine the cursor clip
// of a drag never takes hold, so the last check only bites on Windows.)
TEST_F(DropTest, ADragFromAControlDropsOnTheWindowUnderTheCursor)
{
    auto* probe = dialog.Add(new Draggable(&dialog, 1, CRect(20, 20, 60, 50)));
    probe->SetDragDrop(1);
    CursorTo(hwnd, 30, 30);
    Move(hwnd, 30, 30);
    Down(hwnd, 30, 30);
    Move(hwnd, 40, 40, MK_LBUTTON);
    EXPECT_EQ(Move(hwnd, 41, 60, MK_LBUTTON), 1);
    Pump();

    RECT clip = {};
    ::GetClipCursor(&clip);
    EXPECT_TRUE(::EqualRect(&clip, &unclipped));
    const std::vector<UINT> seen = dialog.SeenMessages();
    EXPECT_NE(std::find(seen.begin(), seen.end(), VREL::WM_KEY_DROP), seen.end());
}

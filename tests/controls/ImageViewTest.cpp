// The image viewer and editor: where an image is shown, where its working
// copy lives, what a save writes (decoded back), that the source survives
// recovery, that wide paths work, and that a shortened list stays safe to
// preview.

#include <gtest/gtest.h>

#include <string>

#include "tests/controls/ColourTestSupport.h"
#include "tests/support/DibCanvas.h"
#include "ui/controls/ImageView.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"

using namespace colourtest;
using VREL::ImageView;

namespace {

constexpr UINT kViewId = 44;
// 400 x 300 at (10, 10).
const CRect kViewRect(10, 10, 410, 310);
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kRed = 0xFF0000;

// The viewer's working folder is named after the library's device name:
// this program runs under a name of its own and removes its working copies
// at the end.
class WorkingFolderEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { VREL::Manager::SetDeviceName(L"Tarnwell Colour Test"); }
    void TearDown() override { RemoveWorkingCopies(); }
};

::testing::Environment* const kWorkingFolder = ::testing::AddGlobalTestEnvironment(new WorkingFolderEnvironment);

class FitProbe : public ImageView
{
public:
    FitProbe() : ImageView(nullptr, 1, kViewRect, 1, 1) {}
    using ImageView::GetImageRect;
};

struct Editor
{
    Editor() : view(&owner, kViewId, kViewRect, 1, 1) {}
    size_t Saves() const { return WithCode(owner.reports, VREL::NC_IMAGE_SAVED).size(); }
    // A pen stroke along a line of window points.
    void Stroke(std::initializer_list<CPoint> points)
    {
        const CPoint* first = points.begin();
        view.OnControlLButtonDown(MK_LBUTTON, *first);
        for (const CPoint* p = first + 1; p != points.end(); ++p)
            view.OnControlMouseMove(MK_LBUTTON, *p);
        view.OnControlLButtonUp(0, *(points.end() - 1));
    }
    // A pen stroke along one row of an image shown at `shown` in the view,
    // from one of its columns to another.
    void StrokeRow(CPoint shown, int row, int from, int to)
    {
        const int x0 = kViewRect.left + shown.x, y0 = kViewRect.top + shown.y;
        Stroke({CPoint(x0 + from, y0 + row), CPoint(x0 + (from + to) / 2, y0 + row), CPoint(x0 + to, y0 + row)});
    }
    RecordingOwner owner;
    ImageView view;
};

std::wstring Wide(const CString& text) { return text.GetStdString(); }

} // namespace

TEST(ImageViewer, FitsImagesIntoTheBoxWithoutEnlargingThem)
{
    struct Case
    {
        const char* name;
        int width, height;
        CRect box;
        CRect fitted;
    };
    const CRect box(0, 0, 400, 300);
    const Case cases[] = {
        {"wider and taller, wide ratio", 800, 400, box, CRect(0, 50, 400, 250)},
        {"smaller: natural size, centred", 200, 100, box, CRect(100, 100, 300, 200)},
        {"only wider", 500, 300, box, CRect(0, 30, 400, 270)},
        {"only taller", 200, 600, box, CRect(150, 0, 250, 300)},
        {"ratios that whole-number division calls equal", 1300, 1000, CRect(0, 0, 400, 350), CRect(0, 21, 400, 328)},
        {"box away from the origin", 800, 400, CRect(10, 20, 410, 320), CRect(10, 70, 410, 270)},
        {"no image width", 0, 100, box, CRect()},
        {"no image height", 100, 0, box, CRect()},
        {"empty box", 100, 100, CRect(5, 5, 5, 50), CRect()},
        {"too flat to show", 100000, 1, box, CRect()},
    };
    FitProbe probe;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const CRect fitted = probe.GetImageRect(c.width, c.height, c.box);
        EXPECT_EQ(fitted, c.fitted);
        EXPECT_LE(fitted.Width(), c.box.Width());
        EXPECT_LE(fitted.Height(), c.box.Height());
    }
}

TEST(ImageViewer, WorkingCopyIsNamedAfterTheSourceFile)
{
    const CString folder = ImageView::GetEditFolder();
    ASSERT_FALSE(folder.IsEmpty());
    const CString tail = L"\\Tarnwell Colour Test Files\\edit\\";
    EXPECT_EQ(folder.Right(tail.GetLength()), tail);
    struct Case
    {
        const wchar_t* source;
        const wchar_t* name;
    };
    const Case cases[] = {{L"C:/pics/a.png", L"edit_a.png"}, {L"C:\\pics\\b.png", L"edit_b.png"},
                          {L"c.png", L"edit_c.png"}, {L"C:\\pics/d.png", L"edit_d.png"}};
    for (const Case& c : cases)
    {
        Editor e;
        EXPECT_EQ(e.view.SetImage(c.source), folder + c.name);
        EXPECT_EQ(e.view.GetEditImageFile(), folder + c.name);
    }
}

TEST(ImageViewer, PenStrokeIsSavedOnceAtItsPlaceOnTheImage)
{
    TempFolder temp(L"tarnwell_imageview_stroke");
    const std::wstring source = temp.Path() + L"blue.png";
    ASSERT_TRUE(WriteSolidPng(source, 200, 100, kBlue));
    Editor e;
    const CString working = e.view.SetImage(source.c_str());
    // 200 x 100 in a 400 x 300 view: shown at (100, 100) of the view.
    e.view.SetPenSize(8);
    e.view.SetColorValue(RGB(255, 0, 0));
    e.owner.reports.clear();

    // A click without movement leaves a stroke too short to draw or save.
    e.Stroke({CPoint(150, 150)});
    EXPECT_EQ(e.Saves(), 0u);

    e.StrokeRow(CPoint(100, 100), 50, 40, 160);
    EXPECT_EQ(e.Saves(), 1u);

    Png saved;
    ASSERT_TRUE(ReadPng(Wide(working), saved));
    EXPECT_EQ(saved.width, 200u);
    EXPECT_EQ(saved.height, 100u);
    EXPECT_EQ(saved.rgba[3], 0xFF);
    EXPECT_TRUE(NearColor(saved.Rgb(100, 50), kRed, 8)) << std::hex << saved.Rgb(100, 50);
    EXPECT_TRUE(NearColor(saved.Rgb(60, 50), kRed, 8)) << std::hex << saved.Rgb(60, 50);
    EXPECT_EQ(saved.Rgb(100, 20), kBlue);
    EXPECT_EQ(saved.Rgb(20, 50), kBlue);
    EXPECT_EQ(saved.Rgb(180, 50), kBlue);
}

TEST(ImageViewer, StrokeKeepsFiveHundredPointsAndUndoDropsTheLastRecord)
{
    TempFolder temp(L"tarnwell_imageview_points");
    const std::wstring source = temp.Path() + L"blue.png";
    ASSERT_TRUE(WriteSolidPng(source, 200, 100, kBlue));
    Editor e;
    e.view.SetImage(source.c_str());
    e.view.AddText(L"kept");
    e.owner.reports.clear();

    // A move of no more than 6 pixels either way adds nothing.
    e.view.OnControlLButtonDown(MK_LBUTTON, CPoint(100, 100));
    e.view.OnControlMouseMove(MK_LBUTTON, CPoint(106, 106));
    VREL::ImageEditRecord stroke;
    ASSERT_TRUE(e.view.GetEditRecord(1, stroke));
    EXPECT_EQ(stroke.pointCount, 1);
    for (int i = 1; i <= 600; ++i)
        e.view.OnControlMouseMove(MK_LBUTTON, CPoint(i % 2 ? 120 : 100, 100));
    e.view.OnControlLButtonUp(0, CPoint(100, 100));
    ASSERT_TRUE(e.view.GetEditRecord(1, stroke));
    EXPECT_EQ(stroke.type, VREL::IMAGE_EDIT_PEN);
    EXPECT_EQ(stroke.pointCount, VREL::ImageEditRecord::kMaxPoints);
    EXPECT_EQ(e.Saves(), 1u);

    e.view.RecoverCurEdit();
    EXPECT_EQ(e.view.GetEditCount(), 1);
    EXPECT_EQ(e.view.GetSelectedEdit(), -1);
    VREL::ImageEditRecord text;
    ASSERT_TRUE(e.view.GetEditRecord(0, text));
    EXPECT_EQ(text.text, L"kept");
    // Anchored at the view's centre.
    EXPECT_EQ(CPoint(text.x, text.y), kViewRect.CenterPoint());
    EXPECT_EQ(e.Saves(), 2u);
}

TEST(ImageViewer, RecoveryRebuildsTheWorkingCopyAndNeverTouchesTheSource)
{
    TempFolder temp(L"tarnwell_imageview_recover");
    const std::wstring source = temp.Path() + L"blue.png";
    ASSERT_TRUE(WriteSolidPng(source, 120, 80, kBlue));
    std::vector<unsigned char> original;
    ASSERT_TRUE(ReadFileBytes(source, original));

    Editor e;
    const CString working = e.view.SetImage(source.c_str());
    e.view.SetColorValue(RGB(255, 0, 0));
    // 120 x 80 in a 400 x 300 view: shown at (140, 110) of the view.
    e.StrokeRow(CPoint(140, 110), 40, 10, 110);
    Png edited;
    ASSERT_TRUE(ReadPng(Wide(working), edited));
    ASSERT_TRUE(NearColor(edited.Rgb(60, 40), kRed, 8));
    e.owner.reports.clear();

    e.view.RecoverOriginalImage();
    EXPECT_EQ(e.Saves(), 1u);
    EXPECT_EQ(e.view.GetEditCount(), 0);
    std::vector<unsigned char> after;
    ASSERT_TRUE(ReadFileBytes(source, after));
    EXPECT_EQ(after, original);
    Png rebuilt;
    ASSERT_TRUE(ReadPng(Wide(working), rebuilt));
    EXPECT_EQ(rebuilt.Rgb(60, 40), kBlue);
}

TEST(ImageViewer, WidePathsWorkForTheWorkingCopyTheSourceAndShrinking)
{
    TempFolder temp(L"tarnwell_imageview_\u00e4\u00f6\u00fc_\u4e2d\u6587");
    const std::wstring source = temp.Path() + L"Bild_\u00df\u4e2d.png";
    ASSERT_TRUE(WriteSolidPng(source, 200, 100, kBlue));
    Editor e;
    const CString working = e.view.SetImage(source.c_str());
    EXPECT_EQ(e.view.GetEditImageSize(), CSize(200, 100));
    EXPECT_EQ(working, ImageView::GetEditFolder() + L"edit_Bild_\u00df\u4e2d.png");
    e.view.SetColorValue(RGB(255, 0, 0));
    EXPECT_EQ(e.Saves(), 1u);
    e.StrokeRow(CPoint(100, 100), 50, 40, 160);
    EXPECT_EQ(e.Saves(), 2u);
    Png saved;
    ASSERT_TRUE(ReadPng(Wide(working), saved));
    EXPECT_TRUE(NearColor(saved.Rgb(100, 50), kRed, 8));

    // The working copy replaces the source on request.
    EXPECT_EQ(e.view.SaveImageData(), 1);
    Png replaced;
    ASSERT_TRUE(ReadPng(source, replaced));
    EXPECT_TRUE(NearColor(replaced.Rgb(100, 50), kRed, 8));

    // Shrinking writes through the same wide path.
    const std::wstring large = temp.Path() + L"gro\u00df.png";
    ASSERT_TRUE(WriteSolidPng(large, 800, 400, kBlue));
    EXPECT_EQ(e.view.SaveCurrentImage(CString(large.c_str())), 1);
    Png shrunk;
    ASSERT_TRUE(ReadPng(large, shrunk));
    EXPECT_EQ(shrunk.width, 400u);
    EXPECT_EQ(shrunk.height, 200u);
    EXPECT_EQ(shrunk.Rgb(200, 100), kBlue);
}

TEST(ImageViewer, ShrinkingLeavesSmallFilesAndBadFilesAlone)
{
    TempFolder temp(L"tarnwell_imageview_shrink");
    Editor e;
    struct Case
    {
        const char* name;
        std::wstring file;
        bool png;
    };
    const Case cases[] = {{"smaller than the view", temp.Path() + L"small.png", true},
                          {"not an image", temp.Path() + L"notes.png", false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (c.png)
            ASSERT_TRUE(WriteSolidPng(c.file, 200, 100, kBlue));
        else
            ASSERT_TRUE(WriteFileBytes(c.file, {'n', 'o', 't', ' ', 'p', 'n', 'g'}));
        std::vector<unsigned char> before, after;
        ReadFileBytes(c.file, before);
        EXPECT_EQ(e.view.SaveCurrentImage(CString(c.file.c_str())), 0);
        ReadFileBytes(c.file, after);
        EXPECT_EQ(after, before);
    }
    EXPECT_TRUE(e.owner.reports.empty());
}

TEST(ImageViewer, WithoutAnImageNothingIsSavedOrReported)
{
    TempFolder temp(L"tarnwell_imageview_noimage");
    const std::wstring source = temp.Path() + L"broken.png";
    ASSERT_TRUE(WriteFileBytes(source, {'b', 'r', 'o', 'k', 'e', 'n'}));
    Editor e;
    const CString working = e.view.SetImage(source.c_str());
    EXPECT_EQ(e.view.GetEditImageSize(), CSize(0, 0));
    e.view.AddText(L"hello");
    e.view.SetColorValue(RGB(1, 2, 3));
    e.view.ClearCurEdit();
    EXPECT_EQ(e.Saves(), 0u);
    // The working copy is still the copy of the source.
    std::vector<unsigned char> copy;
    ASSERT_TRUE(ReadFileBytes(Wide(working), copy));
    EXPECT_EQ(copy, (std::vector<unsigned char>{'b', 'r', 'o', 'k', 'e', 'n'}));
}

TEST(ImageViewer, WheelHoldsTheSelectedTextBetweenSixAndSixty)
{
    TempFolder temp(L"tarnwell_imageview_text");
    const std::wstring source = temp.Path() + L"blue.png";
    ASSERT_TRUE(WriteSolidPng(source, 200, 100, kBlue));
    Editor e;
    e.view.SetImage(source.c_str());
    e.view.SetFontSize(20);
    e.view.AddText(L"Tag");
    // Text is hit where it was last drawn.
    DibCanvas canvas(420, 320);
    HDC& dc = canvas.Dc();
    e.view.DrawControl(dc, kViewRect);
    e.view.SetDrawMode(VREL::IMAGE_MODE_MOVE_TEXT);
    e.view.OnControlLButtonDown(MK_LBUTTON, kViewRect.CenterPoint() + CPoint(2, 2));
    ASSERT_EQ(e.view.GetSelectedEdit(), 0);
    e.owner.reports.clear();

    VREL::ImageEditRecord record;
    for (int i = 0; i < 40; ++i)
        e.view.OnControlScroll(1, 1, kViewRect.CenterPoint());
    ASSERT_TRUE(e.view.GetEditRecord(0, record));
    EXPECT_EQ(record.size, 6);
    for (int i = 0; i < 40; ++i)
        e.view.OnControlScroll(1, 0, kViewRect.CenterPoint());
    ASSERT_TRUE(e.view.GetEditRecord(0, record));
    EXPECT_EQ(record.size, 60);
    EXPECT_EQ(e.Saves(), 80u);
}

TEST(ImageViewer, PreviewOfAShortenedListStaysWithinIt)
{
    TempFolder temp(L"tarnwell_imageview_preview");
    Editor e;
    for (int i = 0; i < 3; ++i)
    {
        const std::wstring file = temp.Path() + std::to_wstring(i) + L".png";
        ASSERT_TRUE(WriteSolidPng(file, 40, 30, kBlue));
        e.view.AddString(file.c_str(), 0, i);
    }
    EXPECT_EQ(e.view.GetItemImageFile(-1), L"");
    EXPECT_EQ(e.view.GetItemImageFile(3), L"");
    e.view.SetImagePreviewMode(true);
    // Past the display time of 0 by a tick of the system clock.
    ::Sleep(40);
    EXPECT_EQ(e.view.OnControlTimer(), 1);
    EXPECT_EQ(e.view.GetPreviewIndex(), 1);

    e.view.DeleteAllItems();
    e.view.AddString((temp.Path() + L"0.png").c_str(), 0, 0);
    DibCanvas canvas(420, 320);
    HDC& dc = canvas.Dc();
    for (int i = 0; i < 5; ++i)
    {
        ::Sleep(20);
        e.view.OnControlTimer();
        EXPECT_LT(e.view.GetPreviewIndex(), e.view.GetItemCount());
        e.view.DrawControl(dc, kViewRect);
    }
    e.view.DeleteAllItems();
    ::Sleep(20);
    e.view.OnControlTimer();
    e.view.DrawControl(dc, kViewRect);
}

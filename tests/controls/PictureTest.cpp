// The pictures: show modes (tiling above all), the photo frame's states and
// cells, the sliding picture's run, and the animated picture's frames.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "tests/controls/SliderTabTestSupport.h"
#include "tests/framework/TestTheme.h"
#include "ui/controls/Picture.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"

using namespace VREL;
using slidertest::RecordingOwner;
using slidertest::Report;

namespace {

constexpr UINT kId = 30;
constexpr uint32_t kMarker = 0x123456;
constexpr wchar_t kTile[] = L"test_tile.png";  // 30 x 20, one frame
constexpr int kTileWidth = 30;
constexpr int kTileHeight = 20;
constexpr wchar_t kPhoto[] = L"test_photo.png";  // 3 frames of 40 x 40
constexpr wchar_t kAnimation[] = L"test_anim.gif";  // 2 frames of 12 x 8

uint32_t ImagePixel(Gdiplus::Bitmap& image, int x, int y)
{
    Gdiplus::Color colour;
    image.GetPixel(x, y, &colour);
    return colour.GetValue() & 0xFFFFFF;
}

} // namespace

// A 30 x 20 frame tiled over 100 x 50 gives 4 x 3 tiles: the last column
// 10 pixels wide and the last row 10 high, nothing drawn past the control.
TEST(Picture, TilingCutsTheLastColumnAndRow)
{
    RecordingOwner owner;
    MPicture picture(&owner, kId, CRect(0, 0, 100, 50), 1, 1);
    ASSERT_EQ(picture.SetImage(kTile, 1), 1);
    picture.SetShowMode(SHOW_MODE_TILE, 0);
    DibCanvas canvas(120, 60, 0xFF000000 | kMarker);
    picture.Draw(canvas.Dc(), CRect(0, 0, 120, 60));

    Gdiplus::Bitmap tile(TestTheme::Path(kTile));
    ASSERT_EQ(tile.GetLastStatus(), Gdiplus::Ok);
    const POINT samples[] = {{0, 0}, {29, 19}, {31, 3}, {45, 25}, {90, 0}, {95, 12}, {99, 49}, {62, 41}, {99, 40}};
    for (const POINT& p : samples)
        EXPECT_EQ(canvas.Rgb(p.x, p.y), ImagePixel(tile, p.x % kTileWidth, p.y % kTileHeight)) << p.x << "," << p.y;
    EXPECT_EQ(canvas.Rgb(100, 10), kMarker);
    EXPECT_EQ(canvas.Rgb(50, 50), kMarker);
}

// Mode 0 draws the 30 x 20 frame unscaled where the alignment puts it; a
// frame larger than the control starts left of and above it.
TEST(Picture, NormalModePlacesTheFrameByTheAlignment)
{
    struct Case
    {
        const char* name;
        UINT hAlign;
        UINT vAlign;
        int width;
        int height;
        POINT origin;  // of the frame, from the control's top-left corner
    };
    const Case cases[] = {
        {"left top", 0, 0, 50, 40, {0, 0}},
        {"centred", 1, 4, 50, 40, {10, 10}},
        {"right bottom", 2, 8, 50, 40, {20, 20}},
        {"right bottom, frame larger", 2, 8, 20, 10, {-10, -10}},
    };
    Gdiplus::Bitmap tile(TestTheme::Path(kTile));
    ASSERT_EQ(tile.GetLastStatus(), Gdiplus::Ok);
    for (const Case& c : cases)
    {
        MPicture picture(nullptr, kId, CRect(0, 0, c.width, c.height), 1, 1);
        ASSERT_EQ(picture.SetImage(kTile, 1), 1);
        picture.SetAlignment(c.hAlign, c.vAlign);
        DibCanvas canvas(c.width + 10, c.height + 10, 0xFF000000 | kMarker);
        picture.Draw(canvas.Dc(), CRect(0, 0, c.width + 10, c.height + 10));
        for (int y = 0; y < c.height; y += 3)
        {
            for (int x = 0; x < c.width; x += 3)
            {
                const int tx = x - c.origin.x;
                const int ty = y - c.origin.y;
                const bool onFrame = tx >= 0 && tx < kTileWidth && ty >= 0 && ty < kTileHeight;
                EXPECT_EQ(canvas.Rgb(x, y), onFrame ? ImagePixel(tile, tx, ty) : kMarker)
                    << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(Picture, TilingAFrameOfNoSizeDrawsNothing)
{
    MPicture picture(nullptr, kId, CRect(0, 0, 100, 50), 1, 1);
    ASSERT_EQ(picture.SetImage(kTile, 0), 1);  // no frames asked for: one frame
    EXPECT_EQ(picture.GetImageSize(), CSize(kTileWidth, kTileHeight));
    ASSERT_EQ(picture.SetImage(kTile, 100), 1);  // 30 / 100: frames 0 pixels wide
    picture.SetShowMode(SHOW_MODE_TILE, 0);
    DibCanvas canvas(100, 50, 0xFF000000 | kMarker);
    picture.Draw(canvas.Dc(), CRect(0, 0, 100, 50));
    EXPECT_EQ(canvas.Rgb(0, 0), kMarker);
    EXPECT_EQ(canvas.Rgb(50, 25), kMarker);
}

TEST(Picture, SetShowModeChangesOnlyWhatDiffers)
{
    struct Case
    {
        enumShowMode from;
        int fromSize;
        enumShowMode to;
        int size;
        int result;
        int corner;
    };
    const Case cases[] = {
        {SHOW_MODE_FRAME, 4, SHOW_MODE_FRAME, 10, 1, 10},     // a new corner size
        {SHOW_MODE_FRAME, 10, SHOW_MODE_FRAME, 10, 0, 10},    // nothing new
        {SHOW_MODE_STRETCH, 4, SHOW_MODE_STRETCH, 99, 0, 4},  // same mode keeps the old size
        {SHOW_MODE_STRETCH, 4, SHOW_MODE_FRAME, 30, 1, 30},
    };
    for (const Case& c : cases)
    {
        MPicture picture(nullptr, kId, CRect(0, 0, 100, 50), 1, 1);
        picture.SetShowMode(c.from, c.fromSize);
        EXPECT_EQ(picture.SetShowMode(c.to, c.size), c.result);
        EXPECT_EQ(picture.GetShowMode(), c.to);
        EXPECT_EQ(picture.GetCornerSize(), c.corner);
    }
}

TEST(Picture, MissingFileLeavesNoPicture)
{
    RecordingOwner owner;
    MPicture picture(&owner, kId, CRect(0, 0, 100, 50), 1, 1);
    ASSERT_EQ(picture.SetImage(kTile, 1), 1);
    EXPECT_EQ(picture.SetImage(L"no_such_image.png", 1), 0);
    picture.SetShowMode(SHOW_MODE_STRETCH, 0);
    DibCanvas canvas(100, 50, 0xFF000000 | kMarker);
    picture.Draw(canvas.Dc(), CRect(0, 0, 100, 50));
    EXPECT_EQ(canvas.Rgb(50, 25), kMarker);
}

// Each state shows its own cell: frame i of the picture's strip in cell i.
// ---- a look rendered ahead ------------------------------------------------------------------

namespace {

constexpr int kHostWidth = 240;
constexpr int kHostHeight = 150;

using HostSetUp = std::function<void(testsupport::HostDialog&, MPicture&)>;
using PictureChange = std::function<void(MPicture&)>;

// What the window shows once a tile stretched over all of it has been
// painted; the tile's blended edges take in the window's border colour.
// before runs with the picture set up, before it joins the window; change
// runs after the look-ahead started (or would have), before the paint.
// prepare runs before the picture is made, with the window's base.
using Prepare = std::function<void(const WindowBase& base)>;

std::vector<uint32_t> PaintedStretch(bool renderAhead, const HostSetUp& before, const PictureChange& change,
                                     const Prepare& prepare = nullptr)
{
    testsupport::HostDialog host;
    const HWND hwnd = host.Open(kHostWidth, kHostHeight);
    host.Manager().SetBackColor(RGB(0x1B, 0x1B, 0x1B), RGB(0x3A, 0x3A, 0x3A));
    if (prepare)
    {
        WindowBase base;
        EXPECT_TRUE(host.Manager().ExpectedBase(base));
        prepare(base);
    }
    auto* picture = new MPicture(&host, kId, CRect(0, 0, kHostWidth, kHostHeight), 1, 1);
    EXPECT_EQ(picture->SetImage(kTile, 1), 1);
    picture->SetShowMode(SHOW_MODE_STRETCH, 0);
    if (before)
        before(host, *picture);
    host.Add(picture);
    if (renderAhead)
    {
        EXPECT_EQ(picture->RenderAhead(), 1);
    }
    if (change)
        change(*picture);
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    DibCanvas canvas(kHostWidth, kHostHeight);
    HDC windowDc = ::GetDC(hwnd);
    ::BitBlt(canvas.Dc(), 0, 0, kHostWidth, kHostHeight, windowDc, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, windowDc);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < kHostHeight; ++y)
        for (int x = 0; x < kHostWidth; ++x)
            pixels.push_back(canvas.Rgb(x, y));
    MPicture::DropPreparedLooks();
    return pixels;
}

size_t CountDiffering(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    EXPECT_EQ(a.size(), b.size());
    size_t differing = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        differing += a[i] != b[i];
    return differing;
}

} // namespace

// Whatever happens between the start of the look-ahead and the paint, the
// window shows the look the paint would have rendered itself.
TEST(Picture, ALookRenderedAheadIsTheOneThePaintWouldRender)
{
    struct Case
    {
        const char* name;
        HostSetUp before;
        PictureChange change;
    };
    const Case cases[] = {
        {"over the window's own base", nullptr, nullptr},
        {"over another control drawn first",
         [](testsupport::HostDialog& host, MPicture&) {
             auto* below = new MPicture(&host, kId + 1, CRect(100, 0, kHostWidth, kHostHeight), 1, 1);
             below->SetImage(kPhoto, 3);
             below->SetShowMode(SHOW_MODE_STRETCH, 0);
             host.Add(below);
         },
         nullptr},
        {"show mode changed after the start", nullptr, [](MPicture& p) { p.SetShowMode(SHOW_MODE_TILE, 0); }},
        {"moved after the start", nullptr, [](MPicture& p) { p.SetRect(CRect(10, 10, 200, 120)); }},
        {"new image after the start", nullptr, [](MPicture& p) { p.SetImage(kPhoto, 3); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::vector<uint32_t> plain = PaintedStretch(false, c.before, c.change);
        const std::vector<uint32_t> ahead = PaintedStretch(true, c.before, c.change);
        EXPECT_EQ(CountDiffering(plain, ahead), 0u);
    }
}

// A look prepared before the window existed stands in for the picture's own
// only when it is that look: one for another place, base, show mode or frame
// count leaves the window as a plain paint shows it.
TEST(Picture, ALookPreparedBeforeTheWindowIsTheOneThePaintWouldRender)
{
    const CRect whole(0, 0, kHostWidth, kHostHeight);
    auto prepared = [whole](CRect rect, enumShowMode mode, int count, bool otherBase) -> Prepare {
        return [=](const WindowBase& windowBase) {
            WindowBase base = windowBase;
            if (otherBase)
            {
                base.back ^= 0x00FF00;
                base.border ^= 0x00FF00;
            }
            MPicture::PrepareLook(kTile, count, rect.IsRectEmpty() ? whole : rect, mode, 0, base);
        };
    };
    struct Case
    {
        const char* name;
        Prepare prepare;
        PictureChange change;
    };
    const Case cases[] = {
        {"prepared as the picture is set up", prepared(CRect(), SHOW_MODE_STRETCH, 1, false), nullptr},
        {"prepared, then the picture moved", prepared(CRect(), SHOW_MODE_STRETCH, 1, false),
         [](MPicture& p) { p.SetRect(CRect(10, 10, 200, 120)); }},
        {"at another place", prepared(CRect(0, 0, 100, 60), SHOW_MODE_STRETCH, 1, false), nullptr},
        {"over another base", prepared(CRect(), SHOW_MODE_STRETCH, 1, true), nullptr},
        {"in another show mode", prepared(CRect(), SHOW_MODE_TILE, 1, false), nullptr},
        {"with another frame count", prepared(CRect(), SHOW_MODE_STRETCH, 3, false), nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::vector<uint32_t> plain = PaintedStretch(false, nullptr, c.change);
        const std::vector<uint32_t> ahead = PaintedStretch(true, nullptr, c.change, c.prepare);
        EXPECT_EQ(CountDiffering(plain, ahead), 0u);
    }
}

// Looks and images prepared for pictures that never come are freed without
// waiting for a window, however far their threads got.
TEST(Picture, PreparedLooksNobodyTookAreDropped)
{
    for (int round = 0; round < 3; ++round)
    {
        MPicture::PrepareLook(kTile, 1, CRect(0, 0, kHostWidth, kHostHeight), SHOW_MODE_STRETCH, 0,
                              WindowBase::Of(CSize(kHostWidth, kHostHeight), RGB(1, 2, 3), RGB(4, 5, 6)));
        MPicture::PrepareLook(L"no_such_image.png", 1, CRect(0, 0, 50, 50), SHOW_MODE_TILE, 0,
                              WindowBase::Of(CSize(kHostWidth, kHostHeight), RGB(1, 2, 3), RGB(4, 5, 6)));
        MPicture::DropPreparedLooks();
    }
}

// A picture that goes before its first paint waits for its look-ahead,
// which reads its image.
TEST(Picture, APictureDestroyedWhileItsLookIsRenderedAheadWaitsForIt)
{
    testsupport::HostDialog host;
    host.Open(kHostWidth, kHostHeight);
    for (int round = 0; round < 3; ++round)
    {
        auto* picture = new MPicture(&host, kId, CRect(0, 0, kHostWidth, kHostHeight), 1, 1);
        ASSERT_EQ(picture->SetImage(kTile, 1), 1);
        picture->SetShowMode(SHOW_MODE_STRETCH, 0);
        host.Add(picture);
        ASSERT_EQ(picture->RenderAhead(), 1);
        host.Manager().RemoveControl(picture);
    }
}

TEST(PhotoFrame, EachStateShowsItsOwnFrame)
{
    RecordingOwner owner;
    CPhotoFrame photo(&owner, kId, CRect(10, 10, 60, 50), 1, 1);
    ASSERT_EQ(photo.SetImage(kPhoto, 3), 1);
    DibCanvas canvas(80, 60, 0xFF000000);
    auto centre = [&] {
        photo.Draw(canvas.Dc(), CRect(0, 0, 80, 60));
        return canvas.Rgb(35, 30);
    };

    EXPECT_EQ(centre(), TestTheme::FrameFill(0));
    photo.OnMouseMove(0, CPoint(35, 30));
    EXPECT_EQ(photo.GetState(), 1);
    EXPECT_EQ(centre(), TestTheme::FrameFill(1));
    photo.OnLButtonDown(MK_LBUTTON, CPoint(35, 30));
    EXPECT_EQ(photo.GetState(), 2);
    EXPECT_EQ(centre(), TestTheme::FrameFill(2));
}

TEST(PhotoFrame, ReleaseOutsideIsNoClick)
{
    RecordingOwner owner;
    CPhotoFrame photo(&owner, kId, CRect(10, 10, 60, 50), 1, 1);
    photo.OnMouseMove(0, CPoint(20, 20));
    photo.OnLButtonDown(MK_LBUTTON, CPoint(20, 20));
    photo.OnMouseMove(MK_LBUTTON, CPoint(200, 200));
    EXPECT_EQ(photo.GetState(), 2);  // moves do not leave the pressed state
    photo.OnLButtonUp(0, CPoint(200, 200));
    EXPECT_EQ(photo.GetState(), 0);
    EXPECT_EQ(owner.reports, (std::vector<Report>{{kId, NC_PRESSED, 0, 0}}));

    photo.OnMouseMove(0, CPoint(20, 20));
    photo.OnLButtonDown(MK_LBUTTON, CPoint(20, 20));
    photo.OnLButtonUp(0, CPoint(21, 21));
    EXPECT_EQ(photo.GetState(), 1);
    EXPECT_EQ(owner.reports.back(), (Report{kId, NC_CLICKED, 0, 0}));
}

// The slide moves a hundredth of the size per tick, but at least a pixel,
// so that small pictures arrive too.
TEST(SliderPicture, SlideArrives)
{
    struct Case
    {
        int width;
        int height;
        SLIDER_MODE direction;
        int ticks;
    };
    const Case cases[] = {
        {200, 30, SLIDER_LEFT_TO_RIGHT, 100},
        {50, 30, SLIDER_LEFT_TO_RIGHT, 50},
        {60, 40, SLIDER_TOP_TO_BOTTOM, 40},
        {300, 30, SLIDER_RIGHT_TO_LEFT, 100},
        {80, 30, SLIDER_RIGHT_TO_LEFT, 80},
    };
    for (const Case& c : cases)
    {
        RecordingOwner owner;
        CSliderPicture slide(&owner, kId, CRect(5, 5, 5 + c.width, 5 + c.height), 1, 1);
        ASSERT_EQ(slide.SetRun(1, c.direction), 1);
        int ticks = 0;
        while (slide.IsRunning() && ticks < 1000)
        {
            EXPECT_EQ(slide.OnTimer(), 1);
            ++ticks;
        }
        EXPECT_EQ(ticks, c.ticks) << c.width << "x" << c.height;
        EXPECT_EQ(slide.OnTimer(), 0);
    }
}

TEST(SliderPicture, ShowsTheArrivedPartAndHidesOnceStill)
{
    RecordingOwner owner;
    CSliderPicture slide(&owner, kId, CRect(0, 0, 100, 40), 1, 1);
    ASSERT_EQ(slide.SetImage(kTile, 1), 1);
    slide.SetShowMode(SHOW_MODE_STRETCH, 0);
    slide.SetRun(1, SLIDER_LEFT_TO_RIGHT);
    for (int i = 0; i < 25; ++i)
        slide.OnTimer();
    DibCanvas canvas(100, 40, 0xFF000000 | kMarker);
    slide.Draw(canvas.Dc(), CRect(0, 0, 100, 40));
    EXPECT_NE(canvas.Rgb(10, 20), 0xF2F2F2u);
    EXPECT_NE(canvas.Rgb(10, 20), kMarker);
    EXPECT_EQ(canvas.Rgb(50, 20), 0xF2F2F2u);
    EXPECT_EQ(slide.IsVisible(), 1);

    // Stopped, the next painting hides it.
    slide.SetRun(0, SLIDER_LEFT_TO_RIGHT);
    slide.Draw(canvas.Dc(), CRect(0, 0, 100, 40));
    EXPECT_EQ(slide.IsVisible(), 0);
}

// A quarter of the way in, each direction shows the part of the picture
// that leads the slide and fills the rest with grey. The 30 x 20 frame is
// drawn unscaled against the leading edge, so that the part shown is the
// frame itself.
TEST(SliderPicture, EachDirectionShowsItsLeadingPart)
{
    struct Case
    {
        const char* name;
        SLIDER_MODE direction;
        int width;
        int height;
        UINT hAlign;
        UINT vAlign;
        POINT picture;  // a point showing the picture
        POINT frame;    // the frame pixel it shows
        POINT grey;     // a point not reached yet
    };
    const Case cases[] = {
        {"left to right", SLIDER_LEFT_TO_RIGHT, 100, 40, 2, 0, {10, 10}, {15, 10}, {50, 10}},
        {"top to bottom", SLIDER_TOP_TO_BOTTOM, 40, 100, 0, 8, {10, 10}, {10, 5}, {10, 50}},
        {"right to left", SLIDER_RIGHT_TO_LEFT, 100, 40, 0, 0, {80, 10}, {5, 10}, {50, 10}},
    };
    Gdiplus::Bitmap tile(TestTheme::Path(kTile));
    ASSERT_EQ(tile.GetLastStatus(), Gdiplus::Ok);
    for (const Case& c : cases)
    {
        RecordingOwner owner;
        CSliderPicture slide(&owner, kId, CRect(0, 0, c.width, c.height), 1, 1);
        ASSERT_EQ(slide.SetImage(kTile, 1), 1);
        slide.SetAlignment(c.hAlign, c.vAlign);
        slide.SetRun(1, c.direction);
        for (int i = 0; i < 25; ++i)
            slide.OnTimer();
        DibCanvas canvas(c.width, c.height, 0xFF000000 | kMarker);
        slide.Draw(canvas.Dc(), CRect(0, 0, c.width, c.height));
        EXPECT_EQ(canvas.Rgb(c.picture.x, c.picture.y), ImagePixel(tile, c.frame.x, c.frame.y)) << c.name;
        EXPECT_EQ(canvas.Rgb(c.grey.x, c.grey.y), 0xF2F2F2u) << c.name;
    }
}

TEST(SliderPicture, PaintedWithoutRunningItHidesAtOnce)
{
    RecordingOwner owner;
    CSliderPicture slide(&owner, kId, CRect(0, 0, 60, 30), 1, 1);
    DibCanvas canvas(60, 30, 0xFF000000 | kMarker);
    slide.Draw(canvas.Dc(), CRect(0, 0, 60, 30));
    EXPECT_EQ(canvas.Rgb(30, 15), 0xF2F2F2u);
    EXPECT_EQ(slide.IsVisible(), 0);
    ASSERT_FALSE(owner.repaints.empty());
    EXPECT_EQ(owner.repaints.back().redraw, 1);
}

// The animated picture takes its image from a window's image cache.
class GifPicture : public ::testing::Test
{
protected:
    // A manager without a window keeps its cache until told to let go.
    void TearDown() override { manager.ClearImgResInfo(); }

    PaintManager manager;
    RecordingOwner owner;
};

TEST_F(GifPicture, EveryFifthTickShowsTheNextFrame)
{
    CGifPicture gif(&owner, kId, CRect(0, 0, 40, 30), 1, 1);
    gif.SetManager(&manager);
    ASSERT_EQ(gif.SetImage(kAnimation, 1), 1);
    ASSERT_EQ(gif.GetFrameCount(), 2);
    ASSERT_EQ(gif.SetRunState(1, 0), 1);

    DibCanvas canvas(40, 30, 0xFF000000);
    auto centre = [&] {
        gif.Draw(canvas.Dc(), CRect(0, 0, 40, 30));
        return canvas.Rgb(20, 15);
    };
    EXPECT_EQ(centre(), TestTheme::FrameFill(0));
    for (int i = 0; i < 4; ++i)
        gif.OnTimer();
    EXPECT_EQ(gif.GetFrameIndex(), 0);
    gif.OnTimer();
    EXPECT_EQ(gif.GetFrameIndex(), 1);
    EXPECT_EQ(centre(), TestTheme::FrameFill(1));
    for (int i = 0; i < 5; ++i)
        gif.OnTimer();
    EXPECT_EQ(gif.GetFrameIndex(), 0);
    EXPECT_EQ(centre(), TestTheme::FrameFill(0));

    // Stopped, it stays on its frame.
    gif.SetRunState(0, 1);
    for (int i = 0; i < 10; ++i)
        gif.OnTimer();
    EXPECT_EQ(gif.GetFrameIndex(), 1);
}

TEST_F(GifPicture, HoverStartsAndLeavingStopsTheAnimation)
{
    CGifPicture gif(&owner, kId, CRect(0, 0, 40, 30), 1, 1);
    gif.SetManager(&manager);
    ASSERT_EQ(gif.SetImage(kAnimation, 1), 1);
    gif.OnMouseMove(0, CPoint(10, 10));
    EXPECT_EQ(gif.IsRunning(), 0);  // tracking is off
    gif.SetMouseMoveActive(true);
    gif.OnMouseMove(0, CPoint(10, 10));
    EXPECT_EQ(gif.IsRunning(), 1);
    gif.OnMouseMove(0, CPoint(100, 10));
    EXPECT_EQ(gif.IsRunning(), 0);
}

TEST_F(GifPicture, SingleFrameImageDoesNotAnimate)
{
    CGifPicture gif(&owner, kId, CRect(0, 0, 40, 30), 1, 1);
    gif.SetManager(&manager);
    ASSERT_EQ(gif.SetImage(kTile, 1), 1);
    EXPECT_EQ(gif.GetFrameCount(), 1);
    EXPECT_EQ(gif.SetRunState(1, 0), 0);
    gif.SetMouseMoveActive(true);
    gif.OnMouseMove(0, CPoint(10, 10));
    EXPECT_EQ(gif.IsRunning(), 0);
}

TEST_F(GifPicture, ImageNeedsAManagerAndAFile)
{
    CGifPicture unbound(&owner, kId, CRect(0, 0, 40, 30), 1, 1);
    EXPECT_EQ(unbound.SetImage(kAnimation, 1), 0);
    CGifPicture gif(&owner, kId, CRect(0, 0, 40, 30), 1, 1);
    gif.SetManager(&manager);
    EXPECT_EQ(gif.SetImage(L"no_such_animation.gif", 1), 0);
    EXPECT_EQ(gif.GetFrameCount(), 0);
}

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include "tests/framework/TestTheme.h"
#include "tests/support/DibCanvas.h"
#include "ui/framework/ImageList.h"

namespace {

using VREL::MImageList;

TEST(ImageList, InsertionAcceptsOnlyExistingPositionsOrAppend)
{
    MImageList list;
    const CString strip = TestTheme::Path(TestTheme::kStrip4);
    EXPECT_EQ(list.InsertImage(0, strip, 1, 4), -1) << "an empty list accepts only -1";
    EXPECT_EQ(list.GetImageCount(), 0);
    EXPECT_EQ(list.AddImage(strip, 10, 4), 0);
    EXPECT_EQ(list.AddImage(TestTheme::Path(TestTheme::kGrid), 20, 1), 1);

    struct Case
    {
        int index;
        int expected;
    };
    for (const Case& c : {Case{-2, -1}, Case{2, -1}, Case{1, 1}, Case{0, 0}, Case{-1, 4}})
        EXPECT_EQ(list.InsertImage(c.index, strip, 30 + c.index, 4), c.expected) << c.index;
    EXPECT_EQ(list.InsertImage(0, nullptr, 5, 1), -1);
    EXPECT_EQ(list.GetImageCount(), 5);

    // Order: inserted at 0, original 0, inserted at 1, original 1, appended.
    const int ids[] = {30, 10, 31, 20, 29};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list.GetItemImageData(i)->id, ids[i]) << i;
    EXPECT_EQ(list.GetItemImageData(-1), nullptr);
    EXPECT_EQ(list.GetItemImageData(5), nullptr);
}

TEST(ImageList, RecordsKnowFrameSizeIdAndPath)
{
    MImageList list;
    const CString strip = TestTheme::Path(TestTheme::kStrip4);
    const CString missing = TestTheme::Path(L"no_such_image.png");
    list.AddImage(strip, 7, TestTheme::kStrip4Frames);
    list.AddImage(missing, 8, 2);
    list.AddImage(strip, 7, 2);

    const VREL::_M_IAMGELIST* loaded = list.GetImageDataByID(7);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded, list.GetItemImageData(0)) << "the first record with the id";
    ASSERT_NE(loaded->image, nullptr);
    EXPECT_EQ(loaded->frameWidth, TestTheme::kStrip4Width);
    EXPECT_EQ(loaded->height, TestTheme::kStrip4Height);

    const VREL::_M_IAMGELIST* absent = list.GetImageDataByID(8);
    ASSERT_NE(absent, nullptr) << "a record is kept even when its file did not load";
    EXPECT_EQ(absent->image, nullptr);
    EXPECT_EQ(absent->frameWidth, 0);
    EXPECT_EQ(absent->height, 0);

    EXPECT_TRUE(list.GetImagePath(1) == missing);
    EXPECT_TRUE(list.GetImagePathByID(7) == strip);
    EXPECT_TRUE(list.GetImagePath(3).IsEmpty()) << "outside the list";
    EXPECT_TRUE(list.GetImagePath(-1).IsEmpty());
    EXPECT_TRUE(list.GetImagePathByID(99).IsEmpty());
    EXPECT_EQ(list.GetImageDataByID(99), nullptr);

    EXPECT_EQ(list.DelAllImages(), 1);
    EXPECT_EQ(list.GetImageCount(), 0);
}

// A frame count of 0 (or less) would divide by zero: the image is one frame.
TEST(ImageList, FrameCountBelowOneMeansOneFrame)
{
    MImageList list;
    const CString strip = TestTheme::Path(TestTheme::kStrip4);
    list.AddImage(strip, 1, 0);
    list.AddImage(strip, 2, -3);
    for (int i = 0; i < 2; ++i)
    {
        const VREL::_M_IAMGELIST* record = list.GetItemImageData(i);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->frameCount, 1);
        EXPECT_EQ(record->frameWidth, TestTheme::kStrip4Frames * TestTheme::kStrip4Width);
    }

    // Drawn 1:1, the whole strip shows: frame 2's colour at its place.
    DibCanvas canvas(48, 10, 0xFF000000);
    {
        Gdiplus::Graphics graphics(canvas.Dc());
        list.DrawItemIcon(graphics, CRect(0, 0, 48, 10), 0, 5);
    }
    EXPECT_EQ(canvas.Rgb(2 * TestTheme::kStrip4Width + 6, 5), TestTheme::FrameFill(2));
}

TEST(ImageList, DrawsTheChosenFrameClampedToTheStrip)
{
    MImageList list;
    list.AddImage(TestTheme::Path(TestTheme::kStrip4), 1, TestTheme::kStrip4Frames);
    struct Case
    {
        int frame;  // -1: the form without a frame
        int shown;
    };
    for (const Case& c : {Case{-1, 0}, Case{1, 1}, Case{3, 3}, Case{7, 3}, Case{-5, 0}})
    {
        DibCanvas canvas(40, 30, 0xFF000000);
        {
            Gdiplus::Graphics graphics(canvas.Dc());
            if (c.frame == -1)
                list.DrawItemIcon(graphics, CRect(4, 4, 28, 24), 0);
            else
                list.DrawItemIcon(graphics, CRect(4, 4, 28, 24), 0, c.frame);
        }
        EXPECT_TRUE(NearColor(canvas.Rgb(16, 14), TestTheme::FrameFill(c.shown))) << "frame " << c.frame;
        EXPECT_EQ(canvas.Rgb(30, 14), 0u) << "nothing outside the rectangle";
    }

    DibCanvas canvas(10, 10, 0xFF000000);
    {
        Gdiplus::Graphics graphics(canvas.Dc());
        list.DrawItemIcon(graphics, CRect(0, 0, 10, 10), 1);
        list.DrawItemIcon(graphics, CRect(0, 0, 10, 10), -1, 0);
    }
    EXPECT_EQ(canvas.Rgb(5, 5), 0u) << "an index outside the list draws nothing";
}

TEST(ImageList, DrawSizeIsStoredOnly)
{
    MImageList list;
    EXPECT_EQ(list.GetIconSize(), CSize(0, 0));
    EXPECT_EQ(list.SetDrawImgSize(16, 12), 1);
    EXPECT_EQ(list.GetIconSize(), CSize(16, 12));
}

} // namespace

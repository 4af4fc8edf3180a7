#include <gtest/gtest.h>

#include "ui/framework/Geometry.h"

namespace {

TEST(Geometry, RectMeasuresAndHitTestsWithExclusiveEdges)
{
    const CRect rect(10, 20, 110, 70);
    EXPECT_EQ(rect.Width(), 100);
    EXPECT_EQ(rect.Height(), 50);
    EXPECT_EQ(rect.Size(), CSize(100, 50));
    EXPECT_EQ(rect.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(rect.BottomRight(), CPoint(110, 70));
    EXPECT_EQ(rect.CenterPoint(), CPoint(60, 45));

    EXPECT_TRUE(rect.PtInRect(CPoint(10, 20)));
    EXPECT_TRUE(rect.PtInRect(CPoint(109, 69)));
    EXPECT_FALSE(rect.PtInRect(CPoint(110, 50)));
    EXPECT_FALSE(rect.PtInRect(CPoint(50, 70)));
    EXPECT_FALSE(rect.PtInRect(CPoint(9, 50)));
}

TEST(Geometry, EmptyAndNullAreDifferentThings)
{
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(CRect().IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
    EXPECT_TRUE(CRect(9, 9, 5, 5).IsRectEmpty());
    EXPECT_FALSE(CRect(0, 0, 1, 1).IsRectEmpty());
}

TEST(Geometry, IntersectionAndUnionMatchTheSystem)
{
    struct Case
    {
        CRect a, b;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 20, 20}},   // overlap
        {{0, 0, 10, 10}, {10, 0, 20, 10}},  // touching edges
        {{0, 0, 10, 10}, {30, 30, 40, 40}}, // apart
        {{0, 0, 10, 10}, {2, 2, 4, 4}},     // inside
        {{0, 0, 0, 0}, {2, 2, 4, 4}},       // empty operand
        {{5, 5, 5, 5}, {6, 6, 6, 6}},       // both empty
    };
    for (const Case& c : cases)
    {
        RECT expected;
        CRect got;
        const bool systemResult = ::IntersectRect(&expected, &c.a, &c.b) != FALSE;
        EXPECT_EQ(got.IntersectRect(c.a, c.b), systemResult);
        EXPECT_TRUE(got == expected) << c.a.left << "," << c.b.left;
        EXPECT_TRUE((c.a & c.b) == expected);

        const bool systemUnion = ::UnionRect(&expected, &c.a, &c.b) != FALSE;
        EXPECT_EQ(got.UnionRect(c.a, c.b), systemUnion);
        EXPECT_TRUE(got == expected) << c.a.left << "," << c.b.left;
        EXPECT_TRUE((c.a | c.b) == expected);
    }
}

TEST(Geometry, RectMovesAndResizes)
{
    CRect rect(10, 20, 30, 60);
    rect.OffsetRect(5, -5);
    EXPECT_TRUE(rect == CRect(15, 15, 35, 55));
    rect.InflateRect(1, 2);
    EXPECT_TRUE(rect == CRect(14, 13, 36, 57));
    rect.DeflateRect(1, 2, 3, 4);
    EXPECT_TRUE(rect == CRect(15, 15, 33, 53));
    rect.MoveToXY(0, 100);
    EXPECT_TRUE(rect == CRect(0, 100, 18, 138));
    rect.MoveToX(-4);
    EXPECT_TRUE(rect == CRect(-4, 100, 14, 138));

    CRect reversed(30, 40, 10, 20);
    reversed.NormalizeRect();
    EXPECT_TRUE(reversed == CRect(10, 20, 30, 40));
    reversed.SetRectEmpty();
    EXPECT_TRUE(reversed.IsRectNull());
}

TEST(Geometry, RectPassesAsSystemRectangle)
{
    CRect rect(1, 2, 3, 4);
    ::OffsetRect(rect, 10, 10);  // through operator LPRECT
    EXPECT_TRUE(rect == CRect(11, 12, 13, 14));
    const CRect& constant = rect;
    EXPECT_TRUE(::EqualRect(constant, &rect));  // through operator LPCRECT
}

TEST(Geometry, PointAndSizeArithmetic)
{
    CPoint point(3, 4);
    point.Offset(1, -1);
    EXPECT_EQ(point, CPoint(4, 3));
    EXPECT_EQ(point + CPoint(1, 1), CPoint(5, 4));
    EXPECT_EQ(point - CPoint(1, 1), CPoint(3, 2));
    EXPECT_NE(point, CPoint(3, 4));
    EXPECT_EQ(CPoint(static_cast<LPARAM>(MAKELPARAM(-5, 7))), CPoint(-5, 7));
    EXPECT_EQ(CSize(2, 3), CSize(2, 3));
    EXPECT_NE(CSize(2, 3), CSize(3, 2));
}

} // namespace

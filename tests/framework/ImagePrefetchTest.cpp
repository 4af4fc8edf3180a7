#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "ui/framework/ImagePrefetch.h"

namespace {

using VREL::ImagePrefetch;

constexpr auto kWait = std::chrono::seconds(20);

// An image that tells which decode made it (its width) and counts its deletion.
class TaggedImage : public Gdiplus::Bitmap
{
public:
    TaggedImage(int tag, int& deleted) : Gdiplus::Bitmap(tag, 1, PixelFormat32bppARGB), m_deleted(deleted) {}
    ~TaggedImage() override { ++m_deleted; }

private:
    int& m_deleted;
};

// Decodes on the prefetch thread as the tests direct: it logs every file it
// is asked for, can hold one file until it is let go, and fails on "bad".
class FakeDecoder
{
public:
    ImagePrefetch::Decoder Function()
    {
        return [this](const CString& path) -> Gdiplus::Image* {
            std::unique_lock<std::mutex> lock(m_lock);
            m_log.push_back(path);
            m_changed.notify_all();
            m_changed.wait(lock, [&] { return path != m_held; });
            if (path == L"bad")
                return nullptr;
            return new TaggedImage(static_cast<int>(m_log.size()), m_deleted);
        };
    }

    void Hold(const CString& path)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_held = path;
    }
    void Release()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_held.Empty();
        m_changed.notify_all();
    }
    // Waits until the decoder has been asked for count files.
    bool WaitForCalls(size_t count)
    {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, kWait, [&] { return m_log.size() >= count; });
    }
    std::vector<CString> Log()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_log;
    }
    int Deleted()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_deleted;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<CString> m_log;
    CString m_held;
    int m_deleted = 0;
};

// The width is the decode's number: 1 for the first file decoded.
int DecodeNumber(Gdiplus::Image* image) { return image ? static_cast<int>(image->GetWidth()) : 0; }

} // namespace

// Each listing serves one load, in the order listed; a file listed twice is
// decoded twice, so that two owners get two images.
TEST(ImagePrefetch, EachListedFileServesOneLoadWithItsOwnImage)
{
    FakeDecoder decoder;
    ImagePrefetch prefetch(decoder.Function());
    prefetch.Start({L"a", L"b", L"a", L"bad"});
    ASSERT_TRUE(decoder.WaitForCalls(4));
    EXPECT_EQ(decoder.Log(), (std::vector<CString>{L"a", L"b", L"a", L"bad"}));

    struct Load
    {
        const wchar_t* path;
        int decode;  // 0: no image, the caller decodes the file itself
    };
    const Load loads[] = {{L"b", 2}, {L"a", 1}, {L"a", 3}, {L"a", 0}, {L"b", 0}, {L"bad", 0}, {L"unlisted", 0}};
    std::set<Gdiplus::Image*> images;
    for (const Load& load : loads)
    {
        SCOPED_TRACE(testing::Message() << "load " << (&load - loads));
        Gdiplus::Image* image = prefetch.Take(load.path);
        EXPECT_EQ(DecodeNumber(image), load.decode);
        if (image)
            images.insert(image);
    }
    EXPECT_EQ(images.size(), 3u);
    for (Gdiplus::Image* image : images)
        delete image;
}

// A load that comes before the thread reached its file decodes the file
// itself, and the thread does not decode it again; one that comes while the
// file is being decoded waits for that image.
TEST(ImagePrefetch, ALoadAheadOfTheThreadDecodesItselfAndOneDuringTheDecodeWaits)
{
    FakeDecoder decoder;
    decoder.Hold(L"a");
    ImagePrefetch prefetch(decoder.Function());
    prefetch.Start({L"a", L"b", L"c"});
    ASSERT_TRUE(decoder.WaitForCalls(1));

    EXPECT_EQ(prefetch.Take(L"b"), nullptr) << "b has not begun";
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        decoder.Release();
    });
    Gdiplus::Image* a = prefetch.Take(L"a");
    release.join();
    EXPECT_EQ(DecodeNumber(a), 1) << "the load of a waited for its decode";
    delete a;

    ASSERT_TRUE(decoder.WaitForCalls(2));
    Gdiplus::Image* c = prefetch.Take(L"c");
    EXPECT_EQ(DecodeNumber(c), 2);
    delete c;
    EXPECT_EQ(decoder.Log(), (std::vector<CString>{L"a", L"c"}));
}

// Drop stops after the file in hand and frees what nobody took; a new Start
// drops what the last one left.
TEST(ImagePrefetch, DropFreesEveryImageNobodyTookAndDecodesNoMore)
{
    FakeDecoder decoder;
    ImagePrefetch prefetch(decoder.Function());
    prefetch.Start({L"a", L"b"});
    ASSERT_TRUE(decoder.WaitForCalls(2));
    Gdiplus::Image* a = prefetch.Take(L"a");
    ASSERT_NE(a, nullptr);

    decoder.Hold(L"d");
    prefetch.Start({L"c", L"d", L"e"});
    EXPECT_EQ(decoder.Deleted(), 1) << "b, from the first listing";
    EXPECT_EQ(prefetch.Take(L"b"), nullptr);
    ASSERT_TRUE(decoder.WaitForCalls(4));
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        decoder.Release();
    });
    prefetch.Drop();
    release.join();
    EXPECT_EQ(decoder.Deleted(), 3) << "b, c and d";
    EXPECT_EQ(decoder.Log(), (std::vector<CString>{L"a", L"b", L"c", L"d"})) << "e was never decoded";
    EXPECT_EQ(prefetch.Take(L"c"), nullptr);
    delete a;
}

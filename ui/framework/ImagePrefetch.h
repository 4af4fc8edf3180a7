#pragma once

// Images decoded ahead of the callers that will load them: a thread decodes
// a list of files in order while the window that needs them is still being
// made, and a load of a listed file takes the decoded image instead of
// decoding it again. A load that comes before the thread reached its file
// decodes it itself, and the thread skips that file; one that comes while
// the file is being decoded waits for it. A file listed twice is decoded
// twice, for two loads (two pictures own two images).

#include <windows.h>
#include <gdiplus.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API ImagePrefetch
{
public:
    // How a file becomes an image (nullptr when it does not decode); called
    // on the prefetch thread.
    using Decoder = std::function<Gdiplus::Image*(const CString& path)>;

    explicit ImagePrefetch(Decoder decode);
    ~ImagePrefetch();
    ImagePrefetch(const ImagePrefetch&) = delete;
    ImagePrefetch& operator=(const ImagePrefetch&) = delete;

    // Drops what an earlier Start left, then decodes paths in order. Start
    // and Drop come from one thread; loads may come from any.
    void Start(const std::vector<CString>& paths);
    // The image decoded for path, owned by the caller from now on; nullptr
    // when path is not listed (or no longer: each listing serves one load),
    // when its decode has not begun, or when it did not decode. The caller
    // then decodes the file itself.
    Gdiplus::Image* Take(const CString& path);
    // Stops the thread after the file it is decoding and deletes every image
    // nobody took; a load waiting for a decode then decodes the file itself.
    void Drop();

private:
    enum class State { Queued, Decoding, Done, Taken };
    struct Slot
    {
        CString path;
        State state = State::Queued;
        Gdiplus::Image* image = nullptr;
    };

    void Run();

    Decoder m_decode;
    std::mutex m_lock;
    std::condition_variable m_decoded;
    std::vector<Slot> m_slots;
    // Counts the Drops, so that a load waiting on a slot sees it go.
    unsigned m_listing = 0;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace VREL

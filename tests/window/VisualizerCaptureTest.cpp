// The visualizer's capture and threads against audio objects of the tests'
// own (an endpoint that is missing, one that offers no loopback, one that
// plays packets), and once against the system's own audio service.

#include <windows.h>
#include <mmdeviceapi.h>
#include <audioclient.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <deque>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "app/window/Visualizer.h"

namespace {

using namespace tarnwell;

// What the system answers when there is no render endpoint.
const HRESULT NOT_FOUND = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

// Reference counting shared by the fakes; every object starts with the
// test's own reference.
template <typename Interface>
class FakeUnknown : public Interface
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
    std::atomic<long> refs{1};
};

// Every thread that called into the audio objects, to show that one thread
// does all the capture work.
struct CallThreads
{
    std::mutex lock;
    std::set<DWORD> ids;
    void Note()
    {
        std::lock_guard<std::mutex> held(lock);
        ids.insert(GetCurrentThreadId());
    }
};

struct Packet
{
    std::vector<BYTE> bytes;
    UINT32 frames;
    DWORD flags;
    bool withoutData;
};

class FakeCapture : public FakeUnknown<IAudioCaptureClient>
{
public:
    explicit FakeCapture(CallThreads& threads) : m_threads(threads) {}
    HRESULT STDMETHODCALLTYPE GetBuffer(BYTE** data, UINT32* frames, DWORD* flags, UINT64*, UINT64*) override
    {
        m_threads.Note();
        std::lock_guard<std::mutex> held(lock);
        if (packets.empty()) {
            *data = nullptr;
            *frames = 0;
            *flags = 0;
            return AUDCLNT_S_BUFFER_EMPTY;
        }
        current = packets.front();
        packets.pop_front();
        *data = current.withoutData ? nullptr : current.bytes.data();
        *frames = current.frames;
        *flags = current.flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReleaseBuffer(UINT32 frames) override
    {
        released += frames;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetNextPacketSize(UINT32* frames) override
    {
        std::lock_guard<std::mutex> held(lock);
        *frames = packets.empty() ? 0 : packets.front().frames;
        return S_OK;
    }

    std::mutex lock;
    std::deque<Packet> packets;
    Packet current;
    std::atomic<UINT32> released{0};

private:
    CallThreads& m_threads;
};

class FakeClient : public FakeUnknown<IAudioClient>
{
public:
    FakeClient(CallThreads& threads, FakeCapture* capture) : m_threads(threads), m_capture(capture) {}

    HRESULT STDMETHODCALLTYPE Initialize(AUDCLNT_SHAREMODE, DWORD flags, REFERENCE_TIME, REFERENCE_TIME,
                                         const WAVEFORMATEX*, LPCGUID) override
    {
        m_threads.Note();
        streamFlags = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBufferSize(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStreamLatency(REFERENCE_TIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCurrentPadding(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsFormatSupported(AUDCLNT_SHAREMODE, const WAVEFORMATEX*, WAVEFORMATEX**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMixFormat(WAVEFORMATEX** format) override
    {
        auto* f = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(sizeof(WAVEFORMATEX)));
        *f = mix;
        *format = f;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDevicePeriod(REFERENCE_TIME*, REFERENCE_TIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Start() override
    {
        ++starts;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stop() override
    {
        m_threads.Note();
        ++stops;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetEventHandle(HANDLE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetService(REFIID iid, void** object) override
    {
        *object = nullptr;
        if (m_capture == nullptr)
            return AUDCLNT_E_WRONG_ENDPOINT_TYPE;
        return m_capture->QueryInterface(iid, object);
    }

    WAVEFORMATEX mix = FloatStereo();
    std::atomic<DWORD> streamFlags{0};
    std::atomic<int> starts{0};
    std::atomic<int> stops{0};

    static WAVEFORMATEX FloatStereo()
    {
        WAVEFORMATEX f = {};
        f.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
        f.nChannels = 2;
        f.nSamplesPerSec = 48000;
        f.wBitsPerSample = 32;
        f.nBlockAlign = 8;
        f.nAvgBytesPerSec = 48000 * 8;
        return f;
    }

private:
    CallThreads& m_threads;
    FakeCapture* m_capture;
};

class FakeDevice : public FakeUnknown<IMMDevice>
{
public:
    FakeDevice(CallThreads& threads, FakeClient* client) : m_threads(threads), m_client(client) {}
    HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD, PROPVARIANT*, void** object) override
    {
        m_threads.Note();
        ++activations;
        return m_client->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetId(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD* state) override
    {
        *state = DEVICE_STATE_ACTIVE;
        return S_OK;
    }
    std::atomic<int> activations{0};

private:
    CallThreads& m_threads;
    FakeClient* m_client;
};

class FakeEnumerator : public FakeUnknown<IMMDeviceEnumerator>
{
public:
    HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow, DWORD, IMMDeviceCollection**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow, ERole, IMMDevice** device) override
    {
        std::lock_guard<std::mutex> held(lock);
        *device = nullptr;
        if (defaultDevice == nullptr)
            return NOT_FOUND;
        defaultDevice->AddRef();
        *device = defaultDevice;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR, IMMDevice**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* client) override
    {
        registered = client;
        ++registrations;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient* client) override
    {
        if (client == registered)
            registered = nullptr;
        ++unregistrations;
        return S_OK;
    }
    void SetDefault(IMMDevice* device)
    {
        std::lock_guard<std::mutex> held(lock);
        defaultDevice = device;
    }

    std::mutex lock;
    IMMDevice* defaultDevice = nullptr;
    std::atomic<IMMNotificationClient*> registered{nullptr};
    std::atomic<int> registrations{0};
    std::atomic<int> unregistrations{0};
};

// One endpoint with its client and (unless it offers no loopback) its
// capture client.
struct FakeEndpoint
{
    explicit FakeEndpoint(CallThreads& threads, bool loopbackOffered = true)
        : capture(threads), client(threads, loopbackOffered ? &capture : nullptr), device(threads, &client)
    {
    }
    void Queue(const std::vector<float>& interleaved, UINT32 frames, DWORD flags = 0, bool withoutData = false)
    {
        Packet p;
        p.bytes.resize(interleaved.size() * sizeof(float));
        std::memcpy(p.bytes.data(), interleaved.data(), p.bytes.size());
        p.frames = frames;
        p.flags = flags;
        p.withoutData = withoutData;
        std::lock_guard<std::mutex> held(capture.lock);
        capture.packets.push_back(std::move(p));
    }
    // Everything the visualizer took has been given back.
    bool AllReleased() const { return capture.refs == 1 && client.refs == 1 && device.refs == 1; }

    FakeCapture capture;
    FakeClient client;
    FakeDevice device;
};

// A loud stereo sine in FFT bin 16 (a period of 64 frames at one value
// per four frames).
std::vector<float> LoudStereoSine(UINT32 frames)
{
    std::vector<float> samples;
    for (UINT32 f = 0; f < frames; ++f) {
        const float s = static_cast<float>(std::sin(2 * 3.14159265358979 * f / 64.0));
        samples.push_back(s);
        samples.push_back(s);
    }
    return samples;
}

void ExpectBackgroundOnly(const Visualizer& visualizer, Pixel background)
{
    const Pixel* image = visualizer.FrontImage();
    for (int i = 0; i < SPECTRUM_PIXELS; ++i)
        ASSERT_EQ(image[i], background) << "pixel " << i;
}

TEST(VisualizerCapture, WithoutAnEndpointTheMusicRunsOnSilence)
{
    CallThreads threads;
    FakeEnumerator enumerator;
    {
        Visualizer visualizer;
        visualizer.Init(&enumerator);
        visualizer.backgroundEffect = 6;
        for (int frame = 0; frame < 3; ++frame)
            visualizer.RenderFrame();
        EXPECT_EQ(visualizer.EndpointCount(), 0u);
        EXPECT_FALSE(visualizer.IsCapturing());
        ExpectBackgroundOnly(visualizer, MakePixel(0xFD, 0xFD, 0xFD));
        EXPECT_EQ(enumerator.registered.load(), static_cast<IMMNotificationClient*>(&visualizer));

        // What the audio service asks of the callback object.
        void* object = nullptr;
        EXPECT_EQ(visualizer.QueryInterface(__uuidof(IMMNotificationClient), &object), S_OK);
        EXPECT_EQ(object, static_cast<IMMNotificationClient*>(&visualizer));
        EXPECT_EQ(visualizer.QueryInterface(__uuidof(IAudioClient), &object), E_NOINTERFACE);
        EXPECT_EQ(object, nullptr);
        EXPECT_EQ(visualizer.AddRef(), 1u);
        EXPECT_EQ(visualizer.Release(), 1u);
    }
    EXPECT_EQ(enumerator.unregistrations.load(), 1);
    EXPECT_EQ(enumerator.registered.load(), nullptr);
    EXPECT_EQ(enumerator.refs.load(), 1);
}

TEST(VisualizerCapture, AnEndpointWithoutLoopbackLeavesTheCaptureOffAndReleasesIt)
{
    CallThreads threads;
    FakeEnumerator enumerator;
    FakeEndpoint renderOnly(threads, false);
    enumerator.SetDefault(&renderOnly.device);
    {
        Visualizer visualizer;
        visualizer.Init(&enumerator);
        visualizer.backgroundEffect = 6;
        visualizer.RenderFrame();
        visualizer.RenderFrame();
        EXPECT_EQ(visualizer.EndpointCount(), 1u);
        EXPECT_EQ(renderOnly.device.activations.load(), 1);
        EXPECT_EQ(renderOnly.client.streamFlags.load(), static_cast<DWORD>(AUDCLNT_STREAMFLAGS_LOOPBACK));
        EXPECT_FALSE(visualizer.IsCapturing());
        EXPECT_EQ(renderOnly.client.refs.load(), 1) << "the failed client is let go at once";
        ExpectBackgroundOnly(visualizer, MakePixel(0xFD, 0xFD, 0xFD));
    }
    EXPECT_TRUE(renderOnly.AllReleased());
    EXPECT_EQ(enumerator.refs.load(), 1);
}

TEST(VisualizerCapture, PacketsFeedTheBarsAndABrokenPacketEndsTheCapture)
{
    CallThreads threads;
    FakeEnumerator enumerator;
    FakeEndpoint endpoint(threads);
    enumerator.SetDefault(&endpoint.device);
    Visualizer visualizer;
    visualizer.Init(&enumerator);
    visualizer.foregroundEffect = 7;   // red bars
    visualizer.backgroundEffect = 11;  // over blue
    visualizer.gain = 100;

    endpoint.Queue(LoudStereoSine(512), 512);
    endpoint.Queue(LoudStereoSine(512), 512);
    visualizer.RenderFrame();
    ASSERT_TRUE(visualizer.IsCapturing());
    EXPECT_EQ(endpoint.capture.released.load(), 1024u);
    EXPECT_GT(visualizer.Analyzer().Display()[64], 0.9f);
    EXPECT_EQ(visualizer.FrontPixel(64, 63), MakePixel(0xFD, 0, 0));
    EXPECT_EQ(visualizer.FrontPixel(250, 63), MakePixel(0, 0, 0xFD));

    // Silent packets count as zeros: the sound is replaced and the bars fall.
    for (int frame = 0; frame < 40; ++frame) {
        endpoint.Queue(LoudStereoSine(1024), 1024, AUDCLNT_BUFFERFLAGS_SILENT);
        visualizer.RenderFrame();
    }
    EXPECT_LT(visualizer.Analyzer().Display()[64], 0.01f);

    // Frames announced without their data: the capture stops.
    endpoint.Queue({}, 480, 0, true);
    visualizer.RenderFrame();
    EXPECT_FALSE(visualizer.IsCapturing());
    EXPECT_EQ(endpoint.capture.refs.load(), 1);
    EXPECT_EQ(endpoint.client.refs.load(), 1);
    EXPECT_GE(endpoint.client.stops.load(), 1);

    // A restart asked for by the music page brings it back.
    visualizer.StartCapture();
    visualizer.RenderFrame();
    EXPECT_TRUE(visualizer.IsCapturing());
}

TEST(VisualizerCapture, TheLastSoundIsForgottenWhenNothingArrives)
{
    CallThreads threads;
    FakeEnumerator enumerator;
    FakeEndpoint endpoint(threads);
    enumerator.SetDefault(&endpoint.device);
    Visualizer visualizer;
    visualizer.Init(&enumerator);
    visualizer.gain = 100;
    endpoint.Queue(LoudStereoSine(1024), 1024);
    visualizer.RenderFrame();
    ASSERT_GT(visualizer.Analyzer().Display()[64], 0.9f);
    // Loopback sends no packets at all while nothing plays.
    for (int frame = 0; frame < Visualizer::QUIET_FRAMES + 30; ++frame)
        visualizer.RenderFrame();
    EXPECT_LT(visualizer.Analyzer().Display()[64], 0.01f);
}

TEST(VisualizerCapture, DefaultDeviceChangesRestartTheCaptureOnTheRenderThreadOnly)
{
    CallThreads threads;
    FakeEnumerator enumerator;
    FakeEndpoint first(threads);
    FakeEndpoint second(threads);
    enumerator.SetDefault(&first.device);
    {
        Visualizer visualizer;
        visualizer.Init(&enumerator);
        visualizer.active = 1;
        visualizer.StartRenderThread();
        ASSERT_TRUE(visualizer.RenderThreadRunning());

        // The audio service calls from a thread of its own, many times over,
        // while the render thread drains the capture.
        std::thread service([&] {
            for (int change = 0; change < 60; ++change) {
                FakeEndpoint& next = change % 2 == 0 ? second : first;
                enumerator.SetDefault(&next.device);
                next.Queue(LoudStereoSine(256), 256);
                enumerator.registered.load()->OnDefaultDeviceChanged(eRender, eConsole, L"id");
                // Other flows and roles are not ours.
                enumerator.registered.load()->OnDefaultDeviceChanged(eCapture, eConsole, L"id");
                enumerator.registered.load()->OnDefaultDeviceChanged(eRender, eMultimedia, L"id");
                Sleep(3);
            }
        });
        service.join();
        Sleep(200);
        EXPECT_TRUE(visualizer.IsCapturing());
        EXPECT_GE(first.device.activations.load() + second.device.activations.load(), 2);

        visualizer.Shutdown();
        EXPECT_FALSE(visualizer.RenderThreadRunning());
    }
    // Everything the capture touched was touched on one thread, not this one
    // and not the service's.
    {
        std::lock_guard<std::mutex> held(threads.lock);
        ASSERT_EQ(threads.ids.size(), 1u);
        EXPECT_NE(*threads.ids.begin(), GetCurrentThreadId());
    }
    EXPECT_TRUE(first.AllReleased());
    EXPECT_TRUE(second.AllReleased());
    EXPECT_EQ(enumerator.unregistrations.load(), 1);
    EXPECT_EQ(enumerator.refs.load(), 1);
}

TEST(VisualizerCapture, TeardownStopsTheThreadUnregistersAndReleases)
{
    CallThreads threads;
    FakeEnumerator enumerator;
    FakeEndpoint endpoint(threads);
    enumerator.SetDefault(&endpoint.device);
    auto visualizer = std::make_unique<Visualizer>();
    visualizer->Init(&enumerator);
    visualizer->StartRenderThread();
    // Inactive: the thread waits between looks and still takes the restart.
    Sleep(100);
    EXPECT_TRUE(visualizer->IsCapturing());
    const auto begin = std::chrono::steady_clock::now();
    visualizer.reset();
    const auto took = std::chrono::steady_clock::now() - begin;
    // The idle wait is cut short rather than sat out.
    EXPECT_LT(took, std::chrono::milliseconds(400));
    EXPECT_GE(endpoint.client.stops.load(), 1);
    EXPECT_TRUE(endpoint.AllReleased());
    EXPECT_EQ(enumerator.registered.load(), nullptr);
    EXPECT_EQ(enumerator.refs.load(), 1);
}

TEST(VisualizerCapture, UnsupportedMixFormatLeavesTheCaptureOff)
{
    CallThreads threads;
    FakeEnumerator enumerator;
    FakeEndpoint endpoint(threads);
    endpoint.client.mix.wBitsPerSample = 24;
    endpoint.client.mix.nBlockAlign = 6;
    enumerator.SetDefault(&endpoint.device);
    Visualizer visualizer;
    visualizer.Init(&enumerator);
    visualizer.RenderFrame();
    EXPECT_FALSE(visualizer.IsCapturing());
    EXPECT_EQ(endpoint.client.starts.load(), 0);
    EXPECT_EQ(endpoint.client.refs.load(), 1);
}

// The system's own audio service. Under Wine there is either no render
// endpoint at all or one whose loopback capture is refused; whichever this
// machine gives, the music mode draws on silence and tears down cleanly.
TEST(VisualizerCapture, TheSystemsAudioServiceGivesSilenceOrSound)
{
    Visualizer visualizer;
    visualizer.Init();
    visualizer.backgroundEffect = 6;
    visualizer.active = 1;
    visualizer.StartRenderThread();
    Sleep(300);
    const bool capturing = visualizer.IsCapturing();
    std::printf("system audio: %zu endpoint(s), capture %s\n", visualizer.EndpointCount(),
                capturing ? "running" : "off");
    if (!capturing) {
        // With no sound the top row's meter and the bars stay dark.
        for (int x = 0; x < SPECTRUM_WIDTH; x += 17)
            EXPECT_EQ(visualizer.FrontPixel(x, 40), MakePixel(0xFD, 0xFD, 0xFD)) << x;
    }
    visualizer.Shutdown();
    EXPECT_FALSE(visualizer.RenderThreadRunning());
    EXPECT_FALSE(visualizer.IsCapturing());
    EXPECT_FALSE(visualizer.IsRegistered());
}

} // namespace

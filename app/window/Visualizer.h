#pragma once

// The music lighting's spectrum analyser: captures what the default render
// endpoint plays (loopback), analyses it and draws the 256 x 64 spectrum
// image on a render thread of its own; follows changes of the default device.
//
// Threads: the render thread owns the capture (start, drain, restart); the
// audio service's notification thread and the UI thread only ask for a
// restart; the worker reads the front image. The endpoint list and the
// capture are used under one lock, so teardown can stop them safely.

#include <windows.h>
#include <mmdeviceapi.h>
#include <audioclient.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/window/VisualizerCore.h"

namespace tarnwell {

// A COM pointer that releases what it holds.
template <typename T>
class ComRef
{
public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ComRef& operator=(ComRef&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }
    // Takes a new reference on p.
    static ComRef Share(T* p)
    {
        ComRef ref;
        ref.m_p = p;
        if (p != nullptr)
            p->AddRef();
        return ref;
    }
    void Reset()
    {
        if (m_p != nullptr)
            m_p->Release();
        m_p = nullptr;
    }
    T** Out()
    {
        Reset();
        return &m_p;
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

// Loopback (or plain) capture of one endpoint. A failed start leaves it
// stopped, and a stopped capture yields nothing: the music works on silence.
class LoopbackCapture : public SampleSource
{
public:
    LoopbackCapture() = default;
    ~LoopbackCapture() override { Stop(); }

    // Stops any running capture first. A failure (the endpoint would not
    // activate, its mix format is neither float nor 16-bit integer, or
    // Initialize, GetService or Start failed) leaves it stopped.
    HRESULT Start(IMMDevice* endpoint, bool loopback);
    void Stop();
    bool Running() const { return static_cast<bool>(m_capture); }
    const SampleFormat& Format() const { return m_format; }

    // Reads every waiting packet. A packet that comes without its data ends
    // the capture.
    void Drain(std::vector<float>& values) override;

private:
    ComRef<IAudioClient> m_client;
    ComRef<IAudioCaptureClient> m_capture;
    SampleFormat m_format;
};

class Visualizer : public IMMNotificationClient
{
public:
    Visualizer();
    virtual ~Visualizer();
    Visualizer(const Visualizer&) = delete;
    Visualizer& operator=(const Visualizer&) = delete;

    // ---- IUnknown, IMMNotificationClient ----------------------------------------------
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR deviceId) override;
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override { return S_OK; }

    // The endpoint list, the initial settings and the first capture. The
    // enumerator is created here unless one is given (tests give their own).
    void Init(IMMDeviceEnumerator* enumerator = nullptr);
    void InitDevices(IMMDeviceEnumerator* enumerator = nullptr);
    // Asks the render thread to (re)start the capture on the chosen endpoint.
    void StartCapture() { m_restartWanted.store(true); }
    void StartRenderThread();
    // Stops and joins the render thread, stops the capture, unregisters the
    // notification and releases every COM object. Safe to call twice.
    void Shutdown();

    // One frame as the render thread runs it: a pending restart, the drain,
    // the analysis and the picture.
    void RenderFrame();

    // Analyses from this source instead of the capture (null: the capture).
    void UseSampleSource(SampleSource* source);

    // ---- what the pages read and write ----------------------------------------------
    std::atomic<uint8_t> active{0};
    std::atomic<int> gain{270};
    std::atomic<int> foregroundEffect{17};
    std::atomic<int> backgroundEffect{0};
    std::atomic<int> backgroundBrightness{100};
    std::atomic<int> endpointIndex{0};

    Pixel FrontPixel(int x, int y) const { return m_painter.FrontPixel(x, y); }
    const Pixel* FrontImage() const { return m_painter.Front(); }
    const SpectrumAnalyzer& Analyzer() const { return m_analyzer; }
    float Hue() const { return m_painter.Hue(); }

    // State the tests look at.
    bool IsCapturing();
    bool IsRegistered() const { return m_registered; }
    bool RenderThreadRunning() const { return m_renderThread.joinable(); }
    size_t EndpointCount();

    // Frames without any captured value after which the sound heard last
    // is forgotten (about a tenth of a second).
    static constexpr int QUIET_FRAMES = 6;
    static constexpr DWORD IDLE_WAIT_MS = 500;
    static constexpr DWORD FRAME_PAUSE_MS = 15;

private:
    void RenderLoop();
    // Both under m_captureLock.
    void TakeDefaultEndpoint();
    void RestartCapture();

    std::mutex m_captureLock;
    ComRef<IMMDeviceEnumerator> m_enumerator;
    std::vector<std::wstring> m_endpointNames;
    std::vector<ComRef<IMMDevice>> m_endpoints;
    std::vector<bool> m_captureFlags;
    LoopbackCapture m_capture;
    SampleSource* m_source = nullptr;
    bool m_registered = false;
    bool m_comInitialised = false;

    std::atomic<bool> m_restartWanted{false};
    std::atomic<bool> m_defaultChanged{false};

    AnalyzerSettings m_analysis;
    SpectrumAnalyzer m_analyzer;
    SpectrumPainter m_painter;
    std::vector<float> m_values;
    int m_quietFrames = 0;

    std::thread m_renderThread;
    std::atomic<bool> m_running{false};
    HANDLE m_wake = nullptr;
};

} // namespace tarnwell

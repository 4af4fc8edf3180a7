#include "app/window/Visualizer.h"

#include <objbase.h>

namespace tarnwell {

namespace {

const wchar_t* const kDefaultEndpointName = L"Default Loopback Device";
// A capture that keeps handing out packets is drained over several frames.
constexpr int MAX_PACKETS_PER_DRAIN = 256;

// The mix format as GetMixFormat hands it out, freed with the task allocator.
class MixFormat
{
public:
    MixFormat() = default;
    ~MixFormat() { CoTaskMemFree(m_format); }
    MixFormat(const MixFormat&) = delete;
    MixFormat& operator=(const MixFormat&) = delete;
    WAVEFORMATEX** Out() { return &m_format; }
    WAVEFORMATEX* Get() const { return m_format; }

private:
    WAVEFORMATEX* m_format = nullptr;
};

} // namespace

// ---- LoopbackCapture ------------------------------------------------------------------------

HRESULT LoopbackCapture::Start(IMMDevice* endpoint, bool loopback)
{
    Stop();
    if (endpoint == nullptr)
        return E_POINTER;
    ComRef<IAudioClient> client;
    HRESULT hr = endpoint->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                    reinterpret_cast<void**>(client.Out()));
    if (FAILED(hr) || !client)
        return FAILED(hr) ? hr : E_POINTER;
    MixFormat mix;
    hr = client->GetMixFormat(mix.Out());
    if (FAILED(hr) || mix.Get() == nullptr)
        return FAILED(hr) ? hr : E_POINTER;
    const SampleFormat format = DescribeFormat(mix.Get());
    if (format.kind == SampleKind::Unsupported)
        return AUDCLNT_E_UNSUPPORTED_FORMAT;
    hr = client->Initialize(AUDCLNT_SHAREMODE_SHARED, loopback ? AUDCLNT_STREAMFLAGS_LOOPBACK : 0, 0, 0, mix.Get(),
                            nullptr);
    if (FAILED(hr))
        return hr;
    // Where loopback is not offered (a render endpoint that only renders),
    // this is the step that fails: the capture stays off.
    ComRef<IAudioCaptureClient> capture;
    hr = client->GetService(__uuidof(IAudioCaptureClient), reinterpret_cast<void**>(capture.Out()));
    if (FAILED(hr) || !capture)
        return FAILED(hr) ? hr : E_POINTER;
    hr = client->Start();
    if (FAILED(hr))
        return hr;
    m_client = std::move(client);
    m_capture = std::move(capture);
    m_format = format;
    return S_OK;
}

void LoopbackCapture::Stop()
{
    if (m_client)
        m_client->Stop();
    m_capture.Reset();
    m_client.Reset();
    m_format = SampleFormat();
}

void LoopbackCapture::Drain(std::vector<float>& values)
{
    for (int packet = 0; m_capture && packet < MAX_PACKETS_PER_DRAIN; ++packet) {
        BYTE* data = nullptr;
        UINT32 frames = 0;
        DWORD flags = 0;
        const HRESULT hr = m_capture->GetBuffer(&data, &frames, &flags, nullptr, nullptr);
        if (FAILED(hr)) {
            // The endpoint went away or was reset: a restart brings it back.
            Stop();
            return;
        }
        if (frames == 0)
            return;
        const bool silent = (flags & AUDCLNT_BUFFERFLAGS_SILENT) != 0;
        if (data == nullptr && !silent) {
            Stop();
            return;
        }
        ConvertPacket(data, frames, silent, m_format, values);
        m_capture->ReleaseBuffer(frames);
    }
}

// ---- Visualizer -------------------------------------------------------------------------------

Visualizer::Visualizer() : m_source(&m_capture), m_wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

Visualizer::~Visualizer()
{
    Shutdown();
    if (m_wake != nullptr)
        CloseHandle(m_wake);
}

HRESULT Visualizer::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IMMNotificationClient))) {
        *object = static_cast<IMMNotificationClient*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT Visualizer::OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR)
{
    // Called on the audio service's thread: the render thread takes the new
    // endpoint and restarts the capture, so only one thread ever touches it.
    if (flow == eRender && role == eConsole) {
        m_defaultChanged.store(true);
        if (m_wake != nullptr)
            SetEvent(m_wake);
    }
    return S_OK;
}

void Visualizer::InitDevices(IMMDeviceEnumerator* enumerator)
{
    if (!m_comInitialised)
        m_comInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    std::lock_guard<std::mutex> held(m_captureLock);
    if (!m_enumerator) {
        if (enumerator != nullptr)
            m_enumerator = ComRef<IMMDeviceEnumerator>::Share(enumerator);
        else
            CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                             reinterpret_cast<void**>(m_enumerator.Out()));
    }
    if (!m_enumerator)
        return;
    if (!m_registered)
        m_registered = SUCCEEDED(m_enumerator->RegisterEndpointNotificationCallback(this));
    TakeDefaultEndpoint();
}

void Visualizer::Init(IMMDeviceEnumerator* enumerator)
{
    InitDevices(enumerator);
    m_analysis = AnalyzerSettings();
    gain = m_analysis.gain;
    foregroundEffect = PainterSettings().foregroundEffect;
    backgroundEffect = PainterSettings().backgroundEffect;
    backgroundBrightness = PainterSettings().backgroundBrightness;
    endpointIndex = 0;
    m_painter.SetHue(0.0f);
    StartCapture();
}

void Visualizer::TakeDefaultEndpoint()
{
    m_endpointNames.clear();
    m_endpoints.clear();
    m_captureFlags.clear();
    if (!m_enumerator)
        return;
    ComRef<IMMDevice> endpoint;
    // Without a sound server there is no render endpoint (E_NOTFOUND): the
    // list stays empty and nothing is captured.
    if (FAILED(m_enumerator->GetDefaultAudioEndpoint(eRender, eConsole, endpoint.Out())) || !endpoint)
        return;
    m_endpointNames.push_back(kDefaultEndpointName);
    m_endpoints.push_back(std::move(endpoint));
    m_captureFlags.push_back(false);
}

void Visualizer::RestartCapture()
{
    m_capture.Stop();
    if (endpointIndex.load() < 0 || static_cast<size_t>(endpointIndex.load()) >= m_endpoints.size()) {
        if (m_endpoints.empty())
            return;
        endpointIndex = 0;
    }
    const size_t index = static_cast<size_t>(endpointIndex.load());
    m_capture.Start(m_endpoints[index].Get(), !m_captureFlags[index]);
}

void Visualizer::UseSampleSource(SampleSource* source)
{
    std::lock_guard<std::mutex> held(m_captureLock);
    m_source = source != nullptr ? source : &m_capture;
}

bool Visualizer::IsCapturing()
{
    std::lock_guard<std::mutex> held(m_captureLock);
    return m_capture.Running();
}

size_t Visualizer::EndpointCount()
{
    std::lock_guard<std::mutex> held(m_captureLock);
    return m_endpoints.size();
}

void Visualizer::RenderFrame()
{
    m_values.clear();
    {
        std::lock_guard<std::mutex> held(m_captureLock);
        if (m_defaultChanged.exchange(false)) {
            TakeDefaultEndpoint();
            m_restartWanted = true;
        }
        if (m_restartWanted.exchange(false))
            RestartCapture();
        m_source->Drain(m_values);
    }
    // Loopback hands out nothing at all while nothing plays: the last sound
    // would otherwise stay in the history and hold the bars up.
    if (m_values.empty()) {
        if (++m_quietFrames >= QUIET_FRAMES)
            m_analyzer.ClearHistory();
    } else {
        m_quietFrames = 0;
    }
    m_analysis.gain = gain.load();
    m_analyzer.Analyze(m_values.data(), m_values.size(), m_analysis);
    PainterSettings paint;
    paint.foregroundEffect = foregroundEffect.load();
    paint.backgroundEffect = backgroundEffect.load();
    paint.backgroundBrightness = backgroundBrightness.load();
    m_painter.Paint(m_analyzer.Display(), paint);
}

void Visualizer::RenderLoop()
{
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    while (m_running.load()) {
        if (active.load() == 0) {
            // Device changes and restarts are still taken while idle.
            if (m_defaultChanged.load() || m_restartWanted.load()) {
                std::lock_guard<std::mutex> held(m_captureLock);
                if (m_defaultChanged.exchange(false)) {
                    TakeDefaultEndpoint();
                    m_restartWanted = true;
                }
                if (m_restartWanted.exchange(false))
                    RestartCapture();
            }
            WaitForSingleObject(m_wake, IDLE_WAIT_MS);
            continue;
        }
        RenderFrame();
        WaitForSingleObject(m_wake, FRAME_PAUSE_MS);
    }
    {
        // The capture was started on this thread; it ends here too.
        std::lock_guard<std::mutex> held(m_captureLock);
        m_capture.Stop();
    }
    if (com)
        CoUninitialize();
}

void Visualizer::StartRenderThread()
{
    if (m_renderThread.joinable())
        return;
    m_running = true;
    m_renderThread = std::thread(&Visualizer::RenderLoop, this);
}

void Visualizer::Shutdown()
{
    m_running = false;
    if (m_wake != nullptr)
        SetEvent(m_wake);
    if (m_renderThread.joinable())
        m_renderThread.join();
    // Unregistered outside the lock: a notification in flight may still be
    // delivered until this returns.
    if (m_registered && m_enumerator)
        m_enumerator->UnregisterEndpointNotificationCallback(this);
    m_registered = false;
    std::lock_guard<std::mutex> held(m_captureLock);
    m_capture.Stop();
    m_endpoints.clear();
    m_endpointNames.clear();
    m_captureFlags.clear();
    m_enumerator.Reset();
}

} // namespace tarnwell

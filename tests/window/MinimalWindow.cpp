// The start-up benchmark's reference: a program that opens one window and
// paints it, and nothing else.

#include <windows.h>

static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, msg, wParam, lParam);
    }
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"MinimalWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"MinimalWindow", L"Minimal", WS_POPUP | WS_VISIBLE, 0, 0, 1380, 800, nullptr,
                                  nullptr, instance, nullptr);
    SetPropW(window, L"Tarnwell", reinterpret_cast<HANDLE>(1));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

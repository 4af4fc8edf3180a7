#pragma once

// What the colour-control and image-viewer tests share besides the common
// recorders, host dialog, window input and temporary folders: PNG files read
// and written through wide paths, and the removal of the image viewer's
// working copies.

#include <windows.h>

#include <lodepng.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowInput.h"
#include "ui/controls/ImageView.h"

namespace colourtest {

using testsupport::Click;
using testsupport::HostDialog;
using testsupport::Pack;
using testsupport::Press;
using testsupport::RecordingOwner;
using testsupport::Report;
using testsupport::TempFolder;
using testsupport::Type;
using testsupport::Up;
using testsupport::WithCode;

// ---- files through wide paths ----

inline bool ReadFileBytes(const std::wstring& path, std::vector<unsigned char>& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = ::GetFileSize(file, nullptr);
    bytes.assign(size, 0);
    DWORD read = 0;
    const bool ok = size == 0 || (::ReadFile(file, bytes.data(), size, &read, nullptr) && read == size);
    ::CloseHandle(file);
    return ok;
}

inline bool WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

struct Png
{
    unsigned width = 0;
    unsigned height = 0;
    std::vector<unsigned char> rgba;
    // 0x00RRGGBB.
    uint32_t Rgb(unsigned x, unsigned y) const
    {
        const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
};

inline bool ReadPng(const std::wstring& path, Png& png)
{
    std::vector<unsigned char> bytes;
    if (!ReadFileBytes(path, bytes) || bytes.empty())
        return false;
    unsigned char* pixels = nullptr;
    if (lodepng_decode32(&pixels, &png.width, &png.height, bytes.data(), bytes.size()) != 0)
        return false;
    png.rgba.assign(pixels, pixels + static_cast<size_t>(png.width) * png.height * 4);
    std::free(pixels);
    return true;
}

// A width x height PNG of one colour (0x00RRGGBB).
inline bool WriteSolidPng(const std::wstring& path, unsigned width, unsigned height, uint32_t rgb)
{
    std::vector<unsigned char> rgba;
    for (unsigned i = 0; i < width * height; ++i)
    {
        rgba.push_back(static_cast<unsigned char>(rgb >> 16));
        rgba.push_back(static_cast<unsigned char>(rgb >> 8));
        rgba.push_back(static_cast<unsigned char>(rgb));
        rgba.push_back(0xFF);
    }
    unsigned char* encoded = nullptr;
    size_t size = 0;
    if (lodepng_encode32(&encoded, &size, rgba.data(), width, height) != 0)
        return false;
    const std::vector<unsigned char> bytes(encoded, encoded + size);
    std::free(encoded);
    return WriteFileBytes(path, bytes);
}

// Removes the image viewer's working copies of the library's current device
// name, their folder and the device folder above it.
inline void RemoveWorkingCopies()
{
    const std::wstring edit = VREL::ImageView::GetEditFolder().GetStdString();
    if (edit.empty())
        return;
    testsupport::RemoveTree(edit);
    const std::wstring device = edit.substr(0, edit.size() - 1);
    ::RemoveDirectoryW(device.substr(0, device.find_last_of(L'\\')).c_str());
}

} // namespace colourtest

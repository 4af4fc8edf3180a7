#pragma once

// Writes 8-bit RGBA pixels as a PNG file. The file is encoded in memory,
// written beside its destination under a temporary name and then moved over
// the destination, so a failed write never leaves the destination damaged
// or missing. Paths are wide: any character the file system accepts works.
// Internal to the library.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/framework/CString.h"

namespace VREL {

namespace PngWriter {

// rgba holds width x height pixels, rows top to bottom, 4 bytes each.
bool Write(const CString& path, const std::vector<uint8_t>& rgba, int width, int height);

// Creates the folder and every missing folder above it; true when it exists
// afterwards.
bool EnsureFolder(const CString& folder);

// The folder part of a path, with its trailing separator; empty when the
// path has none.
CString FolderOf(const CString& path);

} // namespace PngWriter

} // namespace VREL

#include "app/store/XmlTextFile.h"

#include <windows.h>
#include <io.h>

#include <algorithm>
#include <new>
#include <vector>

#include "app/store/TextConverter.h"
#include "app/store/XmlDoc.h"

namespace {

// Only the start of a file is read twice: once to find its encoding.
constexpr long kDetectionBytes = 1024;
constexpr int kMessageChars = 100;

struct ByteOrderMark {
    unsigned char bytes[3];
    size_t length;
    const wchar_t* encoding;
    int kind;
    int unitSize;
};

constexpr ByteOrderMark kMarks[] = {
    {{0xEF, 0xBB, 0xBF}, 3, L"UTF-8", XmlDoc::kBomUtf8, 1},
    {{0xFF, 0xFE, 0}, 2, L"UTF-16LE", XmlDoc::kBomUtf16LE, 2},
    {{0xFE, 0xFF, 0}, 2, L"UTF-16BE", XmlDoc::kBomUtf16BE, 2},
};

void SwapBytes(wchar_t* units, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        units[i] = static_cast<wchar_t>(((units[i] & 0xFF) << 8) | ((units[i] >> 8) & 0xFF));
}

// The folder of a path, separator kept ("C:\\" stays the root, not the
// current folder of drive C).
std::wstring FolderOf(const wchar_t* path)
{
    const std::wstring full(path);
    const size_t slash = full.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return L".";
    return full.substr(0, slash + 1);
}

}  // namespace

XmlTextFile::~XmlTextFile()
{
    // Only reached with a file still open when an error cut a call short.
    if (m_file)
        std::fclose(m_file);
    if (!m_tempPath.empty())
        DeleteFileW(m_tempPath.c_str());
}

bool XmlTextFile::Open(const wchar_t* path)
{
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FileError();
    }
    if (m_flags & kModeRead) {
        m_file = _wfopen(path, L"rb");
        return m_file ? true : FileError();
    }
    wchar_t tempPath[MAX_PATH];
    if (!GetTempFileNameW(FolderOf(path).c_str(), L"xml", 0, tempPath))
        return FileError();
    m_tempPath = tempPath;
    m_file = _wfopen(tempPath, L"wb");
    return m_file ? true : FileError();
}

bool XmlTextFile::Close()
{
    if (!m_file)
        return true;
    bool ok = true;
    // Written data must be on disk before the new file takes the old one's place.
    if ((m_flags & kModeWrite) && (std::fflush(m_file) != 0 || _commit(_fileno(m_file)) != 0))
        ok = FileError();
    if (std::fclose(m_file) != 0 && ok)
        ok = FileError();
    m_file = nullptr;
    return ok;
}

bool XmlTextFile::FileError()
{
    return ErrorWithCode(GetLastError());
}

bool XmlTextFile::ErrorWithCode(unsigned long code)
{
    wchar_t message[kMessageChars + 1] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        message, kMessageChars, nullptr);
    if (length == 0)
        message[0] = 0;
    for (wchar_t* p = message; *p; ++p) {
        if (*p == L'\r' || *p == L'\n') {
            *p = 0;
            break;
        }
    }
    XmlDoc::AddResult(m_result, L"file_error", {{L"msg", message}, {L"n", static_cast<int>(code)}});
    return false;
}

// ---- reading ------------------------------------------------------------------

bool XmlTextFile::ReadText(std::wstring& text)
try {
    text.clear();
    if (std::fseek(m_file, 0, SEEK_END) != 0 || (m_fileLength = std::ftell(m_file)) < 0 ||
        std::fseek(m_file, 0, SEEK_SET) != 0)
        return FileError();

    unsigned char head[kDetectionBytes];
    const size_t headLength = static_cast<size_t>(std::min(m_fileLength, kDetectionBytes));
    if (headLength && std::fread(head, 1, headLength, m_file) != headLength)
        return FileError();

    m_flags &= ~XmlDoc::kBomMask;
    m_unitSize = 1;
    m_encoding.clear();
    long markLength = 0;
    for (const ByteOrderMark& mark : kMarks) {
        if (headLength >= mark.length && std::equal(mark.bytes, mark.bytes + mark.length, head)) {
            m_flags |= mark.kind;
            m_unitSize = mark.unitSize;
            m_encoding = mark.encoding;
            markLength = static_cast<long>(mark.length);
            break;
        }
    }
    if (markLength) {
        XmlDoc::AddResult(m_result, L"bom");
    } else if (headLength) {
        // The declaration is plain ASCII in every encoding that declares one,
        // so the start of the file is read as UTF-8 to find it.
        wchar_t start[kDetectionBytes];
        const int chars = MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(head),
                                              static_cast<int>(headLength), start, kDetectionBytes);
        m_encoding = XmlDoc::GetDeclaredEncoding(start, std::max(chars, 0)).GetStdString();
        if (m_encoding.empty() && head[0] == '<')
            m_encoding = L"UTF-8";
    }

    m_opLength = m_fileLength - markLength;
    m_position = markLength;
    if (m_opLength == 0) {
        XmlDoc::AddResult(m_result, L"read", {{L"encoding", m_encoding.c_str()}, {L"length", 0}});
        return true;
    }
    if (std::fseek(m_file, markLength, SEEK_SET) != 0)
        return FileError();

    if (m_unitSize == 2) {
        std::vector<wchar_t> units(static_cast<size_t>(m_opLength / 2 + m_opLength / 200) + 1);
        if (!ReadBytes(units.data()))
            return false;
        text.assign(units.data(), m_unitCount);
        return true;
    }

    std::vector<unsigned char> bytes(static_cast<size_t>(m_opLength));
    if (!ReadBytes(bytes.data()))
        return false;
    if (m_encoding.empty()) {
        if (IsValidUtf8(bytes.data(), m_unitCount)) {
            m_encoding = L"UTF-8";
            XmlDoc::UpdateResult(m_result, L"read", L"encoding", m_encoding.c_str());
        }
        XmlDoc::AddResult(m_result, L"utf8_detection");
    }
    TextConverter converter(L"UTF-16", m_encoding.c_str(), bytes.data(), m_unitCount);
    const size_t count = converter.Convert(nullptr, 0);
    if (count == 0 && m_unitCount > 0) {
        // The code page is not available here: failing beats an empty text
        // that looks like a successful read.
        return ErrorWithCode(converter.LastError());
    }
    std::vector<wchar_t> units(count + count / 100 + 1);
    const size_t produced = converter.Convert(units.data(), units.size());
    text.assign(units.data(), produced);
    XmlDoc::AddResult(m_result, L"converted_to", {{L"encoding", L"UTF-16"}, {L"length", static_cast<int>(count)}});
    return true;
} catch (const std::bad_alloc&) {
    text.clear();
    return ErrorWithCode(ERROR_NOT_ENOUGH_MEMORY);
}

bool XmlTextFile::ReadBytes(void* buffer)
{
    const size_t length = static_cast<size_t>(m_opLength);
    if (std::fread(buffer, 1, length, m_file) != length)
        return FileError();
    m_position += m_opLength;
    const size_t units = length / static_cast<size_t>(m_unitSize);
    XmlDoc::AddResult(m_result, L"read", {{L"encoding", m_encoding.c_str()}, {L"length", static_cast<int>(units)}});

    size_t kept = 0;
    if (m_unitSize == 2) {
        wchar_t* p = static_cast<wchar_t*>(buffer);
        for (size_t i = 0; i < units; ++i)
            if (p[i])
                p[kept++] = p[i];
    } else {
        unsigned char* p = static_cast<unsigned char*>(buffer);
        for (size_t i = 0; i < units; ++i)
            if (p[i])
                p[kept++] = p[i];
    }
    if (kept != units)
        XmlDoc::AddResult(m_result, L"nulls_removed", {{L"count", static_cast<int>(units - kept)}});
    m_unitCount = kept;
    if (m_flags & XmlDoc::kBomUtf16BE) {
        SwapBytes(static_cast<wchar_t*>(buffer), kept);
        XmlDoc::AddResult(m_result, L"endian_swap");
    }
    return true;
}

// ---- writing ------------------------------------------------------------------

bool XmlTextFile::WriteText(const wchar_t* path, const std::wstring& text)
{
    std::string mark;
    for (const ByteOrderMark& m : kMarks) {
        if (m_flags & m.kind) {
            mark.assign(reinterpret_cast<const char*>(m.bytes), m.length);
            m_unitSize = m.unitSize;
            m_encoding = m.encoding;
            XmlDoc::AddResult(m_result, L"bom");
            break;
        }
    }
    if (mark.empty() && !text.empty()) {
        m_encoding = XmlDoc::GetDeclaredEncoding(text.c_str(), static_cast<int>(text.size())).GetStdString();
        if (m_encoding.empty())
            m_encoding = L"UTF-8";
    }

    std::string bytes;
    size_t units = 0;
    bool ok = false;
    try {
        ok = (text.empty() || ConvertText(text, bytes, units)) && Open(path);
        if (ok && !mark.empty() && std::fwrite(mark.data(), 1, mark.size(), m_file) != mark.size())
            ok = FileError();
        if (ok)
            ok = WriteBytes(bytes, units);
    } catch (const std::bad_alloc&) {
        ok = ErrorWithCode(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (!Close())
        ok = false;
    if (m_tempPath.empty())
        return ok;
    if (ok && !MoveFileExW(m_tempPath.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ok = FileError();
    if (!ok)
        DeleteFileW(m_tempPath.c_str());
    m_tempPath.clear();
    return ok;
}

bool XmlTextFile::ConvertText(const std::wstring& text, std::string& bytes, size_t& units)
{
    if (m_unitSize == 2) {
        std::wstring copy;
        const wchar_t* data = text.data();
        if (m_flags & XmlDoc::kBomUtf16BE) {
            copy = text;
            SwapBytes(&copy[0], copy.size());
            data = copy.data();
            XmlDoc::AddResult(m_result, L"endian_swap");
        }
        bytes.assign(reinterpret_cast<const char*>(data), text.size() * sizeof(wchar_t));
        units = text.size();
        return true;
    }
    TextConverter converter(m_encoding.c_str(), L"UTF-16", text.data(), text.size());
    const size_t needed = converter.Convert(nullptr, 0);
    if (needed == 0)
        return ErrorWithCode(converter.LastError());
    bytes.resize(needed);
    units = converter.Convert(&bytes[0], needed);
    if (units == 0)
        return ErrorWithCode(converter.LastError());
    bytes.resize(units);
    XmlDoc::AddResult(m_result, L"converted_from",
                      {{L"encoding", L"UTF-16"}, {L"length", static_cast<int>(text.size())}});
    if (converter.HadLoss())
        XmlDoc::AddResult(m_result, L"conversion_loss");
    return true;
}

bool XmlTextFile::WriteBytes(const std::string& bytes, size_t units)
{
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        return FileError();
    m_position += static_cast<long>(bytes.size());
    m_unitCount = units;
    XmlDoc::AddResult(m_result, L"write", {{L"encoding", m_encoding.c_str()}, {L"length", static_cast<int>(units)}});
    return true;
}

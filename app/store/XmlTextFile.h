#pragma once

// XmlTextFile: one read or one write of an XML text file. Reading finds the
// encoding from the byte-order mark, from the encoding that the text
// declares, or by testing the bytes, and yields UTF-16 text; writing turns
// the text back into the encoding of the mark or of its declaration (UTF-8
// when it declares none). What happened is reported as result entries.

#include <cstdio>
#include <string>

class XmlTextFile {
public:
    // Mode bits, kept apart from the byte-order-mark kind of the flags word.
    static constexpr int kModeRead = 0x100;
    static constexpr int kModeWrite = 0x200;
    static constexpr int kModeMask = kModeRead | kModeWrite;

    // `flags`: the byte-order-mark kind of the document plus one mode bit.
    explicit XmlTextFile(int flags) : m_flags(flags) {}
    ~XmlTextFile();
    XmlTextFile(const XmlTextFile&) = delete;
    XmlTextFile& operator=(const XmlTextFile&) = delete;

    // Read mode: opens `path`. Write mode: opens a new file in the folder of
    // `path`, which takes the place of `path` only once it is complete.
    bool Open(const wchar_t* path);
    // Reads the open file whole into `text`.
    bool ReadText(std::wstring& text);
    // Converts `text` completely before any file is touched, then opens,
    // writes and closes; a failure at any point leaves the old file at `path`
    // as it was.
    bool WriteText(const wchar_t* path, const std::wstring& text);
    // A failing close is a file error. After a write, the data is committed
    // to disk before the file is closed.
    bool Close();

    // Hands the entries over without copying them.
    void TakeResult(std::wstring& result) { result.swap(m_result); }
    // The flags with the mode bits cleared and the mark kind kept.
    int Flags() const { return m_flags & ~kModeMask; }

private:
    bool ReadBytes(void* buffer);
    bool ConvertText(const std::wstring& text, std::string& bytes, size_t& units);
    bool WriteBytes(const std::string& bytes, size_t units);
    bool FileError();
    bool ErrorWithCode(unsigned long code);

    std::FILE* m_file = nullptr;
    int m_flags;
    std::wstring m_tempPath;  // write mode: the new file until it replaces the target
    long m_opLength = 0;
    long m_fileLength = 0;
    long m_position = 0;
    int m_unitSize = 1;
    size_t m_unitCount = 0;  // units of the last operation (after dropping NULs on reading)
    std::wstring m_result;
    std::wstring m_encoding;
};

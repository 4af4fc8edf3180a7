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

    explicit XmlTextFile(int flags) : m_flags(flags) {}
    ~XmlTextFile();
    XmlTextFile(const XmlTextFile&) = delete;
    XmlTextFile& operator=(const XmlTextFile&) = delete;

    // `opened` tells whether the file could be opened at all.
    bool Read(const wchar_t* path, std::wstring& text, bool& opened);
    // The text is converted completely before the file is touched; it is then
    // written to a new file in the same folder that replaces the target, so
    // a failure at any point leaves the old file as it was.
    bool Write(const wchar_t* path, const std::wstring& text);

    // Hands the entries over without copying them.
    void TakeResult(std::wstring& result) { result.swap(m_result); }
    // The flags with the mode bits cleared and the mark kind kept.
    int Flags() const { return m_flags & ~kModeMask; }

private:
    bool ReadContents(std::wstring& text);
    bool ReadBytes(void* buffer);
    bool ConvertForWriting(const std::wstring& text, std::string& bytes, size_t& units);
    bool WriteAll(const std::wstring& tempPath, const std::string& mark, const std::string& bytes, size_t units);
    bool FileError();
    bool ErrorWithCode(unsigned long code);
    void Close();

    std::FILE* m_file = nullptr;
    int m_flags;
    long m_opLength = 0;
    long m_fileLength = 0;
    long m_position = 0;
    int m_unitSize = 1;
    size_t m_unitCount = 0;  // units left after dropping NULs
    std::wstring m_result;
    std::wstring m_encoding;
};

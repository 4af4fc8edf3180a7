// The manifest built into Tarnwell.exe asks for the common controls of the
// executable's own architecture: a 64-bit program that names the 32-bit
// assembly cannot start wherever that assembly is installed.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The architecture the executable's own header says it is built for.
std::string ArchitectureOf(const std::wstring& exe)
{
    HANDLE file = CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(unreadable)";
    std::vector<char> head(4096);
    DWORD got = 0;
    ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr);
    CloseHandle(file);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(head.data());
    if (got < sizeof(IMAGE_DOS_HEADER) || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0 ||
        static_cast<DWORD>(dos->e_lfanew) + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER) > got)
        return "(no PE header)";
    const auto* fileHeader =
        reinterpret_cast<const IMAGE_FILE_HEADER*>(head.data() + dos->e_lfanew + sizeof(DWORD));
    switch (fileHeader->Machine) {
    case IMAGE_FILE_MACHINE_I386:
        return "x86";
    case IMAGE_FILE_MACHINE_AMD64:
        return "amd64";
    default:
        return "(machine " + std::to_string(fileHeader->Machine) + ")";
    }
}

// The text of the executable's process manifest (resource 1 of RT_MANIFEST).
std::string ManifestOf(const std::wstring& exe)
{
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr)
        return std::string();
    std::string text;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const DWORD size = SizeofResource(module, found);
        if (HGLOBAL loaded = LoadResource(module, found))
            if (const void* bytes = LockResource(loaded))
                text.assign(static_cast<const char*>(bytes), size);
    }
    FreeLibrary(module);
    return text;
}

} // namespace

TEST(ProgramManifest, NamesTheExecutablesOwnArchitectureForItselfAndTheCommonControls)
{
    const std::wstring exe = TARNWELL_PROGRAM_EXE;
    const std::string architecture = ArchitectureOf(exe);
    ASSERT_TRUE(architecture == "x86" || architecture == "amd64") << architecture;
    const std::string manifest = ManifestOf(exe);
    ASSERT_FALSE(manifest.empty()) << "no manifest in the executable";

    // Every processorArchitecture attribute: the program's own identity and
    // the common controls it depends on.
    const std::string attribute = "processorArchitecture=\"";
    std::vector<std::string> named;
    for (size_t at = manifest.find(attribute); at != std::string::npos; at = manifest.find(attribute, at + 1)) {
        const size_t start = at + attribute.size();
        named.push_back(manifest.substr(start, manifest.find('"', start) - start));
    }
    EXPECT_EQ(named, (std::vector<std::string>{architecture, architecture}));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

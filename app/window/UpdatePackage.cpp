#include "app/window/UpdatePackage.h"

#include <shellapi.h>

#include "app/window/ScopedFile.h"
#include "app/window/ZipReader.h"

namespace tarnwell {

namespace {

constexpr wchar_t kTempFolder[] = L"temp\\";
constexpr wchar_t kAppPrefix[] = L"TORVAK-Driver-";
constexpr wchar_t kFirmwarePrefix[] = L"firmware-";

// Creates the folder level by level; true when it exists afterwards.
bool MakeFolder(const std::wstring& folder)
{
    for (size_t at = folder.find(L'\\'); at != std::wstring::npos; at = folder.find(L'\\', at + 1)) {
        if (at > 0 && folder[at - 1] != L':')
            ::CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    }
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

UpdatePackage AppPackage(const std::wstring& dataFolder, const std::wstring& upgradeAddress,
                         const std::wstring& version)
{
    UpdatePackage package;
    const std::wstring name = kAppPrefix + version + L".zip";
    package.tempFolder = dataFolder + kTempFolder;
    package.address = upgradeAddress + name;
    package.zipPath = package.tempFolder + name;
    package.product = package.tempFolder + kAppPrefix + version + L".exe";
    return package;
}

UpdatePackage FirmwarePackage(const std::wstring& dataFolder, const std::wstring& baseAddress,
                              const std::wstring& folder, const std::wstring& version)
{
    UpdatePackage package;
    const std::wstring name = kFirmwarePrefix + version + L".zip";
    package.tempFolder = dataFolder + kTempFolder;
    package.address = baseAddress + L"//" + folder + L"//" + name;
    package.zipPath = package.tempFolder + name;
    package.product = package.tempFolder + kFirmwarePrefix + version + L".bin";
    return package;
}

UpdateOutcome PackageUpdater::Fetch(const UpdatePackage& package)
{
    if (!MakeFolder(package.tempFolder))
        return UpdateOutcome::NoFolder;
    // Nothing an earlier run left may pass for this run's product.
    if (!DeleteFileForce(package.zipPath.c_str()) || !DeleteFileForce(package.product.c_str()))
        return UpdateOutcome::NoFolder;

    const int downloaded = m_downloader.Download(package.address, package.zipPath, m_progressWindow);
    if (downloaded != kDownloadComplete) {
        DeleteFileForce(package.zipPath.c_str());
        return downloaded == kDownloadCancelled ? UpdateOutcome::Cancelled : UpdateOutcome::DownloadFailed;
    }

    const ZipExtractResult unpacked = ExtractZipToFolder(package.zipPath, package.tempFolder, m_limits);
    // Whatever came of it, the package has served: a damaged or refused one
    // is not kept either.
    DeleteFileForce(package.zipPath.c_str());
    UpdateOutcome outcome = UpdateOutcome::Installed;
    if (unpacked.refused == ZipRefusal::NoSpace)
        outcome = UpdateOutcome::NoDiskSpace;
    else if (unpacked.refused != ZipRefusal::None)
        outcome = UpdateOutcome::PackageTooLarge;
    else if (!unpacked.Complete())
        outcome = UpdateOutcome::ArchiveBroken;
    else if (!unpacked.Wrote(package.product) ||
             ::GetFileAttributesW(package.product.c_str()) == INVALID_FILE_ATTRIBUTES)
        outcome = UpdateOutcome::ProductMissing;
    if (outcome != UpdateOutcome::Installed) {
        // Nothing of a failed package stays in the temp folder; a product
        // from a damaged archive is not trusted either.
        RemoveWritten(unpacked);
        DeleteFileForce(package.product.c_str());
    }
    return outcome;
}

UpdateOutcome PackageUpdater::Install(const UpdatePackage& package, const InstallerLauncher& launch)
{
    const UpdateOutcome fetched = Fetch(package);
    if (fetched != UpdateOutcome::Installed)
        return fetched;
    return launch(package.product) ? UpdateOutcome::Installed : UpdateOutcome::LaunchFailed;
}

bool ShellLaunch(const std::wstring& installer)
{
    const HINSTANCE started = ::ShellExecuteW(nullptr, L"open", installer.c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(started) > 32;
}

} // namespace tarnwell

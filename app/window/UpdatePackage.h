#pragma once

// The update packages: where each one comes from and goes to, and the steps
// that fetch one, unpack it into the temp folder and hand over what it
// brought. Something is handed over (an installer started, a firmware image
// recorded) only when this download arrived whole and this archive unpacked
// completely and produced it.

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "app/window/HttpDownloader.h"
#include "app/window/ZipReader.h"

namespace tarnwell {

// One package: its address, the zip's place and the file it must produce.
struct UpdatePackage
{
    std::wstring address;
    std::wstring zipPath;
    std::wstring product;
    std::wstring tempFolder;
};

// dataFolder ends with a backslash.
UpdatePackage AppPackage(const std::wstring& dataFolder, const std::wstring& upgradeAddress,
                         const std::wstring& version);
UpdatePackage FirmwarePackage(const std::wstring& dataFolder, const std::wstring& baseAddress,
                              const std::wstring& folder, const std::wstring& version);

enum class UpdateOutcome
{
    Installed,       // the product was handed over
    NoFolder,        // the temp folder cannot be made, or old files cannot go
    DownloadFailed,
    Cancelled,
    ArchiveBroken,   // the archive cannot be opened or an entry failed
    ProductMissing,  // the archive did not bring the product
    LaunchFailed,
    PackageTooLarge,  // the archive would unpack past the limits: nothing unpacked
    NoDiskSpace,      // the disk has no room for what it unpacks to: nothing unpacked
};

// Starts the installer; true when it started.
using InstallerLauncher = std::function<bool(const std::wstring& installer)>;

class PackageUpdater
{
public:
    PackageUpdater(HttpDownloader& downloader, HWND progressWindow, ZipLimits limits = ZipLimits())
        : m_downloader(downloader), m_progressWindow(progressWindow), m_limits(std::move(limits))
    {
    }

    // Fetches and unpacks the package; Installed when its product is there.
    // On any failure nothing of the package (the download, what it unpacked)
    // is left in the temp folder.
    UpdateOutcome Fetch(const UpdatePackage& package);
    // Fetch, then start the product with the launcher.
    UpdateOutcome Install(const UpdatePackage& package, const InstallerLauncher& launch);

private:
    HttpDownloader& m_downloader;
    HWND m_progressWindow;
    ZipLimits m_limits;
};

// Opens the installer with the shell.
bool ShellLaunch(const std::wstring& installer);

} // namespace tarnwell

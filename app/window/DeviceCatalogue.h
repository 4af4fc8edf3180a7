#pragma once

// The keyboard catalogue of config.xml: every keyboard model with its modes
// (the USB ids and interface pattern that identify its configuration
// interface), the program's version and addresses. Read once at start; the
// main window registers the modes with the device manager and matches device
// notices against them.
//
// Elements are searched forward in document order at every level: an
// element standing before one already taken at its level is not found.

#include <string>
#include <vector>

class XmlDoc;

namespace tarnwell {

// One keyboard model (keyboard list) or one of its modes (mode list: the
// keyboard's fields with name replaced by the mode's product name).
struct DeviceModeInfo
{
    std::wstring name;
    int deviceType = 0;
    std::wstring deviceInfo;  // names the layout file and the firmware package
    int modeValue = 0;
    int vid = 0;
    int pid = 0;
    std::wstring desc;
    std::wstring hidInterface;  // searched in the upper-cased interface path
    std::wstring imgConnected;  // full paths; nothing shows them
    std::wstring imgDisconnected;
    int reserved = 0;
    int reserved2 = -1;
};

class DeviceCatalogue
{
public:
    // The model chosen when the stored type is below this.
    static constexpr int kDefaultDeviceType = 101;
    static constexpr int kMinDeviceType = 100;
    // USB ids that a mode must carry to be listed and registered.
    static constexpr int kMaxUsbId = 0xFFFF;

    // Reads the file; pictureFolder is prefixed to the two picture names.
    // A missing, unreadable or malformed file, or one without a "config"
    // root, leaves everything empty and gives false.
    bool Read(const wchar_t* path, const std::wstring& pictureFolder);
    // The same from a document's text.
    bool ReadText(const wchar_t* text, const std::wstring& pictureFolder);
    void Clear();

    const std::vector<DeviceModeInfo>& Keyboards() const { return m_keyboards; }
    const std::vector<DeviceModeInfo>& Modes() const { return m_modes; }
    const std::wstring& Version() const { return m_version; }
    const std::wstring& Website() const { return m_website; }
    const std::wstring& Store() const { return m_store; }
    const std::wstring& Upgrade() const { return m_upgrade; }
    int DefaultLanguage() const { return m_defaultLanguage; }

    // The first keyboard whose device type equals type; null when none.
    const DeviceModeInfo* FindKeyboard(int type) const;
    // The first mode whose pattern occurs in the upper-cased path (the
    // pattern itself is compared as written, so only an upper-case pattern
    // can match; an empty one matches every path); -1 when none.
    int MatchInterfacePath(const std::wstring& path) const;

    // The type to select for a stored DeviceType value.
    static int ChooseDeviceType(int stored) { return stored < kMinDeviceType ? kDefaultDeviceType : stored; }

private:
    bool ReadDocument(XmlDoc& doc, const std::wstring& pictureFolder);

    std::vector<DeviceModeInfo> m_keyboards;
    std::vector<DeviceModeInfo> m_modes;
    std::wstring m_version;
    std::wstring m_website;
    std::wstring m_store;
    std::wstring m_upgrade;
    std::wstring m_copyright;
    int m_defaultLanguage = 0;
};

// Numbers of the configuration and layout files: decimal like _wtoi (leading
// digits, 0 when none), hexadecimal like wcstol with base 16 (a 0x prefix
// allowed). Values beyond an int's range give 0.
int ParseDecimalValue(const std::wstring& text);
int ParseHexValue(const std::wstring& text);

} // namespace tarnwell

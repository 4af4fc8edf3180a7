#include "app/window/DeviceCatalogue.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cwctype>

#include "app/store/XmlDoc.h"

namespace tarnwell {

namespace {

std::wstring Attribute(const XmlDoc& doc, const wchar_t* name) { return doc.GetAttribute(name).GetString(); }

int ParseWith(const std::wstring& text, int base)
{
    errno = 0;
    const long long value = std::wcstoll(text.c_str(), nullptr, base);
    if (errno == ERANGE || value > INT_MAX || value < INT_MIN)
        return 0;
    return static_cast<int>(value);
}

bool ValidUsbId(int id) { return id > 0 && id <= DeviceCatalogue::kMaxUsbId; }

} // namespace

int ParseDecimalValue(const std::wstring& text) { return ParseWith(text, 10); }
int ParseHexValue(const std::wstring& text) { return ParseWith(text, 16); }

void DeviceCatalogue::Clear()
{
    m_keyboards.clear();
    m_modes.clear();
    m_version.clear();
    m_website.clear();
    m_store.clear();
    m_upgrade.clear();
    m_copyright.clear();
    m_defaultLanguage = 0;
}

bool DeviceCatalogue::Read(const wchar_t* path, const std::wstring& pictureFolder)
{
    Clear();
    XmlDoc doc;
    return path != nullptr && doc.Load(path) && ReadDocument(doc, pictureFolder);
}

bool DeviceCatalogue::ReadText(const wchar_t* text, const std::wstring& pictureFolder)
{
    Clear();
    XmlDoc doc;
    return text != nullptr && doc.SetText(text) && ReadDocument(doc, pictureFolder);
}

bool DeviceCatalogue::ReadDocument(XmlDoc& doc, const std::wstring& pictureFolder)
{
    if (!doc.FindElement(L"config") || !doc.Descend())
        return false;

    if (doc.FindElement(L"device.info") && doc.Descend()) {
        while (doc.FindElement(L"keyboard")) {
            DeviceModeInfo keyboard;
            keyboard.name = Attribute(doc, L"name");
            keyboard.deviceType = ParseDecimalValue(Attribute(doc, L"device_type"));
            keyboard.deviceInfo = Attribute(doc, L"device_info");
            keyboard.imgConnected = pictureFolder + Attribute(doc, L"img_connected");
            keyboard.imgDisconnected = pictureFolder + Attribute(doc, L"img_disconnected");
            m_keyboards.push_back(keyboard);
            if (!doc.Descend())
                continue;
            while (doc.FindElement(L"mode")) {
                DeviceModeInfo mode = keyboard;
                mode.modeValue = ParseDecimalValue(Attribute(doc, L"value"));
                mode.desc = Attribute(doc, L"desc");
                mode.vid = ParseHexValue(Attribute(doc, L"vid"));
                mode.pid = ParseHexValue(Attribute(doc, L"pid"));
                mode.name = Attribute(doc, L"product_name");
                mode.hidInterface = Attribute(doc, L"hid_interface");
                // A mode whose ids no USB device can carry would only ever
                // match by accident: it is left out.
                if (ValidUsbId(mode.vid) && ValidUsbId(mode.pid))
                    m_modes.push_back(mode);
            }
            doc.Ascend();
        }
        doc.Ascend();
    }
    if (doc.FindElement(L"language.info"))
        m_defaultLanguage = ParseDecimalValue(Attribute(doc, L"default_lan"));
    if (doc.FindElement(L"software")) {
        m_version = Attribute(doc, L"version");
        if (doc.Descend()) {
            if (doc.FindElement(L"website"))
                m_website = Attribute(doc, L"url");
            if (doc.FindElement(L"store"))
                m_store = Attribute(doc, L"url");
            if (doc.FindElement(L"upgrade"))
                m_upgrade = Attribute(doc, L"url");
            if (doc.FindElement(L"copyright"))
                m_copyright = Attribute(doc, L"info");
            doc.Ascend();
        }
    }
    return true;
}

const DeviceModeInfo* DeviceCatalogue::FindKeyboard(int type) const
{
    for (const DeviceModeInfo& keyboard : m_keyboards)
        if (keyboard.deviceType == type)
            return &keyboard;
    return nullptr;
}

int DeviceCatalogue::MatchInterfacePath(const std::wstring& path) const
{
    std::wstring upper = path;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    for (size_t i = 0; i < m_modes.size(); ++i)
        if (upper.find(m_modes[i].hidInterface) != std::wstring::npos)
            return static_cast<int>(i);
    return -1;
}

} // namespace tarnwell

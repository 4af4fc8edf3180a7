#include "ui/lists/ComboBox.h"

namespace VREL {

namespace {

std::unique_ptr<ComboItem> MakeItem(const wchar_t* text, long data, const wchar_t* icon, Gdiplus::ARGB colour)
{
    auto item = std::make_unique<ComboItem>();
    item->text = text;
    item->icon = icon;
    item->colour = colour;
    item->data = data;
    return item;
}

} // namespace

int ComboItemList::Add(const wchar_t* text, long data, const wchar_t* icon, Gdiplus::ARGB colour)
{
    ScopedLock lock(m_lock);
    m_items.push_back(MakeItem(text, data, icon, colour));
    return static_cast<int>(m_items.size()) - 1;
}

int ComboItemList::Insert(int index, const wchar_t* text, long data, const wchar_t* icon, Gdiplus::ARGB colour)
{
    ScopedLock lock(m_lock);
    const int count = static_cast<int>(m_items.size());
    if (index == -1 || count == 0)
    {
        m_items.push_back(MakeItem(text, data, icon, colour));
        return static_cast<int>(m_items.size()) - 1;
    }
    if (index < -1 || index > count - 1)
        return -1;
    m_items.insert(m_items.begin() + index, MakeItem(text, data, icon, colour));
    // The selected item moved one place down.
    if (m_selection >= index)
        ++m_selection;
    return static_cast<int>(m_items.size()) - 1;
}

int ComboItemList::Delete(int index, bool& selectionLost)
{
    selectionLost = false;
    ScopedLock lock(m_lock);
    const int count = static_cast<int>(m_items.size());
    if (index == -1)
        return 1;
    if (index < -1 || index > count - 1)
        return 0;
    m_items.erase(m_items.begin() + index);
    if (m_selection == index)
    {
        m_selection = -1;
        selectionLost = true;
    }
    else if (m_selection > index)
    {
        --m_selection;
    }
    return 1;
}

void ComboItemList::Clear()
{
    ScopedLock lock(m_lock);
    m_items.clear();
    m_selection = -1;
}

int ComboItemList::Count() const
{
    ScopedLock lock(m_lock);
    return static_cast<int>(m_items.size());
}

bool ComboItemList::IsValid(int index) const
{
    ScopedLock lock(m_lock);
    return index >= 0 && index < static_cast<int>(m_items.size());
}

CString ComboItemList::Text(int index) const
{
    ScopedLock lock(m_lock);
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return CString();
    return m_items[static_cast<size_t>(index)]->text;
}

int ComboItemList::SetText(int index, const wchar_t* text, bool& changed)
{
    changed = false;
    ScopedLock lock(m_lock);
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return 0;
    ComboItem& item = *m_items[static_cast<size_t>(index)];
    if (item.text != text)
    {
        item.text = text;
        changed = true;
    }
    return 1;
}

long ComboItemList::Data(int index) const
{
    ScopedLock lock(m_lock);
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return 0;
    return m_items[static_cast<size_t>(index)]->data;
}

int ComboItemList::SetData(int index, long data)
{
    ScopedLock lock(m_lock);
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return 0;
    m_items[static_cast<size_t>(index)]->data = data;
    return 1;
}

int ComboItemList::Find(long data) const
{
    ScopedLock lock(m_lock);
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i]->data == data)
            return static_cast<int>(i);
    return -1;
}

int ComboItemList::Selection() const
{
    ScopedLock lock(m_lock);
    return m_selection;
}

void ComboItemList::SetSelection(int index)
{
    ScopedLock lock(m_lock);
    m_selection = index;
}

std::vector<ComboItem> ComboItemList::Snapshot() const
{
    ScopedLock lock(m_lock);
    std::vector<ComboItem> copies;
    copies.reserve(m_items.size());
    for (const auto& item : m_items)
        copies.push_back(*item);
    return copies;
}

} // namespace VREL

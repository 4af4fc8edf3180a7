// The paint manager's drop-shadow members: each acts on the embedded shadow
// with the shadow's own limits; a change redraws a shadow that is shown.

#include "ui/framework/PaintManager.h"

#include "ui/framework/Manager.h"

namespace VREL {

void PaintManager::CreateShadow(int show, bool force)
{
    MShadow::Initialize(Manager::GetInstance(), force);
    m_shadow.ShowShadow(show);
    m_shadow.Create(this);
}

void PaintManager::SetShadowShow(int show) { m_shadow.ShowShadow(show); }

void PaintManager::DisableShadow(int disable) { m_shadow.DisableShadow(disable); }

int PaintManager::SetSize(int size) { return m_shadow.SetSize(size); }

int PaintManager::SetSharpness(UINT sharpness) { return m_shadow.SetSharpness(sharpness); }

int PaintManager::SetDarkness(UINT darkness) { return m_shadow.SetDarkness(darkness); }

int PaintManager::SetPosition(int x, int y) { return m_shadow.SetPosition(x, y); }

int PaintManager::SetShadowColor(COLORREF color) { return m_shadow.SetColor(color); }

void PaintManager::SetShadowImage(const wchar_t* file, CRect corner)
{
    m_shadow.SetImage(file);
    m_shadow.SetShadowCorner(corner);
}

void PaintManager::SetShadowImage(UINT id, CRect corner)
{
    m_shadow.SetImage(id);
    m_shadow.SetShadowCorner(corner);
}

} // namespace VREL

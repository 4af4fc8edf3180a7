#pragma once

// A control with a title, a font, alignment, a text colour and an image
// strip: the base of almost every visible control. The setters of font,
// colour, hint and frame count request no repaint; the next render picks
// them up.

#include <windows.h>
#include <gdiplus.h>

#include <memory>

#include "ui/framework/CString.h"
#include "ui/framework/MControl.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

struct ImgResInfo;

class VREL_API MControlFont : public MControl
{
public:
    MControlFont(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled,
                 int response);
    ~MControlFont() override;

    // ---- virtual operations added after those of MControl, in slot order ----
    virtual void SetTextFont(CString name);
    virtual void SetTextColor(Gdiplus::Color colour);
    // Strip from a resource of the application module.
    virtual int SetImage(UINT id, CString type, int count);
    // Strip from a file of the skin folder.
    virtual int SetImage(const wchar_t* file, int count);
    virtual void SetControlTitle(const wchar_t* title);
    virtual CString GetControlTitle();

    // ---- title and alignment (repaint when visible) ---------------------------
    void SetTitle(const wchar_t* title);
    CString GetTitle();
    // Horizontal: 0 left, 1 centre, 2 right. Vertical: 0 top, 4 centre, 8 bottom.
    void SetAlignment(UINT h);
    void SetVAlignment(UINT v);
    void SetAlignment(UINT h, UINT v);
    void GetAlignment(UINT& h, UINT& v) const;

    // ---- font, colour, strip (no repaint) ---------------------------------------
    void SetFont(const wchar_t* name, int size, Gdiplus::FontStyle style);
    void SetFontName(const wchar_t* name);
    CString GetTextFont() const;
    void SetFontWidth(int size) { m_fontSize = size; }
    int GetFontWidth() const { return m_fontSize; }
    void SetFontStyle(Gdiplus::FontStyle style) { m_fontStyle = style; }
    Gdiplus::FontStyle GetFontStyle() const { return m_fontStyle; }
    void SetTextRenderingHint(Gdiplus::TextRenderingHint hint) { m_textHint = hint; }
    void SetImageCount(int count) { m_frameCount = count; }
    CSize GetImageSize() const { return CSize(m_frameWidth, m_frameHeight); }
    const wchar_t* GetImagePath() const { return m_imagePath; }
    // A clone of the named family from the manager's font cache, kept by the
    // control until the next call or its destruction; null without a manager
    // or when the family is unknown.
    Gdiplus::FontFamily* GetFontFamily(const wchar_t* name);
    // The cached GDI font made from the library-wide font name and this
    // control's size and style.
    HFONT GetGDIFont();
    void ClearGDIFont();

protected:
    CString m_title;
    CString m_fontName;
    CString m_imagePath;
    int m_fontSize;
    Gdiplus::Color m_textColor;
    std::unique_ptr<Gdiplus::SolidBrush> m_pTextBrush;
    Gdiplus::FontStyle m_fontStyle;
    std::unique_ptr<Gdiplus::FontFamily> m_pFontFamily;
    UINT m_hAlign;
    UINT m_vAlign;
    Gdiplus::TextRenderingHint m_textHint;
    HFONT m_hGdiFont;
    // The strip from the manager's image cache; not owned.
    Gdiplus::Image* m_pImage;
    int m_frameWidth;
    int m_frameHeight;
    int m_frameCount;

private:
    int TakeStrip(const ImgResInfo* info, int count);
};

} // namespace VREL

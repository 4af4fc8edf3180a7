#pragma once

// A windowless image viewer and small image editor.
//
// As a viewer it keeps a list of image files and, in preview mode, shows
// them one after another, each for its own time, advancing on the timer
// ticks that reach it.
//
// As an editor it works on one image file: SetImage copies the file into a
// working folder under the user's local application data and shows it; the
// user draws pen and eraser strokes and places text over it; the edits are
// kept as records that can be moved, resized, recoloured and undone. After
// every change the image with its edits is written into the working copy as
// a 32-bit RGBA PNG and the owner gets code 32. The source file is written
// only by SaveImageData, which copies the working copy over it.

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

// Draw modes of the editor.
enum ImageDrawMode : int
{
    IMAGE_MODE_MOVE_TEXT = 100,
    IMAGE_MODE_NONE = 101,
    IMAGE_MODE_PEN = 102,
    IMAGE_MODE_ERASER = 111,
};

// Kinds of edit record.
enum ImageEditType : int
{
    IMAGE_EDIT_TEXT = 1,
    IMAGE_EDIT_PEN = 2,
    IMAGE_EDIT_ERASER = 3,
};

// One image of the viewer's list.
struct ImageViewItem
{
    CString file;
    // A full-size copy of the file's image, or null when it did not load.
    std::unique_ptr<Gdiplus::Image> image;
    int width = 0;
    int height = 0;
    // Milliseconds the item stays on screen in preview mode.
    int displayTime = 0;
    int value = 0;
};

// One edit over the edited image. Coordinates are client coordinates of the
// window.
struct ImageEditRecord
{
    static constexpr int kMaxPoints = 500;

    int type = IMAGE_EDIT_TEXT;
    Gdiplus::ARGB colour = 0xFF000000;
    // Text size in pixels, or pen width.
    int size = 0;
    CString text;
    // Anchor of a text record.
    int x = 0;
    int y = 0;
    // Where the text was last drawn, for hit tests.
    RECT textRect = {0, 0, 0, 0};
    int pointCount = 0;
    POINT points[kMaxPoints] = {};
};

class VREL_API ImageView : public MControlFont
{
public:
    ImageView(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~ImageView() override;

    // ---- overrides ------------------------------------------------------------------
    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlTimer() override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;
    int OnControlRButtonDown(UINT flags, CPoint pt) override;
    int OnControlRButtonUp(UINT flags, CPoint pt) override;

    // ---- viewer ---------------------------------------------------------------------
    int AddString(CString file, int displayTime, int value);
    int GetItemCount() const;
    // Empty for an index out of range.
    CString GetItemImageFile(int index);
    int DeleteAllItems();
    void SetImagePreviewMode(bool preview);
    bool IsImagePreviewMode() const { return m_bPreview; }
    int GetPreviewIndex() const { return m_previewIndex; }

    // ---- editor ---------------------------------------------------------------------
    // Starts editing a file; returns the working-copy path.
    CString SetImage(CString file);
    CString GetEditImageFile() const { return m_workingFile; }
    CString GetSourceImageFile() const { return m_sourceFile; }
    // Writes the edited image with its edits into the working copy; code 32
    // when the file was written. Nothing is written without an image.
    void SaveCurrentImage();
    // Shrinks an image file in place to the size it would be shown at; no
    // report. 1 when the file was rewritten.
    int SaveCurrentImage(CString file);
    // Copies the working copy over the source file. 1 on success.
    int SaveImageData();
    // Drops every edit and writes the unedited image into the working copy;
    // the source file is not touched.
    void RecoverOriginalImage();
    void ClearCurEdit();
    void RecoverCurEdit();
    void AddText(CString text);
    void AddImage(CString file);
    void SetDrawMode(int mode) { m_drawMode = mode; }
    int GetDrawMode() const { return m_drawMode; }
    void SetEraserMode() { m_drawMode = IMAGE_MODE_ERASER; }
    void SetPenSize(int size) { m_penSize = size; }
    void SetFontSize(int size);
    void SetColorValue(COLORREF colour);
    void SetShowGridLine(int show);
    void SetScale100(float scale);
    int GetEditCount();
    int GetSelectedEdit() const { return m_selected; }
    // A copy of one record; false for an index out of range.
    bool GetEditRecord(int index, ImageEditRecord& record);
    CRect GetDisplayRect() const { return m_displayRect; }
    CSize GetEditImageSize() const { return CSize(m_imageWidth, m_imageHeight); }

    // The folder of the working copies: <local app data>\<device> Files\edit\.
    static CString GetEditFolder();

protected:
    // The image w x h fitted into box without enlarging, centred; empty when
    // either has no area.
    CRect GetImageRect(int width, int height, CRect box) const;
    // A top-down 32-bit DIB section; null when it cannot be made.
    HBITMAP CreateARGB32Bitmap(HDC dc, int width, int height, BYTE** bits);
    void DrawLayer(Gdiplus::Graphics& graphics, CRect origin, int onScreen);
    void DrawLayer2(Gdiplus::Graphics& graphics, CRect target, int flag);

private:
    Gdiplus::FontFamily* TextFamily();
    void FreeEdits();
    void Repaint();
    // Renders w x h of the image and its edits as RGBA rows; false when the
    // bitmap cannot be made.
    bool RenderEdited(std::vector<BYTE>& rgba);
    void AppendRecord(std::unique_ptr<ImageEditRecord> record);

    // ---- viewer state ----
    std::vector<std::unique_ptr<ImageViewItem>> m_items;
    mutable CriticalSection m_listLock;
    bool m_bPreview;
    int m_previewIndex;
    int m_previewCount;
    DWORD m_lastChange;

    // ---- editor state ----
    std::unique_ptr<Gdiplus::Image> m_pEditImage;
    int m_imageWidth;
    int m_imageHeight;
    CString m_sourceFile;
    CString m_workingFile;
    CRect m_displayRect;
    int m_drawMode;
    int m_penSize;
    COLORREF m_colour;
    int m_bGrid;
    int m_bDirty;
    CPoint m_lastPoint;
    int m_selected;
    std::vector<std::unique_ptr<ImageEditRecord>> m_edits;
    CriticalSection m_editLock;
    // The font family of the text records when the manager has none.
    std::unique_ptr<Gdiplus::FontFamily> m_pFallbackFamily;
};

} // namespace VREL

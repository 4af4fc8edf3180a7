#pragma once

// Controls that show images:
// - MPicture: a still image drawn in one of six show modes;
// - CPhotoFrame: a picture laid over a frame image; it reacts to hover and
//   press and reports NC_PRESSED and NC_CLICKED;
// - CSliderPicture: a picture that slides into view on timer ticks and hides
//   itself once it has arrived;
// - CGifPicture: an animated image (a GIF from the window's image cache)
//   that shows its next frame on every fifth tick, optionally while the
//   mouse is over it.
// The first three own their images; the animated picture's image belongs to
// the window's image cache.

#include <windows.h>
#include <gdiplus.h>

#include <future>
#include <memory>

#include "ui/framework/KeptCells.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class LookAhead;

// How a picture fills its control.
enum enumShowMode
{
    SHOW_MODE_NORMAL = 0,     // the first frame at its own size, placed by the alignment
    SHOW_MODE_TILE = 1,       // the first frame tiled from the top-left corner
    SHOW_MODE_STRETCH = 2,    // the first frame stretched over the control
    SHOW_MODE_FRAME = 3,      // nine-grid with one corner size
    SHOW_MODE_FRAME_MID = 4,  // nine-grid with four margins
    SHOW_MODE_CUSTOM = 5,     // a custom source rectangle stretched (MPicture only)
};

// Direction in which a sliding picture comes into view.
enum SLIDER_MODE
{
    SLIDER_LEFT_TO_RIGHT = 1,
    SLIDER_TOP_TO_BOTTOM = 2,
    SLIDER_RIGHT_TO_LEFT = 3,
};

// Show mode with its parameters: the corner size of mode 3 and the margins
// of mode 4.
struct PictureFill
{
    enumShowMode mode = SHOW_MODE_NORMAL;
    int corner = 4;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// An image and the size of one of its frames; no image when it did not load.
struct FramedImage
{
    Gdiplus::Image* image = nullptr;
    CSize frame;
};

class VREL_API MPicture : public MControlFont
{
public:
    MPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~MPicture() override;

    // Replace the picture (a skin file, or a resource of the application
    // module); 1 when the new image loaded, else 0 and no picture.
    int SetImage(UINT id, CString type, int count) override;
    int SetImage(const wchar_t* file, int count) override;
    // 0 when nothing changes (same mode, and for mode 3 the same corner
    // size); otherwise stores the size as corner size and the mode, 1.
    int SetShowMode(enumShowMode mode, int size);
    // Stores the nine-grid margins and selects mode 4; returns 1.
    int SetShowModeMID(int left, int top, int right, int bottom);
    // Source rectangle of mode 5; no repaint.
    void SetCustomRect(CRect rect) { m_customRect = rect; }
    enumShowMode GetShowMode() const { return m_fill.mode; }
    int GetCornerSize() const { return m_fill.corner; }
    // Starts rendering the picture's look, as its place and show mode are
    // now, on a thread of its own, so that the first paint only copies it:
    // for a large stretched picture that a window's first paint shows. 1
    // when it started; 0 without an image, a place or a window whose paint
    // is known ahead.
    int RenderAhead();

    // What RenderAhead starts, started before the window exists: for a
    // picture at rect that loads file (a skin file, count frames) in show
    // mode (mode, size), over base. The file is decoded and the look
    // rendered on threads of their own while the window is made. The first
    // picture that loads the same file takes the image, and its RenderAhead
    // takes the look when it would start the same one. DropPreparedLooks
    // deletes what no picture took.
    static void PrepareLook(const wchar_t* file, int count, const CRect& rect, enumShowMode mode, int size,
                            const WindowBase& base);
    static void DropPreparedLooks();

    void DrawControl(HDC& dc, CRect paint) override;

private:
    // What the look depends on besides the image: size, show mode, alignment.
    LookInputs CurrentLookInputs() const;
    // Starts look rendering this picture's look, as it is placed and set up
    // now, over base, from the image the future gives.
    void StartLook(LookAhead& look, const std::shared_future<FramedImage>& image, const WindowBase& base);

    CRect m_customRect;
    PictureFill m_fill;
    std::unique_ptr<LookAhead> m_lookAhead;
    LookInputs m_lookAheadInputs;
    // Where the look-ahead renders, and over what.
    CRect m_lookAheadRect;
    WindowBase m_lookAheadBase;
};

class VREL_API CPhotoFrame : public MControlFont
{
public:
    CPhotoFrame(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CPhotoFrame() override;

    // Replace the picture; no repaint.
    int SetImage(UINT id, CString type, int count) override;
    int SetImage(const wchar_t* file, int count) override;
    // Replace the frame image drawn under the picture; no repaint.
    int SetPhotoFrame(const wchar_t* file, int count);
    int SetPhotoFrame(UINT id, CString type, int count);
    // As MPicture's, applied to the frame image (modes 0-4).
    int SetShowMode(enumShowMode mode, int size);
    int SetShowModeMID(int left, int top, int right, int bottom);
    // 0 normal, 1 hover, 2 pressed.
    int GetState() const { return m_state; }

    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

private:
    int ChangeState(int state);

    Gdiplus::Image* m_pFrameImage;
    int m_frameImageWidth;
    int m_frameImageHeight;
    int m_state;
    PictureFill m_fill;
};

class VREL_API CSliderPicture : public MControlFont
{
public:
    CSliderPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CSliderPicture() override;

    // Replace the picture; no repaint.
    int SetImage(UINT id, CString type, int count) override;
    int SetImage(const wchar_t* file, int count) override;
    int SetShowMode(enumShowMode mode, int size);
    int SetShowModeMID(int left, int top, int right, int bottom);
    // Starts (run 1) or stops the slide in the given direction; the
    // positions start over. Ignored while disabled. Returns the running flag.
    int SetRun(int run, SLIDER_MODE direction);
    int IsRunning() const { return m_bRunning; }
    // The moving edge: relative to the left edge for direction 1, a client
    // coordinate for directions 2 and 3.
    int GetPosition() const { return m_position; }

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlTimer() override;

private:
    PictureFill m_fill;
    SLIDER_MODE m_direction;
    int m_tickCount;
    int m_ticksPerStep;
    int m_position;
    int m_endPosition;
};

class VREL_API CGifPicture : public MControlFont
{
public:
    CGifPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CGifPicture() override;

    using MControlFont::SetImage;
    // The image comes from the window's image cache (always as a strip of 4,
    // whatever count says); 1 when it was set, 0 without a paint manager or
    // when the file does not load.
    int SetImage(const wchar_t* file, int count) override;
    // Starts or stops the animation at the given frame; 0 for an image with
    // one frame or none.
    int SetRunState(int run, int frame);
    // Whether hovering starts and leaving stops the animation.
    void SetMouseMoveActive(bool active) { m_bMouseTracking = active; }
    int GetFrameCount() const { return m_frameCount; }
    int GetFrameIndex() const { return m_frameIndex; }
    int IsRunning() const { return m_bRunning; }

    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlTimer() override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;

protected:
    // Counts the frames along the image's first frame dimension; an image
    // without frame dimensions leaves the control empty.
    void OnSetImage(Gdiplus::Image* image);
    void ActiveNextFrame();
    void SelectActiveFrame(int frame);
    int IsAnimate() const;

private:
    int m_frameCount;
    int m_stepCount;
    GUID m_frameDimension;
    int m_frameIndex;
    bool m_bMouseTracking;
    int m_tickCount;
};

} // namespace VREL

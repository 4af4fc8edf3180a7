#include "ui/controls/PushButtons.h"

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterDownloadButton(
    MakeControlClass<DownloadButton, ControlForm::TitleVisibleOne>(L"DownloadButton"));

constexpr int kPushCells = 4;
constexpr int kPercent = 100;
constexpr int kBarFrame = 1;

} // namespace

DownloadButton::DownloadButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MButton(owner, id, rect, title, visible, enabled), m_downloadProgress(0)
{
    m_cursorOnMove = false;
    m_cursorOnDown = false;
}

void DownloadButton::SetDownloadProcess(int percent)
{
    if (percent == m_downloadProgress)
        return;
    m_downloadProgress = percent;
    UpdateControl(1, 0);
}

void DownloadButton::DrawControl(HDC& dc, CRect)
{
    CellFont font(*this);
    if (m_downloadProgress <= 0)
    {
        DrawStateCells(
            *this, dc, m_hMemDC, kPushCells, m_state,
            [&](const StateCell& cell) {
                DrawSkinCell(cell, cell.index);
                if (!m_title.IsEmpty())
                    DrawCellTitle(cell, m_title, font.Get(cell), m_textHint, m_textColor);
            },
            [&](int index) { return CellTitleLook(index, !m_title.IsEmpty(), m_textColor, m_pImage != nullptr); });
        return;
    }

    // While a download runs the button is one progress bar whatever its state.
    DrawStateCells(*this, dc, m_hMemDC, 1, 0, [&](const StateCell& cell) {
        if (m_pImage)
        {
            MRender::DrawImageFrame(cell.graphics, m_pImage, CRect(0, 0, cell.width, cell.height), 0, 0,
                                    m_frameWidth, m_frameHeight, m_frameSize);
            MRender::DrawImageFrame(cell.graphics, m_pImage,
                                    CRect(0, 0, m_downloadProgress * cell.width / kPercent, cell.height),
                                    m_frameWidth * kBarFrame, 0, m_frameWidth, m_frameHeight, m_frameSize);
        }
        CString text;
        text.Format(L"%d%%", m_downloadProgress);
        const auto format =
            MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        cell.graphics.SetTextRenderingHint(m_textHint);
        DrawText(cell.graphics, text, font.Get(cell),
                 cell.Box(0, 0, static_cast<float>(cell.width), static_cast<float>(cell.height)), *format,
                 m_textColor);
    });
}

} // namespace VREL

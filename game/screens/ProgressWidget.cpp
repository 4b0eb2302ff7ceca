#include "game/screens/ProgressWidget.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "framework/widgets/WidgetManager.h"
#include "game/ui/UiServices.h"

namespace Quoll
{

void ProgressWidget::Attach(WidgetLink* link)
{
    Resize(0, 0, Ui().GetAppWidth(), Ui().GetAppHeight());
    QuollWidget::Attach(link);
}

void ProgressWidget::SetProgress(float fraction)
{
    mProgress = fraction;
    MarkDirty();
    if (GetWidgetManager() != nullptr)
        GetWidgetManager()->MarkAllDirty();
}

void ProgressWidget::Draw(Quoll::Graphics* g)
{
    UiServices& ui = Ui();
    g->SetDrawMode(Quoll::DrawMode::Normal);
    if (blackBackground)
    {
        g->SetImageTint(true);
        g->SetColor(Quoll::Color(0, 0, 0, 255));
        g->FillRect(0, 0, ui.GetAppWidth(), ui.GetAppHeight());
    }
    if (background != nullptr)
    {
        g->SetImageTint(false);
        g->DrawImage(background, 0, 0);
    }
    Quoll::Image* frame = ui.GetImageNamed("IMAGE_PROGRESS_FOREGROUND");
    Quoll::Image* fillImage = ui.GetImageNamed("IMAGE_PROGRESS_FILL");
    Quoll::Image* fillEnd = ui.GetImageNamed("IMAGE_PROGRESS_FILL_END");
    const int x = (mWidth - (frame != nullptr ? frame->mWidth : 0)) / 2;
    const int y = mHeight - kBarOffsetFromBottom;
    g->SetImageTint(false);

    const int fill = fillImage != nullptr ? static_cast<int>(static_cast<float>(fillImage->mWidth) * mProgress) : 0;
    if (fill > 0)
    {
        g->DrawImage(fillImage, x + kFillLeft, y + kFillTop, Quoll::Rect(0, 0, fill, fillImage->mHeight));
        // The end cap's left edge lies two pixels inside the end of the filling.
        if (fillEnd != nullptr)
            g->DrawImage(fillEnd, x + fill, y + kFillTop);
    }
    if (frame != nullptr)
        g->DrawImage(frame, x, y);
}
} // namespace Quoll

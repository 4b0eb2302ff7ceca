#include "framework/widgets/WidgetToolkit.h"

#include "framework/app/QuollAppBase.h"
#include "framework/widgets/DemoDialogs.h"
#include "framework/widgets/Dialog.h"
#include "framework/widgets/WidgetManager.h"

#include <memory>

namespace Quoll
{
WidgetManager* InstallWidgetToolkit(QuollAppBase& app, const Font* dialogFont)
{
    auto manager = std::make_unique<WidgetManager>(&app);
    WidgetManager* installed = manager.get();
    app.SetWidgetManager(std::move(manager));
    app.SetDialogFactory([&app, dialogFont](int id, bool isModal, const std::wstring& header, const std::wstring& lines,
                                            const std::wstring& footer, int buttonMode) -> AppDialog* {
        auto* dialog = new Dialog(id, isModal, header, lines, footer, buttonMode);
        dialog->mDialogListener = &app;
        dialog->SetHeaderFont(dialogFont);
        dialog->SetLinesFont(dialogFont);
        dialog->SetButtonFont(dialogFont);
        if (buttonMode == Dialog::kButtonsOkCancel)
        {
            dialog->SetButtonLabel(Dialog::kIdYes, app.GetString("DIALOG_BUTTON_OK", L"OK"));
            dialog->SetButtonLabel(Dialog::kIdNo, app.GetString("DIALOG_BUTTON_CANCEL", L"CANCEL"));
        }
        return dialog;
    });
    app.SetDemoDialogs(std::make_unique<DemoDialogs>(app, dialogFont));
    return installed;
}
} // namespace Quoll

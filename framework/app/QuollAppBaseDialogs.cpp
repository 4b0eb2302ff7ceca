// The framework's dialogs by id: one dialog per id, kept in the order they were added; a
// dialog added without a size is centred horizontally, a fifth down the application.
#include "framework/app/QuollAppBase.h"

#include <algorithm>

namespace Quoll
{
AppDialog* QuollAppBase::NewDialog(int id, bool isModal, const std::wstring& header, const std::wstring& lines,
                                   const std::wstring& footer, int buttonMode)
{
    if (!mDialogFactory)
        return nullptr;
    return mDialogFactory(id, isModal, header, lines, footer, buttonMode);
}

void QuollAppBase::SetWidgetManager(std::unique_ptr<AppWidgetManager> manager)
{
    if (manager)
        mWidgetManager = std::move(manager);
}

AppDialog* QuollAppBase::DoDialog(int id, bool isModal, const std::wstring& header, const std::wstring& lines,
                                  const std::wstring& footer, int buttonMode)
{
    KillDialog(id);
    AppDialog* dialog = NewDialog(id, isModal, header, lines, footer, buttonMode);
    if (dialog != nullptr)
        AddDialog(id, dialog);
    return dialog;
}

AppDialog* QuollAppBase::GetDialog(int id)
{
    auto found = mDialogMap.find(id);
    return found != mDialogMap.end() ? found->second : nullptr;
}

void QuollAppBase::AddDialogObject(AppDialog* dialog)
{
    if (dialog != nullptr)
        AddDialog(dialog->GetDialogId(), dialog);
}

void QuollAppBase::AddDialog(int id, AppDialog* dialog)
{
    if (dialog == nullptr)
        return;
    // 1. An older dialog with the id goes.
    KillDialog(id);
    // 2. No size yet: half the application's width, centred, a fifth down.
    if (dialog->GetWidth() == 0)
    {
        const int width = mWidth / 2;
        const int height = dialog->GetPreferredHeight(width);
        dialog->Resize((mWidth - width) / 2, mHeight / 5, width, height);
    }
    // Registered by id and in order, and shown as a widget.
    mDialogMap[id] = dialog;
    mDialogList.push_back(dialog);
    mWidgetManager->AddWidget(dialog->GetWidget());
    if (dialog->IsModal())
    {
        mWidgetManager->AddBaseModal(dialog->GetWidget());
        ModalOpen();
    }
}

bool QuollAppBase::KillDialogObject(AppDialog* dialog)
{
    return dialog != nullptr && KillDialog(dialog->GetDialogId());
}

bool QuollAppBase::KillDialog(int id)
{
    return KillDialogWithOptions(id, true, true);
}

// The dialog is deleted only once the main loop is back at the depth it was killed at.
bool QuollAppBase::KillDialogWithOptions(int id, bool removeWidget, bool deleteWidget)
{
    auto found = mDialogMap.find(id);
    if (found == mDialogMap.end())
        return false;
    AppDialog* dialog = found->second;
    if (dialog->GetResult() == -1)
        dialog->SetResult(0);
    mDialogList.remove(dialog);
    mDialogMap.erase(found);
    if (removeWidget || deleteWidget)
        mWidgetManager->RemoveWidget(dialog->GetWidget());
    if (dialog->IsModal())
    {
        ModalClose();
        mWidgetManager->RemoveBaseModal(dialog->GetWidget());
    }
    if (deleteWidget)
        SafeDeleteWidget(dialog->GetWidget());
    return true;
}

int QuollAppBase::GetDialogCount()
{
    return int(mDialogList.size());
}

void QuollAppBase::DestroyDialogs()
{
    for (auto& [id, dialog] : mDialogMap)
    {
        mWidgetManager->RemoveWidget(dialog->GetWidget());
        mWidgetManager->DestroyWidget(dialog->GetWidget());
    }
    mDialogMap.clear();
    mDialogList.clear();
}
} // namespace Quoll

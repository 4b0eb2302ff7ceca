#include "game/app/GameUiServices.h"

#include "framework/widgets/WidgetManager.h"
#include "game/app/GameApp.h"

uint32_t GameUiServices::RandomWord()
{
    return mApp.RandomWord();
}

void GameUiServices::LogError(const std::string& line)
{
    mApp.LogError(line);
}

void GameUiServices::LogWarning(const std::string& line)
{
    mApp.LogWarning(line);
}

Quoll::Image* GameUiServices::GetImageById(int id)
{
    return mApp.GetImageById(id);
}

int GameUiServices::GetResourceIdByName(const std::string& name)
{
    return mApp.GetResourceIdByName(name);
}

int GameUiServices::GetImageResourceId(const Quoll::Image* image)
{
    return mApp.GetImageResourceId(image);
}

bool GameUiServices::FileExists(const std::string& path)
{
    return mApp.FileExists(path);
}

FrameAnimation* GameUiServices::GetFrameAnimation(const Quoll::Image* image)
{
    return mApp.GetFrameAnimation(image);
}

std::unique_ptr<Quoll::Image> GameUiServices::LoadImageFile(const std::string& path)
{
    return mApp.LoadImageFile(path);
}

bool GameUiServices::ReadFileToBuffer(const std::string& path, Quoll::Buffer& buffer)
{
    return mApp.ReadFileToBuffer(path, buffer);
}

bool GameUiServices::IsDisplay3D() const
{
    return mApp.IsDisplay3D();
}

int GameUiServices::GetAppWidth() const
{
    return mApp.GetAppWidth();
}

int GameUiServices::GetAppHeight() const
{
    return mApp.GetAppHeight();
}

Quoll::Rect GameUiServices::GetScreenRect() const
{
    return mApp.GetScreenRect();
}

float GameUiServices::GetFrameTime() const
{
    return mApp.GetFrameTime();
}

uint32_t GameUiServices::GetUpdateClockMs() const
{
    return mApp.GetUpdateClockMs();
}

std::wstring GameUiServices::GetText(const std::string& key)
{
    return mApp.GetLocalisation().GetText(key);
}

void GameUiServices::PlaySound(int soundId, float volume, float pan)
{
    mApp.PlaySound(soundId, volume, pan);
}

bool GameUiServices::LoadResourceGroup(const std::string& group)
{
    return mApp.LoadResourceGroup(group);
}

void GameUiServices::UnloadResourceGroup(const std::string& group)
{
    mApp.UnloadResourceGroup(group);
}

Quoll::Font* GameUiServices::GetFontNamed(const std::string& name)
{
    return mApp.GetBindings().GetFont(mApp.GetResourceIdByName(name));
}

void GameUiServices::SetCursor(int cursor)
{
    mApp.SetCursor(cursor);
}

void GameUiServices::AddWidget(Quoll::Widget* widget)
{
    if (mApp.GetWidgetManager() != nullptr)
        mApp.GetWidgetManager()->AddWidget(widget);
}

void GameUiServices::RemoveWidget(Quoll::Widget* widget)
{
    if (mApp.GetWidgetManager() != nullptr)
        mApp.GetWidgetManager()->RemoveWidget(widget);
}

void GameUiServices::SetFocus(Quoll::Widget* widget)
{
    if (auto* manager = dynamic_cast<Quoll::WidgetManager*>(mApp.GetWidgetManager()))
        manager->SetFocus(widget);
}

void GameUiServices::DeleteWidgetLater(Quoll::Widget* widget)
{
    mApp.SafeDeleteWidget(widget);
}

Quoll::AppDialog* GameUiServices::GetDialog(int id)
{
    return mApp.GetDialog(id);
}

void GameUiServices::AddDialogObject(Quoll::AppDialog* dialog)
{
    mApp.AddDialogObject(dialog);
}

void GameUiServices::KillDialog(int id, bool deleteWidget)
{
    mApp.KillDialogWithOptions(id, true, deleteWidget);
}

#include "UiTestDoubles.h"

#include "framework/app/AppDialog.h"
#include "framework/widgets/Widget.h"

#include <filesystem>

namespace UiTest
{
void BlockFont::DrawString(Quoll::Graphics* g, int x, int y, const std::wstring& text, const Quoll::Color& color,
                           const Quoll::Rect&)
{
    g->PushState();
    g->SetColor(color);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != L' ')
            g->FillRect(x + kAdvance * static_cast<int>(i), y - 8, 5, 8);
    g->PopState();
}

std::unique_ptr<Quoll::MemoryImage> MakeImage(int width, int height, uint32_t argb, int columns, int rows)
{
    auto image = std::make_unique<Quoll::MemoryImage>();
    image->Create(width, height);
    std::vector<uint32_t> bits(static_cast<size_t>(width * height), argb);
    image->SetBits(bits.data(), width, height);
    image->mNumCols = columns;
    image->mNumRows = rows;
    return image;
}

FakeUiServices::FakeUiServices()
{
    screen.Create(appWidth, appHeight);
    std::vector<uint32_t> black(static_cast<size_t>(appWidth * appHeight), 0xFF000000u);
    screen.SetBits(black.data(), appWidth, appHeight);
    screen.SetImageMode(false, false);
    manager.SetScreenImage(&screen);
    SetUiServices(this);
}

FakeUiServices::~FakeUiServices()
{
    RunDeferredDeletes();
    SetUiServices(nullptr);
}

Quoll::Image* FakeUiServices::GetImageById(int id)
{
    const auto found = mImages.find(id);
    return found != mImages.end() ? found->second : nullptr;
}

int FakeUiServices::GetResourceIdByName(const std::string& name)
{
    const auto found = mIds.find(name);
    return found != mIds.end() ? found->second : 456;
}

int FakeUiServices::GetImageResourceId(const Quoll::Image* image)
{
    for (const auto& [id, bound] : mImages)
        if (bound == image)
            return id;
    return kNoImageId;
}

bool FakeUiServices::FileExists(const std::string& path)
{
    return std::filesystem::is_regular_file(path);
}

std::wstring FakeUiServices::GetText(const std::string& key)
{
    const auto found = texts.find(key);
    return found != texts.end() ? found->second : std::wstring();
}

Quoll::Font* FakeUiServices::GetFontNamed(const std::string& name)
{
    const auto found = fonts.find(name);
    return found != fonts.end() ? found->second : nullptr;
}

void FakeUiServices::PlaySound(int soundId, float, float)
{
    sounds.push_back(soundId);
}

bool FakeUiServices::LoadResourceGroup(const std::string& group)
{
    groupCalls.push_back("load " + group);
    return failingGroups.count(group) == 0;
}

void FakeUiServices::UnloadResourceGroup(const std::string& group)
{
    groupCalls.push_back("unload " + group);
}

void FakeUiServices::AddWidget(Quoll::Widget* widget)
{
    manager.AddWidget(widget);
}

void FakeUiServices::RemoveWidget(Quoll::Widget* widget)
{
    manager.RemoveWidget(widget);
}

void FakeUiServices::DeleteWidgetLater(Quoll::Widget* widget)
{
    if (widget->GetParent() != nullptr)
        widget->GetParent()->RemoveWidget(widget);
    mPendingDeletes.push_back(widget);
}

Quoll::AppDialog* FakeUiServices::GetDialog(int id)
{
    const auto found = mDialogs.find(id);
    return found != mDialogs.end() ? found->second : nullptr;
}

void FakeUiServices::AddDialogObject(Quoll::AppDialog* dialog)
{
    KillDialog(dialog->GetDialogId(), true);
    mDialogs[dialog->GetDialogId()] = dialog;
    manager.AddWidget(dialog->GetWidget());
    if (dialog->IsModal())
        manager.AddBaseModal(dialog->GetWidget());
}

void FakeUiServices::KillDialog(int id, bool deleteWidget)
{
    const auto found = mDialogs.find(id);
    if (found == mDialogs.end())
        return;
    Quoll::AppDialog* dialog = found->second;
    mDialogs.erase(found);
    manager.RemoveWidget(dialog->GetWidget());
    if (dialog->IsModal())
        manager.RemoveBaseModal(dialog->GetWidget());
    if (deleteWidget)
        DeleteWidgetLater(dialog->GetWidget());
}

int FakeUiServices::Register(const std::string& name, Quoll::Image* image)
{
    const int id = static_cast<int>(mIds.size()) + 1;
    mIds[name] = id;
    if (image != nullptr)
        mImages[id] = image;
    return id;
}

Quoll::MemoryImage* FakeUiServices::AddImage(const std::string& name, int width, int height, uint32_t argb,
                                             int columns, int rows)
{
    mOwnedImages.push_back(MakeImage(width, height, argb, columns, rows));
    mOwnedImages.back()->mFilePath = name;
    Register(name, mOwnedImages.back().get());
    return mOwnedImages.back().get();
}

void FakeUiServices::RunDeferredDeletes()
{
    std::vector<Quoll::Widget*> due;
    due.swap(mPendingDeletes);
    for (Quoll::Widget* widget : due)
    {
        deleted.push_back(widget);
        delete widget;
    }
}

void FakeUiServices::Step()
{
    std::vector<uint32_t> black(static_cast<size_t>(appWidth * appHeight), 0xFF000000u);
    screen.SetBits(black.data(), appWidth, appHeight);
    manager.UpdateFrame();
    manager.MarkAllDirty();
    manager.DrawScreen();
    RunDeferredDeletes();
}

std::vector<std::string> FakeUiServices::SoundNames() const
{
    std::vector<std::string> names;
    for (int id : sounds)
    {
        std::string name = "?";
        for (const auto& [key, bound] : mIds)
            if (bound == id)
                name = key;
        names.push_back(name);
    }
    return names;
}

int FakeUiServices::CountLog(const std::string& prefix) const
{
    int count = 0;
    for (const std::string& line : log)
        if (line.rfind(prefix, 0) == 0)
            ++count;
    return count;
}

uint32_t FakeUiServices::Pixel(int x, int y)
{
    return screen.GetBits()[y * screen.mWidth + x] & 0xFFFFFF;
}
} // namespace UiTest

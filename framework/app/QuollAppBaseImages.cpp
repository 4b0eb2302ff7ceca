// Images by file name, copies of images, images shared by everyone who asks for the same file,
// the clipboard, and the report of a resource error.
#include "framework/app/QuollAppBase.h"

#include "framework/display/DDImage.h"
#include "framework/display/DDInterface.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/files/ImageLib.h"
#include "framework/resources/ResourceManager.h"

#include <mutex>

namespace Quoll
{
namespace
{
std::string UpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}
} // namespace

// An image of the display (which can move it into a surface or a texture); a plain memory
// image before the display exists.
MemoryImage* QuollAppBase::NewDisplayImage()
{
    if (DDInterface* display = GetDDInterface())
        return new DDImage(display);
    return new MemoryImage(this);
}

MemoryImage* QuollAppBase::GetImage(const std::string& fileName, bool commitBits)
{
    std::unique_ptr<ImageLib::Image> picture = ImageLib::ReadImageFile(fileName);
    if (!picture)
        return nullptr;
    MemoryImage* image = NewDisplayImage();
    image->mFilePath = fileName;
    image->SetBits(picture->GetBits(), picture->GetWidth(), picture->GetHeight(), commitBits);
    return image;
}

MemoryImage* QuollAppBase::CopyImageRect(Image* image, const Rect& rect)
{
    MemoryImage* copy = NewDisplayImage();
    copy->Create(rect.width, rect.height);
    Graphics g(copy);
    g.DrawImage(image, -rect.x, -rect.y);
    return copy;
}

MemoryImage* QuollAppBase::CopyImage(Image* image)
{
    return CopyImageRect(image, Rect(0, 0, image->GetWidth(), image->GetHeight()));
}

// One image per upper-cased (file name, variant). The first caller loads it outside the lock;
// a caller on another thread that asks meanwhile waits for that load instead of receiving an
// empty entry. A name starting with '!' gets an empty image that its creator draws.
SharedImageRef QuollAppBase::GetSharedImage(const std::string& fileName, const std::string& variant, bool* isNew)
{
    const std::pair<std::string, std::string> key{UpperAscii(fileName), UpperAscii(variant)};
    CriticalSection& lock = mDisplay ? mDisplay->GetLock() : mCritSect;
    SharedImageRef reference;
    bool inserted = false;
    {
        std::unique_lock guard(lock);
        auto [entry, added] = mSharedImageMap.try_emplace(key);
        inserted = added;
        if (added)
            mPendingSharedImages.insert(key);
        else
            mSharedImageLoaded.wait(guard, [&] { return mPendingSharedImages.count(key) == 0; });
        reference = &entry->second; // counted before the lock goes: the clean-up keeps it
    }
    if (isNew != nullptr)
        *isNew = inserted;
    if (!inserted)
        return reference;

    Image* image = !fileName.empty() && fileName[0] == '!' ? NewDisplayImage() : GetImage(fileName);
    {
        std::lock_guard guard(lock);
        reference.mShared->mImage = image;
        mPendingSharedImages.erase(key);
    }
    mSharedImageLoaded.notify_all();
    return reference;
}

void QuollAppBase::CleanSharedImages()
{
    if (!mSharedImagesChanged)
        return;
    std::lock_guard guard(mDisplay ? mDisplay->GetLock() : mCritSect);
    mSharedImagesChanged = false;
    for (auto entry = mSharedImageMap.begin(); entry != mSharedImageMap.end();)
    {
        if (entry->second.mRefCount == 0 && mPendingSharedImages.count(entry->first) == 0)
        {
            delete entry->second.mImage;
            entry = mSharedImageMap.erase(entry);
        }
        else
        {
            ++entry;
        }
    }
}

// While a demo plays the clipboard is neither written nor read; the recorded text stands in.
void QuollAppBase::CopyToClipboard(const std::string& text)
{
    if (mPlayingDemo || !mWindowSystem)
        return;
    mWindowSystem->SetClipboardText(text);
}

std::string QuollAppBase::GetClipboardText()
{
    std::string text;
    if (!mPlayingDemo && mWindowSystem)
        text = mWindowSystem->GetClipboardText();
    return DemoSyncString(text);
}

void QuollAppBase::ShowResourceError(bool exit)
{
    PopupA(mResourceManager->GetErrorText());
    if (exit)
        DoExit(1); // a failure: the program did not run
}
} // namespace Quoll

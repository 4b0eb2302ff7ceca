#include "framework/display/SharedImageRef.h"

#include "framework/display/Image.h"
#include "framework/display/ImageRegistry.h"

namespace Quoll
{
SharedImageRef::SharedImageRef(const SharedImageRef& other) : mShared(other.mShared), mUnshared(other.mUnshared)
{
    if (mShared != nullptr)
        ++mShared->mRefCount;
}

SharedImageRef& SharedImageRef::operator=(const SharedImageRef& other)
{
    if (this == &other)
        return *this;
    // Take the new count before dropping the old one: the two may name the same record.
    SharedImage* shared = other.mShared;
    if (shared != nullptr)
        ++shared->mRefCount;
    Image* unshared = other.mUnshared;
    Release();
    mShared = shared;
    mUnshared = unshared;
    mOwnsUnshared = false; // the other handle's image is not ours to delete
    return *this;
}

SharedImageRef& SharedImageRef::operator=(SharedImage* shared)
{
    if (shared != nullptr)
        ++shared->mRefCount;
    Release();
    mShared = shared;
    return *this;
}

SharedImageRef& SharedImageRef::operator=(Image* image)
{
    // Re-assigning the held image must not delete it.
    if (image == mUnshared)
        mUnshared = nullptr;
    Release();
    mUnshared = image;
    return *this;
}

void SharedImageRef::Release()
{
    if (mOwnsUnshared)
        delete mUnshared;
    mUnshared = nullptr;
    if (mShared != nullptr && --mShared->mRefCount == 0)
        GetImageRegistry()->SharedImagesChanged();
    mShared = nullptr;
}

Image* SharedImageRef::GetImage() const
{
    if (mUnshared != nullptr)
        return mUnshared;
    return GetSharedRecordImage();
}

Image* SharedImageRef::GetSharedRecordImage() const
{
    return mShared != nullptr ? mShared->mImage : nullptr;
}
} // namespace Quoll

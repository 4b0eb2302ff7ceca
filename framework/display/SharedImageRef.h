#pragma once
// Shared images: the application keeps one SharedImage record per (file name, variant) with a
// user count; SharedImageRef is the counted handle that resources, fonts and the game hold.
// Releasing the last handle only marks the application's shared images for clean-up; the
// application deletes unused images later, under the display's lock. Counts are atomic
// because the loading thread takes and drops handles too.
#include <atomic>

namespace Quoll
{
class Image;

struct SharedImage
{
    SharedImage() = default;
    SharedImage(const SharedImage& other) : mImage(other.mImage), mRefCount(other.mRefCount.load()) {}
    SharedImage& operator=(const SharedImage& other)
    {
        mImage = other.mImage;
        mRefCount = other.mRefCount.load();
        return *this;
    }

    Image* mImage = nullptr; // owned by the application
    std::atomic<int> mRefCount{0};
};

class SharedImageRef
{
public:
    SharedImageRef() = default;
    // Shares the record and the unshared image; the copy never owns the unshared image.
    SharedImageRef(const SharedImageRef& other);
    ~SharedImageRef() { Release(); }

    SharedImageRef& operator=(const SharedImageRef& other);
    SharedImageRef& operator=(SharedImage* shared);
    // Holds an image outside the shared map; whether it is owned stays as it was.
    SharedImageRef& operator=(Image* image);

    void Release();
    // The unshared image when set, else the record's image, else null.
    [[nodiscard]] Image* GetImage() const;
    [[nodiscard]] Image* GetSharedRecordImage() const;
    operator Image*() const { return GetImage(); }

    SharedImage* mShared = nullptr;
    Image* mUnshared = nullptr;
    bool mOwnsUnshared = false;
};
} // namespace Quoll

#pragma once
// A display in 3D mode for tests, with an image registry that drops an image's textures when
// the image goes (as the application's registry does), installed for the test's duration.
#include "DisplayFixture.h"

#include "framework/display/D3DInterface.h"

#include <gtest/gtest.h>

#include <vector>

namespace Quoll::Testing
{
// Images registered here drop their textures when they go, as the application does.
class Registry3D : public ImageRegistry
{
public:
    Registry3D() { SetImageRegistry(this); }
    ~Registry3D() override { SetImageRegistry(nullptr); }
    void RemoveMemoryImage(MemoryImage* image) override { Remove3DData(image); }
    void Remove3DData(MemoryImage* image) override
    {
        if (mDisplay != nullptr)
            mDisplay->Remove3DData(image);
    }
    [[nodiscard]] bool Is3DAccelerated() const override { return mDisplay != nullptr && mDisplay->Is3D(); }
    bool ReadTextureBits(MemoryImage* image, uint32_t* bits) override
    {
        return mDisplay != nullptr && mDisplay->ReadTextureBits(image, bits);
    }
    DDInterface* mDisplay = nullptr;
};

struct Display3D
{
    explicit Display3D(const Platform::D3DDeviceCaps& caps = Platform::D3DDeviceCaps(),
                       std::vector<Platform::TextureFormat> formats = {},
                       const Platform::SurfaceFormat& format = Platform::SurfaceFormat::X8R8G8B8())
        : t(format)
    {
        registry.mDisplay = t.display.get();
        auto* d3d = Renderer();
        d3d->mDeviceSettings.caps = caps;
        if (!formats.empty())
            d3d->mDeviceSettings.textureFormats = std::move(formats);
        t.display->Set3D(true);
        EXPECT_EQ(t.Init(), 0);
        EXPECT_TRUE(t.Screen().Check3D());
    }
    [[nodiscard]] D3DInterface* Renderer() const { return dynamic_cast<D3DInterface*>(t.display->GetRenderer()); }
    [[nodiscard]] uint32_t Pixel(int x, int y) const { return t.display->mDrawSurface->ArgbAt(x, y); }

    ~Display3D() { t.display.reset(); }

    Registry3D registry; // outlives the display and its images
    TestDisplay t;
};
} // namespace Quoll::Testing

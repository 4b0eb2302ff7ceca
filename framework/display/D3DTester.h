#pragma once
// The display capability test: before the display draws through the 3D device, checks that the
// card has enough video memory, a usable texture format and correct alpha, additive,
// alpha-additive and alpha-modulated blending and clipping, by drawing small patterns into an
// off-screen surface and reading them back; consults the card lists "vhw.dat" (white) and
// "vhwb.dat" (black) and the driver's age. The outcome (failure reason, warning, fresh flag) is
// cached under "Test3D" until the adapter or the thresholds change, and passes through the
// demo stream so that a replay takes the recorded decision.
#include "framework/display/D3DTesterHost.h"
#include "framework/platform/video/SoftDirect3D.h"

#include <array>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace Quoll
{
// 32-bit ARGB pixels, row after row.
class D3DTestImage
{
public:
    virtual ~D3DTestImage() = default;
    void Create(int width, int height);
    void Free();
    // From column x of row 0, rows x columns pixels.
    void FillRect(int x, int rows, int columns, uint32_t color);
    // Even columns opaque black, odd columns opaque white.
    void FillStripes();
    // Over the top-left 10 x 10: whether all equal the first, and how many are further than
    // 768 (squared RGB distance) from the expected colour.
    void CheckUniform(uint32_t expected, bool& uniform, int& bad) const;
    // Draws the image in 64 x 64 tiles through the texture at (x, y) with the diffuse colour.
    void Draw(Platform::SoftDirect3DDevice& device, const std::shared_ptr<Platform::SoftTexture>& texture, int x,
              int y, uint32_t color) const;

    std::vector<uint32_t> mBits;
    int mWidth = 0, mHeight = 0;
};

class D3DTester
{
public:
    class TestException : public std::exception
    {
    public:
        explicit TestException(std::string message) : mMessage(std::move(message)) {}
        [[nodiscard]] const char* what() const noexcept override { return mMessage.c_str(); }

    private:
        std::string mMessage;
    };

    explicit D3DTester(D3DTesterHost* host);
    virtual ~D3DTester();
    D3DTester(const D3DTester&) = delete;
    D3DTester& operator=(const D3DTester&) = delete;

    void SetVidMemThresholds(int minimumMB, int recommendedMB);
    // The whole test, on the given DirectDraw object or on one made from the card.
    void RunTest(Platform::WindowId window, Platform::SoftVideoCard* card,
                 std::shared_ptr<Platform::SoftDirectDraw> directDraw = nullptr);

    [[nodiscard]] const std::string& GetFailureReason() const { return mFailureReason; }
    [[nodiscard]] const std::string& GetWarning() const { return mWarning; }
    [[nodiscard]] bool IsFreshResult() const { return mFreshResult; }

    // The device tested (tests imitate other cards by changing it).
    Platform::SoftDirect3DSettings mDeviceSettings;
    // The folder of the card lists (empty: the current folder).
    std::string mListFolder;
    bool mUseRegistry = true;
    int mDriverYear = 0;
    std::string mDriverName, mDescription;
    std::array<uint8_t, 16> mDisplayGuid{};

private:
    bool Init(Platform::WindowId window, Platform::SoftVideoCard* card,
              std::shared_ptr<Platform::SoftDirectDraw> directDraw);
    bool InitStages(Platform::WindowId window, Platform::SoftVideoCard* card,
                    std::shared_ptr<Platform::SoftDirectDraw> directDraw);
    bool DoTests();
    bool ReadCachedResult();
    void WriteResult();
    bool CheckDriverLists();
    bool MatchListFile(const std::string& path, bool& matched) const;
    int ReadDriverYear() const;
    void Cleanup();
    bool Fail(const std::string& text);
    bool Warn(const std::string& text);
    static void CheckDX(Platform::HResult result, const std::string& operation);
    void CopyPrimary();
    bool BlendTest(uint32_t srcBlend, uint32_t destBlend, uint32_t fillA, uint32_t fillB, uint32_t colorC,
                   uint32_t expected, bool modulateAlpha, const char* warning, const char* failure);
    bool ClipTest();
    void BeginTestScene(uint32_t srcBlend, uint32_t destBlend);
    bool ReadRegDword(const char* name, uint32_t& value) const;
    bool ReadRegString(const char* name, std::string& text) const;

    D3DTesterHost* mHost;
    std::shared_ptr<Platform::SoftDirectDraw> mDirectDraw;
    std::shared_ptr<Platform::SoftSurface> mRenderTarget;
    std::shared_ptr<Platform::SoftTexture> mTexture1, mTexture2;
    std::shared_ptr<Platform::SoftDirect3D> mD3D;
    std::shared_ptr<Platform::SoftDirect3DDevice> mDevice;
    D3DTestImage mCapturedImage;
    std::string mFailureReason, mWarning;
    int mMinVidMemory = 0, mRecVidMemory = 0;
    bool mWriteResult = false;
    bool mFreshResult = false;
};
} // namespace Quoll

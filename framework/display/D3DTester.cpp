#include "framework/display/D3DTester.h"

#include "framework/display/D3DInterface.h"
#include "framework/display/DXErrorName.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace Quoll
{
using namespace Platform;

namespace
{
constexpr uint32_t kResultVersion = 2;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n\v\f");
    return text.substr(first, last - first + 1);
}

// The adapter's identity as 16 bytes: vendor, device, driver version and a hash of the
// description.
std::array<uint8_t, 16> IdentityGuid(const DeviceIdentity& identity)
{
    std::array<uint8_t, 16> guid{};
    uint32_t hash = 2166136261u;
    for (unsigned char c : identity.description + identity.driver)
        hash = (hash ^ c) * 16777619u;
    const uint32_t words[4] = {identity.vendorId, identity.deviceId, identity.driverVersion, hash};
    std::memcpy(guid.data(), words, sizeof(words));
    return guid;
}

uint32_t Distance2(uint32_t a, uint32_t b)
{
    uint32_t sum = 0;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        sum += static_cast<uint32_t>(d * d);
    }
    return sum;
}

// Moves the channel so that the highest bit of its mask lands on bit top.
uint32_t WidenChannel(uint32_t pixel, uint32_t mask, int top)
{
    if (mask == 0)
        return 0;
    const uint32_t part = pixel & mask;
    const int high = 31 - std::countl_zero(mask);
    return high > top ? part >> (high - top) : part << (top - high);
}
} // namespace

// --- The test image ----------------------------------------------------------------------------

void D3DTestImage::Create(int width, int height)
{
    Free();
    if (width <= 0 || height <= 0)
        return;
    mBits.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    mWidth = width;
    mHeight = height;
}

void D3DTestImage::Free()
{
    mBits.clear();
    mWidth = mHeight = 0;
}

void D3DTestImage::FillRect(int x, int rows, int columns, uint32_t color)
{
    for (int y = 0; y < std::min(rows, mHeight); ++y)
        for (int i = std::max(x, 0); i < std::min(x + columns, mWidth); ++i)
            mBits[static_cast<size_t>(y * mWidth + i)] = color;
}

void D3DTestImage::FillStripes()
{
    for (int y = 0; y < mHeight; ++y)
        for (int x = 0; x < mWidth; ++x)
            mBits[static_cast<size_t>(y * mWidth + x)] = x % 2 == 0 ? 0xFF000000 : 0xFFFFFFFF;
}

void D3DTestImage::CheckUniform(uint32_t expected, bool& uniform, int& bad) const
{
    uniform = true;
    bad = 0;
    if (mBits.empty())
        return;
    const uint32_t first = mBits[0];
    for (int y = 0; y < std::min(10, mHeight); ++y)
        for (int x = 0; x < std::min(10, mWidth); ++x)
        {
            const uint32_t pixel = mBits[static_cast<size_t>(y * mWidth + x)];
            uniform = uniform && pixel == first;
            if (Distance2(pixel, expected) > 768)
                ++bad;
        }
}

namespace
{
void CheckDXTest(HResult result, const char* operation)
{
    if (Failed(result))
        throw D3DTester::TestException(std::string("DXError - ") + operation + ": " + DXErrorName(result));
}
} // namespace

void D3DTestImage::Draw(SoftDirect3DDevice& device, const std::shared_ptr<SoftTexture>& texture, int x, int y,
                        uint32_t color) const
{
    const bool argb = texture->Format() == TextureFormat::A8R8G8B8();
    for (int ty = 0; ty < mHeight; ty += 64)
        for (int tx = 0; tx < mWidth; tx += 64)
        {
            // Upload the tile.
            uint8_t* pixels = nullptr;
            int pitch = 0;
            CheckDXTest(texture->Lock(&pixels, &pitch), "Lock Texture");
            const int w = std::min(64, mWidth - tx), h = std::min(64, mHeight - ty);
            if (w < 64 || h < 64)
                std::memset(pixels, 0, static_cast<size_t>(pitch) * 64);
            for (int row = 0; row < h; ++row)
                for (int col = 0; col < w; ++col)
                {
                    const uint32_t c = mBits[static_cast<size_t>((ty + row) * mWidth + tx + col)];
                    uint8_t* out = pixels + static_cast<ptrdiff_t>(row) * pitch;
                    if (argb)
                        std::memcpy(out + col * 4, &c, 4);
                    else
                    {
                        const auto t = static_cast<uint16_t>(((c >> 16) & 0xF000) | ((c >> 12) & 0xF00) |
                                                             ((c >> 8) & 0xF0) | ((c >> 4) & 0xF));
                        std::memcpy(out + col * 2, &t, 2);
                    }
                }
            CheckDXTest(texture->Unlock(), "Texture Unlock");
            // Draw it.
            CheckDXTest(device.SetTexture(0, texture), "SetTexture theTexture");
            const float x0 = static_cast<float>(x + tx) - 0.5f, y0 = static_cast<float>(y + ty) - 0.5f;
            D3DVertex strip[4];
            const float xs[4] = {x0, x0 + 64, x0, x0 + 64}, ys[4] = {y0, y0, y0 + 64, y0 + 64};
            for (int i = 0; i < 4; ++i)
            {
                strip[i].x = xs[i];
                strip[i].y = ys[i];
                strip[i].diffuse = color;
                strip[i].u = (i & 1) != 0 ? 1.0f : 0.0f;
                strip[i].v = (i & 2) != 0 ? 1.0f : 0.0f;
            }
            CheckDXTest(device.DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, strip, 4, 0), "DrawPrimitive");
            CheckDXTest(device.SetTexture(0, nullptr), "SetTexture NULL");
        }
}

// --- The tester ----------------------------------------------------------------------------------

D3DTester::D3DTester(D3DTesterHost* host) : mDeviceSettings(DefaultDirect3DSettings()), mHost(host) {}

D3DTester::~D3DTester()
{
    Cleanup();
}

void D3DTester::SetVidMemThresholds(int minimumMB, int recommendedMB)
{
    mMinVidMemory = minimumMB;
    mRecVidMemory = recommendedMB;
}

bool D3DTester::Fail(const std::string& text)
{
    mFailureReason = text;
    return false;
}

bool D3DTester::Warn(const std::string& text)
{
    mWarning = text;
    return true;
}

void D3DTester::CheckDX(HResult result, const std::string& operation)
{
    CheckDXTest(result, operation.c_str());
}

void D3DTester::Cleanup()
{
    mDevice.reset();
    mD3D.reset();
    mDirectDraw.reset();
    mRenderTarget.reset();
    mTexture1.reset();
    mTexture2.reset();
}

void D3DTester::RunTest(WindowId window, SoftVideoCard* card, std::shared_ptr<SoftDirectDraw> directDraw)
{
    // Nothing is tested while a demo plays; the recorded outcome comes below.
    if (!mHost->IsPlayingDemo())
    {
        mWriteResult = false;
        if (Init(window, card, std::move(directDraw)))
            DoTests();
        else if (mUseRegistry && !mWriteResult)
        {
            uint8_t probe[4096];
            uint32_t length = sizeof(probe);
            mFreshResult = !mHost->ReadRegValue("Test3D\\FailureReason", nullptr, probe, &length);
            mWriteResult = true;
        }
        // The result is stored for the next start, and the test's device goes.
        if (mWriteResult)
            WriteResult();
        Cleanup();
    }
    // The outcome passes through the demo stream.
    mFailureReason = mHost->DemoSyncString(mFailureReason);
    mWarning = mHost->DemoSyncString(mWarning);
    mFreshResult = mHost->DemoSyncBool(mFreshResult);
}

bool D3DTester::Init(WindowId window, SoftVideoCard* card, std::shared_ptr<SoftDirectDraw> directDraw)
{
    try
    {
        return InitStages(window, card, std::move(directDraw));
    }
    catch (const TestException& e)
    {
        return Fail(e.what());
    }
}

bool D3DTester::InitStages(WindowId window, SoftVideoCard* card, std::shared_ptr<SoftDirectDraw> directDraw)
{
    // A fresh start.
    Cleanup();
    mDriverYear = 0;
    // The DirectDraw object: the given one, or a new one of the card.
    if (directDraw)
        mDirectDraw = std::move(directDraw);
    else if (card == nullptr || !card->HasCreateEx())
        return Fail("No DirectDrawCreateEx");
    else
        CheckDX(card->DirectDrawCreate(mDirectDraw), "DirectDrawCreateEx");
    // The adapter.
    DeviceIdentity identity;
    CheckDX(mDirectDraw->GetDeviceIdentifier(&identity), "GetDeviceIdentifier");
    mDriverName = identity.driver;
    mDescription = identity.description;
    mDisplayGuid = IdentityGuid(identity);
    // Video memory: the desktop plus what the card reports.
    SurfaceDesc mode;
    uint64_t desktopBytes = 0;
    if (!Failed(mDirectDraw->GetDisplayMode(&mode)))
        desktopBytes = static_cast<uint64_t>(mode.format.bitCount / 8) * static_cast<uint64_t>(mode.width) *
                       static_cast<uint64_t>(mode.height);
    uint32_t total = 0, free = 0;
    const HResult memory = mDirectDraw->GetAvailableVidMem(kCapsVideoMemory, &total, &free);
    if (Failed(memory))
        Warn("GetAvailableVidMem failed: " + DXErrorName(memory));
    else
    {
        const auto megabytes = static_cast<int64_t>((desktopBytes + total) >> 20);
        if (megabytes < mMinVidMemory)
            return Fail("Not enough video memory.");
        if (megabytes < mRecVidMemory)
            Warn("Low video memory.");
    }
    // A cached pass ends the test here.
    if (mUseRegistry)
    {
        if (ReadCachedResult())
            return false;
        mWriteResult = true;
    }
    // Driver age and card lists.
    mDriverYear = ReadDriverYear();
    if (!CheckDriverLists())
        Warn("Unsupported video card: " + mDescription);
    // The 3D interface, with the window in its normal cooperative level.
    CheckDX(QueryDirect3D(mDeviceSettings, mD3D), "QueryInterface IID_IDirect3D7");
    CheckDX(mDirectDraw->SetCooperativeLevel(window, kCoopNormal), "SetCooperativeLevel");
    // The render target.
    SurfaceDesc target;
    target.flags = kDescCaps | kDescWidth | kDescHeight;
    target.width = 100;
    target.height = 100;
    target.caps = kCapsOffscreenPlain | kCaps3DDevice;
    CheckDX(mDirectDraw->CreateSurface(target, mRenderTarget), "CreateSurface (Primary)");
    mCapturedImage.Create(100, 100);
    // The device.
    CheckDX(mD3D->CreateDevice(mRenderTarget, mDevice), "CreateDevice");
    // Texture formats.
    int formats = 0;
    for (const TextureFormat& format : mD3D->EnumTextureFormats())
        formats |= GetPixelFormatCode(format);
    const bool has8888 = (formats & kTexFormatA8R8G8B8) != 0, has4444 = (formats & kTexFormatA4R4G4B4) != 0;
    if (!has8888)
        Warn("A8R8G8B8 texture format not supported.");
    if (!has8888 && !has4444)
        return Fail("A4R4G4B4 and A8R8G8B8 texture formats not supported.");
    // Two textures.
    const TextureFormat format = has8888 ? TextureFormat::A8R8G8B8() : TextureFormat::A4R4G4B4();
    CheckDX(mD3D->CreateTexture(64, 64, format, mTexture1), "CreateSurface (TextureSurface1)");
    CheckDX(mD3D->CreateTexture(64, 64, format, mTexture2), "CreateSurface (TextureSurfacd2)");
    return true;
}

int D3DTester::ReadDriverYear() const
{
    // A bare file name is the stand-in's own driver, whose date the stand-in knows.
    if (mDriverName.find_first_of("/\\") == std::string::npos)
        return mDeviceSettings.driverYear;
    std::error_code error;
    const auto written = std::filesystem::last_write_time(mDriverName, error);
    if (error)
        return 0;
    const auto system = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
        written - std::filesystem::file_time_type::clock::now() + std::chrono::system_clock::now());
    const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(system)};
    return static_cast<int>(date.year());
}

bool D3DTester::MatchListFile(const std::string& path, bool& matched) const
{
    std::ifstream file(path);
    if (!file)
        return false;
    matched = false;
    const std::string description = Lower(mDescription);
    std::string line;
    while (std::getline(file, line))
    {
        if (line.size() > 4000)
            line.resize(4000);
        const std::string entry = Lower(Trim(line));
        if (!entry.empty() && description.find(entry) != std::string::npos)
            matched = true;
    }
    return true;
}

bool D3DTester::CheckDriverLists()
{
    const std::string folder = mListFolder.empty() ? std::string() : mListFolder + "/";
    bool matched = false;
    if (MatchListFile(folder + "vhwb.dat", matched) && matched)
        return false;
    if (MatchListFile(folder + "vhw.dat", matched))
        return matched;
    if (mDriverYear >= 2002)
        return true;
    const std::string description = Lower(mDescription);
    return description.find("nvidia") != std::string::npos || description.find("radeon") != std::string::npos ||
           description.find("ati ") != std::string::npos;
}

bool D3DTester::ReadRegDword(const char* name, uint32_t& value) const
{
    uint32_t type = 0, length = sizeof(value);
    return mHost->ReadRegValue(std::string("Test3D\\") + name, &type, reinterpret_cast<uint8_t*>(&value), &length) &&
           length == sizeof(value);
}

bool D3DTester::ReadRegString(const char* name, std::string& text) const
{
    uint8_t buffer[4096];
    uint32_t type = 0, length = sizeof(buffer);
    if (!mHost->ReadRegValue(std::string("Test3D\\") + name, &type, buffer, &length))
        return false;
    text.assign(reinterpret_cast<const char*>(buffer), strnlen(reinterpret_cast<const char*>(buffer), length));
    return true;
}

bool D3DTester::ReadCachedResult()
{
    mFreshResult = true;
    if (!mUseRegistry)
        return false;
    uint32_t version = 0, minimum = 0, recommended = 0;
    if (!ReadRegDword("Version", version) || version != kResultVersion || !ReadRegDword("MinVidMemory", minimum) ||
        minimum != static_cast<uint32_t>(mMinVidMemory) || !ReadRegDword("RecVidMemory", recommended) ||
        recommended != static_cast<uint32_t>(mRecVidMemory))
        return false;
    std::array<uint8_t, 16> guid{};
    uint32_t type = 0, length = 16;
    if (!mHost->ReadRegValue("Test3D\\DisplayGUID", &type, guid.data(), &length) || length != 16 || guid != mDisplayGuid)
        return false;
    std::string failure, warning;
    if (!ReadRegString("FailureReason", failure) || !ReadRegString("Warning", warning))
        return false;
    // A cached failure is tested again, and what the new test finds is the outcome: fresh,
    // without the old failure.
    if (!failure.empty())
        return false;
    mFailureReason = failure;
    mWarning = warning;
    mFreshResult = false;
    return true;
}

void D3DTester::WriteResult()
{
    if (!mUseRegistry)
        return;
    auto dword = [this](const char* name, uint32_t value) {
        mHost->WriteRegValue(std::string("Test3D\\") + name, kRegDword, reinterpret_cast<const uint8_t*>(&value), 4);
    };
    auto text = [this](const char* name, const std::string& value) {
        mHost->WriteRegValue(std::string("Test3D\\") + name, kRegSz, reinterpret_cast<const uint8_t*>(value.c_str()),
                             static_cast<uint32_t>(value.size() + 1));
    };
    dword("Version", kResultVersion);
    dword("MinVidMemory", static_cast<uint32_t>(mMinVidMemory));
    dword("RecVidMemory", static_cast<uint32_t>(mRecVidMemory));
    mHost->WriteRegValue("Test3D\\DisplayGUID", kRegBinary, mDisplayGuid.data(), 16);
    text("FailureReason", mFailureReason);
    text("Warning", mWarning);
}

// --- The rendering tests -----------------------------------------------------------------------------

void D3DTester::CopyPrimary()
{
    SurfaceDesc desc;
    CheckDX(mRenderTarget->Lock(nullptr, &desc, kLockWait), "CopyPrimary Lock");
    const int bits = desc.format.bitCount;
    if (bits == 24)
    {
        mRenderTarget->Unlock(nullptr);
        throw TestException("Can't test 24-bit mode.");
    }
    if (bits != 32 && bits != 16)
    {
        mRenderTarget->Unlock(nullptr);
        throw TestException("Invalid Color Depth");
    }
    const int bytes = bits / 8;
    for (int y = 0; y < mCapturedImage.mHeight; ++y)
    {
        const uint8_t* row = desc.pixels + static_cast<ptrdiff_t>(y) * desc.pitch;
        for (int x = 0; x < mCapturedImage.mWidth; ++x)
        {
            uint32_t pixel = 0;
            std::memcpy(&pixel, row + static_cast<ptrdiff_t>(x) * bytes, static_cast<size_t>(bytes));
            mCapturedImage.mBits[static_cast<size_t>(y * mCapturedImage.mWidth + x)] =
                0xFF000000 | WidenChannel(pixel, desc.format.redMask, 23) |
                WidenChannel(pixel, desc.format.greenMask, 15) | WidenChannel(pixel, desc.format.blueMask, 7);
        }
    }
    mRenderTarget->Unlock(nullptr);
}

bool D3DTester::DoTests()
{
    return BlendTest(kBlendSrcAlpha, kBlendInvSrcAlpha, 0xFF0000FF, 0x80FF0000, 0xFFFFFFFF, 0x7F007F, false,
                     "Alpha blend test not uniform.", "Alpha blend Not Supported") &&
           BlendTest(kBlendOne, kBlendOne, 0xFF404040, 0xFF404040, 0xFFFFFFFF, 0x808080, false,
                     "Additive blend test not uniform.", "Additive blend not supported.") &&
           BlendTest(kBlendSrcAlpha, kBlendOne, 0xFF404040, 0x80808080, 0xFFFFFFFF, 0x808080, false,
                     "AlphaAdd blend test not uniform.", "AlphaAdd blend not supported.") &&
           BlendTest(kBlendSrcAlpha, kBlendInvSrcAlpha, 0xFF0000FF, 0xFFFF0000, 0x80FFFFFF, 0x7F007F, true,
                     "AlphaModulated blend test not uniform.", "AlphaModulated blend not supported.") &&
           ClipTest();
}

namespace
{
const char* BlendName(uint32_t blend)
{
    switch (blend)
    {
    case kBlendOne:
        return "D3DBLEND_ONE";
    case kBlendSrcAlpha:
        return "D3DBLEND_SRCALPHA";
    case kBlendInvSrcAlpha:
        return "D3DBLEND_INVSRCALPHA";
    default:
        return "D3DBLEND_ZERO";
    }
}
} // namespace

void D3DTester::BeginTestScene(uint32_t srcBlend, uint32_t destBlend)
{
    CheckDX(mDevice->BeginScene(), "");
    CheckDX(mDevice->Clear(kClearTarget, 0xFF000000, 1.0f, 0), "Clear");
    CheckDX(mDevice->SetRenderState(RenderState::AlphaBlendEnable, 1), "D3DRENDERSTATE_ALPHABLENDENABLE, TRUE");
    CheckDX(mDevice->SetRenderState(RenderState::SrcBlend, srcBlend),
            std::string("D3DRENDERSTATE_SRCBLEND, ") + BlendName(srcBlend));
    CheckDX(mDevice->SetRenderState(RenderState::DestBlend, destBlend),
            std::string("D3DRENDERSTATE_DESTBLEND, ") + BlendName(destBlend));
    CheckDX(mDevice->SetRenderState(RenderState::CullMode, kCullNone), "D3DRENDERSTATE_CULLMODE, D3DCULL_NONE");
}

bool D3DTester::BlendTest(uint32_t srcBlend, uint32_t destBlend, uint32_t fillA, uint32_t fillB, uint32_t colorC,
                          uint32_t expected, bool modulateAlpha, const char* warning, const char* failure)
{
    try
    {
        // Two layers drawn over black and read back.
        BeginTestScene(srcBlend, destBlend);
        if (modulateAlpha)
            CheckDX(mDevice->SetTextureStageState(0, TextureStageState::AlphaOp, kTopModulate),
                    "D3DTSS_ALPHAOP, D3DTOP_MODULATE");
        D3DTestImage image;
        image.Create(64, 64);
        image.FillRect(0, 64, 64, fillA);
        image.Draw(*mDevice, mTexture1, 0, 0, 0xFFFFFFFF);
        image.FillRect(0, 64, 64, fillB);
        image.Draw(*mDevice, mTexture2, 0, 0, colorC);
        CheckDX(mDevice->EndScene(), "EndScene");
        CopyPrimary();
    }
    catch (const TestException& e)
    {
        if (mDevice->InScene())
            mDevice->EndScene();
        return Fail(e.what());
    }
    // The top-left corner against the expected colour.
    bool uniform = false;
    int bad = 0;
    mCapturedImage.CheckUniform(expected, uniform, bad);
    if (bad > 0)
        return Fail(failure);
    if (!uniform)
        Warn(warning);
    return true;
}

bool D3DTester::ClipTest()
{
    try
    {
        BeginTestScene(kBlendSrcAlpha, kBlendInvSrcAlpha);
        D3DTestImage image;
        image.Create(64, 64);
        image.FillStripes();
        image.Draw(*mDevice, mTexture1, -2, -2, 0xFFFFFFFF);
        CheckDX(mDevice->EndScene(), "EndScene");
        CopyPrimary();
    }
    catch (const TestException& e)
    {
        if (mDevice->InScene())
            mDevice->EndScene();
        return Fail(e.what());
    }
    for (int y = 0; y < 62; ++y)
        for (int x = 0; x < 62; ++x)
        {
            const uint32_t expected = x % 2 == 0 ? 0x000000 : 0xFFFFFF;
            if (Distance2(mCapturedImage.mBits[static_cast<size_t>(y * mCapturedImage.mWidth + x)], expected) > 768)
            {
                Warn("Clip problem detected.");
                return true;
            }
        }
    return true;
}
} // namespace Quoll

#pragma once
// What the 3D renderer and the display test need of the application: the registry values under
// "Test3D" (names like "Test3D\\Version"), the demo stream that records or replays the test's
// outcome, and the application's 3D-suspended flag. The application object implements it and
// hands it to the display (DDInterface::Set3DHost). This base keeps the values in memory, never
// plays a demo and passes values through, so a display without an application still works.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Quoll
{
enum : uint32_t
{
    kRegSz = 1,
    kRegBinary = 3,
    kRegDword = 4,
};

class D3DTesterHost
{
public:
    virtual ~D3DTesterHost() = default;

    // length: in the buffer's size, out the value's size. False when missing or too long.
    virtual bool ReadRegValue(const std::string& name, uint32_t* type, uint8_t* data, uint32_t* length)
    {
        const auto found = mValues.find(name);
        if (found == mValues.end() || length == nullptr || found->second.second.size() > *length)
            return false;
        if (type != nullptr)
            *type = found->second.first;
        std::copy(found->second.second.begin(), found->second.second.end(), data);
        *length = static_cast<uint32_t>(found->second.second.size());
        return true;
    }
    virtual bool WriteRegValue(const std::string& name, uint32_t type, const uint8_t* data, uint32_t length)
    {
        if (!mRegistryWritable)
            return false;
        mValues[name] = {type, std::vector<uint8_t>(data, data + length)};
        return true;
    }
    [[nodiscard]] virtual bool IsPlayingDemo() const { return false; }
    virtual std::string DemoSyncString(const std::string& text) { return text; }
    virtual bool DemoSyncBool(bool value) { return value; }
    [[nodiscard]] virtual bool Is3DSuspended() const { return false; }

    std::map<std::string, std::pair<uint32_t, std::vector<uint8_t>>> mValues;
    bool mRegistryWritable = true;
};
} // namespace Quoll

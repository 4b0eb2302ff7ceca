// The application's part of a crash report and its form on the pipe to the reporter: a magic
// word, then strings as a 32-bit length and bytes.
#include "framework/crash/CrashReportSource.h"

#include <atomic>
#include <cstdint>
#include <cstring>

namespace Quoll
{
namespace
{
constexpr uint32_t kMagic = 0x51434132; // "QCA2"

void PutWord(std::string& out, uint32_t value) { out.append(reinterpret_cast<const char*>(&value), sizeof(value)); }
void PutString(std::string& out, const std::string& text)
{
    PutWord(out, static_cast<uint32_t>(text.size()));
    out += text;
}

class Reader
{
public:
    explicit Reader(const std::string& bytes) : mBytes(bytes) {}
    bool Word(uint32_t& value)
    {
        if (mBytes.size() - mPos < sizeof(value))
            return false;
        std::memcpy(&value, mBytes.data() + mPos, sizeof(value));
        mPos += sizeof(value);
        return true;
    }
    bool String(std::string& text)
    {
        uint32_t length = 0;
        if (!Word(length) || mBytes.size() - mPos < length)
            return false;
        text.assign(mBytes, mPos, length);
        mPos += length;
        return true;
    }
    bool AtEnd() const { return mPos == mBytes.size(); }

private:
    const std::string& mBytes;
    size_t mPos = 0;
};
} // namespace

std::string CrashAppInfo::Serialize() const
{
    std::string out;
    PutWord(out, kMagic);
    for (const std::string* text : {&product, &version, &crashInfo, &attachmentPath, &dataFolder})
        PutString(out, *text);
    PutWord(out, attach ? 1 : 0);
    PutWord(out, static_cast<uint32_t>(fields.size()));
    for (const auto& [name, value] : fields)
    {
        PutString(out, name);
        PutString(out, value);
    }
    return out;
}

bool CrashAppInfo::Deserialize(const std::string& bytes)
{
    Reader in(bytes);
    uint32_t magic = 0, attachWord = 0, count = 0;
    if (!in.Word(magic) || magic != kMagic)
        return false;
    for (std::string* text : {&product, &version, &crashInfo, &attachmentPath, &dataFolder})
        if (!in.String(*text))
            return false;
    if (!in.Word(attachWord) || !in.Word(count))
        return false;
    attach = attachWord != 0;
    fields.clear();
    for (uint32_t i = 0; i < count; ++i)
    {
        std::string name, value;
        if (!in.String(name) || !in.String(value))
            return false;
        fields[name] = value;
    }
    return in.AtEnd();
}

} // namespace Quoll

#include "game/scene/ParticleFile.h"

#include "framework/core/Buffer.h"

#include <algorithm>
#include <cstring>

namespace
{
enum Tag : uint8_t
{
    kTagAdditive = 0,
    kTagLocation = 1,
    kTagImage = 2,
    kTagMask = 3,
    kTagPath = 4,
    kTagPathTime = 5,
};

#define PARTICLE_FIELD(name, file, kind, count, member)                                                             \
    ParticleField { name, file, ParticleFieldKind::kind, count, offsetof(ParticleDesc, member) }

float ReadFloat(Quoll::Buffer& buffer)
{
    const auto bits = static_cast<uint32_t>(buffer.ReadInt32());
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void WriteFloat(Quoll::Buffer& buffer, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    buffer.WriteInt32(static_cast<int32_t>(bits));
}

size_t BytesLeft(const Quoll::Buffer& buffer)
{
    const auto read = static_cast<size_t>(buffer.GetReadBitPos()) / 8;
    return buffer.GetDataSize() > read ? buffer.GetDataSize() - read : 0;
}

// Reads n points (n clamped to the points the data still holds).
void ReadPoints(Quoll::Buffer& buffer, std::vector<ParticlePoint>& points)
{
    const int32_t n = buffer.ReadInt32();
    if (n <= 0)
        return;
    const size_t count = std::min(static_cast<size_t>(n), BytesLeft(buffer) / 8);
    for (size_t i = 0; i < count; ++i)
    {
        ParticlePoint point;
        point.x = buffer.ReadInt32();
        point.y = buffer.ReadInt32();
        points.push_back(point);
    }
}

// Reads n bytes and keeps those before the first zero byte, at most kMaxImageName of them.
std::string ReadImageName(Quoll::Buffer& buffer)
{
    const int32_t n = buffer.ReadInt32();
    if (n <= 0)
        return {};
    const size_t count = std::min(static_cast<size_t>(n), BytesLeft(buffer));
    std::string name;
    bool ended = false;
    for (size_t i = 0; i < count; ++i)
    {
        const auto byte = static_cast<char>(buffer.ReadByte());
        ended = ended || byte == '\0' || name.size() == ParticleFile::kMaxImageName;
        if (!ended)
            name.push_back(byte);
    }
    return name;
}

void WritePoints(Quoll::Buffer& buffer, Tag tag, const std::vector<ParticlePoint>& points)
{
    if (points.empty())
        return;
    buffer.WriteByte(tag);
    buffer.WriteInt32(static_cast<int32_t>(points.size()));
    for (const ParticlePoint& point : points)
    {
        buffer.WriteInt32(point.x);
        buffer.WriteInt32(point.y);
    }
}

char* MemberAt(ParticleDesc& desc, const ParticleField& field, int index)
{
    const size_t size = field.kind == ParticleFieldKind::Byte ? 1 : 4;
    return reinterpret_cast<char*>(&desc) + field.memberOffset + size * static_cast<size_t>(index);
}
} // namespace

const std::vector<ParticleField>& ParticleFields()
{
    static const std::vector<ParticleField> fields = {
        PARTICLE_FIELD("emission", 4, Int32, 1, emission),
        PARTICLE_FIELD("lifetime", 8, Float, 1, lifetime),
        PARTICLE_FIELD("life_min", 12, Float, 1, lifeMin),
        PARTICLE_FIELD("life_max", 16, Float, 1, lifeMax),
        PARTICLE_FIELD("direction", 20, Float, 1, direction),
        PARTICLE_FIELD("spread", 24, Float, 1, spread),
        PARTICLE_FIELD("relative", 28, Byte, 1, relative),
        PARTICLE_FIELD("speed_min", 32, Float, 1, speedMin),
        PARTICLE_FIELD("speed_max", 36, Float, 1, speedMax),
        PARTICLE_FIELD("gravity_min", 40, Float, 1, gravityMin),
        PARTICLE_FIELD("gravity_max", 44, Float, 1, gravityMax),
        PARTICLE_FIELD("radial_min", 48, Float, 1, radialMin),
        PARTICLE_FIELD("radial_max", 52, Float, 1, radialMax),
        PARTICLE_FIELD("tangential_min", 56, Float, 1, tangentialMin),
        PARTICLE_FIELD("tangential_max", 60, Float, 1, tangentialMax),
        PARTICLE_FIELD("size_start", 64, Float, 1, sizeStart),
        PARTICLE_FIELD("size_end", 68, Float, 1, sizeEnd),
        PARTICLE_FIELD("size_variation", 72, Float, 1, sizeVariation),
        PARTICLE_FIELD("spin_start", 76, Float, 1, spinStart),
        PARTICLE_FIELD("spin_end", 80, Float, 1, spinEnd),
        PARTICLE_FIELD("spin_variation", 84, Float, 1, spinVariation),
        PARTICLE_FIELD("colour_start", 88, Float, 4, colourStart),
        PARTICLE_FIELD("colour_end", 104, Float, 4, colourEnd),
        PARTICLE_FIELD("colour_variation", 120, Float, 1, colourVariation),
        PARTICLE_FIELD("alpha_variation", 124, Float, 1, alphaVariation),
    };
    return fields;
}

double GetParticleField(const ParticleDesc& desc, const ParticleField& field, int index)
{
    const char* at = MemberAt(const_cast<ParticleDesc&>(desc), field, index);
    switch (field.kind)
    {
    case ParticleFieldKind::Int32:
    {
        int32_t value = 0;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    case ParticleFieldKind::Float:
    {
        float value = 0.0f;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    case ParticleFieldKind::Byte:
        return static_cast<uint8_t>(*at);
    }
    return 0.0;
}

void SetParticleField(ParticleDesc& desc, const ParticleField& field, int index, double value)
{
    char* at = MemberAt(desc, field, index);
    switch (field.kind)
    {
    case ParticleFieldKind::Int32:
    {
        const auto stored = static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
        std::memcpy(at, &stored, sizeof stored);
        break;
    }
    case ParticleFieldKind::Float:
    {
        const auto stored = static_cast<float>(value);
        std::memcpy(at, &stored, sizeof stored);
        break;
    }
    case ParticleFieldKind::Byte:
        *at = static_cast<char>(static_cast<uint8_t>(std::clamp(value, 0.0, 255.0)));
        break;
    }
}

ParticleFile ReadParticleFile(Quoll::Buffer& buffer)
{
    ParticleFile file;
    if (BytesLeft(buffer) == 0)
        return file;
    // The fixed record, byte for byte (zeros past the end of the data).
    uint8_t record[ParticleFile::kDescSize] = {};
    buffer.ReadBytes(record, sizeof record);
    for (const ParticleField& field : ParticleFields())
    {
        const size_t size = field.kind == ParticleFieldKind::Byte ? 1 : 4;
        for (int i = 0; i < field.count; ++i)
            std::memcpy(MemberAt(file.desc, field, i), record + field.fileOffset + size * static_cast<size_t>(i), size);
    }
    while (!buffer.AtEnd())
    {
        switch (buffer.ReadByte())
        {
        case kTagAdditive:
            file.additive = buffer.ReadBool();
            break;
        case kTagLocation:
            file.hasLocation = true;
            file.locationX = ReadFloat(buffer);
            file.locationY = ReadFloat(buffer);
            break;
        case kTagImage:
            file.imageName = ReadImageName(buffer);
            break;
        case kTagMask:
            ReadPoints(buffer, file.mask);
            break;
        case kTagPath:
            ReadPoints(buffer, file.path);
            break;
        case kTagPathTime:
            file.hasPathTime = true;
            file.pathTime = ReadFloat(buffer);
            file.pathMode = buffer.ReadInt32();
            break;
        default: // unknown tags are skipped byte by byte
            break;
        }
    }
    return file;
}

void WriteParticleFile(const ParticleFile& file, Quoll::Buffer& buffer)
{
    uint8_t record[ParticleFile::kDescSize] = {};
    ParticleDesc desc = file.desc;
    for (const ParticleField& field : ParticleFields())
    {
        const size_t size = field.kind == ParticleFieldKind::Byte ? 1 : 4;
        for (int i = 0; i < field.count; ++i)
            std::memcpy(record + field.fileOffset + size * static_cast<size_t>(i), MemberAt(desc, field, i), size);
    }
    buffer.WriteBytes(record, sizeof record);
    if (file.additive)
    {
        buffer.WriteByte(kTagAdditive);
        buffer.WriteByte(1);
    }
    if (file.hasLocation)
    {
        buffer.WriteByte(kTagLocation);
        WriteFloat(buffer, file.locationX);
        WriteFloat(buffer, file.locationY);
    }
    if (!file.imageName.empty())
    {
        const std::string name = file.imageName.substr(0, ParticleFile::kMaxImageName);
        buffer.WriteByte(kTagImage);
        buffer.WriteInt32(static_cast<int32_t>(name.size() + 1));
        buffer.WriteBytes(name.c_str(), name.size() + 1);
    }
    WritePoints(buffer, kTagMask, file.mask);
    WritePoints(buffer, kTagPath, file.path);
    if (file.hasPathTime)
    {
        buffer.WriteByte(kTagPathTime);
        WriteFloat(buffer, file.pathTime);
        buffer.WriteInt32(file.pathMode);
    }
}

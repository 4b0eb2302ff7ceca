#pragma once
// The particle description file (".psi"): a fixed record of 128 bytes followed by optional tagged
// records, all numbers little-endian, floats IEEE-754 single precision.
//
//   offset  field                               offset  field
//   0       (image slot, ignored in the file)   64      size start, size end, size variation
//   4       emission (int32, particles/s)        76      spin start, spin end, spin variation
//   8       lifetime (-1 endless)                88      colour start r g b a (0..1)
//   12      particle life min, max              104     colour end r g b a
//   20      direction, spread (radians)         120     colour variation
//   28      relative (byte; 3 bytes padding)     124     alpha variation
//   32      speed min, max; gravity min, max;
//           radial min, max; tangential min, max
//
// Tagged records, each a tag byte and its payload: 0 additive (byte); 1 emitter location (two
// floats); 2 image file name (int32 n, n bytes); 3 mask points and 4 path points (int32 n, n pairs
// of int32); 5 path time (float) and path mode (int32). Other tag bytes are skipped.
//
// The field table below is shared by the reader, the writer and the ".psi" text tool.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Quoll
{
class Buffer;
class Image;
}

struct ParticleDesc
{
    int32_t emission = 0;
    float lifetime = 0.0f;
    float lifeMin = 0.0f;
    float lifeMax = 0.0f;
    float direction = 0.0f;
    float spread = 0.0f;
    uint8_t relative = 0;
    float speedMin = 0.0f;
    float speedMax = 0.0f;
    float gravityMin = 0.0f;
    float gravityMax = 0.0f;
    float radialMin = 0.0f;
    float radialMax = 0.0f;
    float tangentialMin = 0.0f;
    float tangentialMax = 0.0f;
    float sizeStart = 0.0f;
    float sizeEnd = 0.0f;
    float sizeVariation = 0.0f;
    float spinStart = 0.0f;
    float spinEnd = 0.0f;
    float spinVariation = 0.0f;
    float colourStart[4] = {};
    float colourEnd[4] = {};
    float colourVariation = 0.0f;
    float alphaVariation = 0.0f;
};

struct ParticlePoint
{
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const ParticlePoint&) const = default;
};

// A whole description: the fixed record and what the tagged records set.
struct ParticleFile
{
    static constexpr size_t kDescSize = 128;
    // Longest image name kept (bytes); longer names are cut.
    static constexpr size_t kMaxImageName = 259;

    ParticleDesc desc;
    bool additive = false;
    bool hasLocation = false;
    float locationX = 0.0f;
    float locationY = 0.0f;
    std::string imageName;
    std::vector<ParticlePoint> mask;
    std::vector<ParticlePoint> path;
    bool hasPathTime = false;
    float pathTime = 0.0f;
    int32_t pathMode = 0;
};

enum class ParticleFieldKind
{
    Int32,
    Float,
    Byte,
};

// One field of the fixed record: its name in the text form, where it lies in the file, its kind
// and number of values, and where it lies in ParticleDesc.
struct ParticleField
{
    const char* name;
    size_t fileOffset;
    ParticleFieldKind kind;
    int count;
    size_t memberOffset;
};

// The fields of the fixed record in file order.
[[nodiscard]] const std::vector<ParticleField>& ParticleFields();

// A field's values as doubles, and back (values converted to the field's kind).
[[nodiscard]] double GetParticleField(const ParticleDesc& desc, const ParticleField& field, int index);
void SetParticleField(ParticleDesc& desc, const ParticleField& field, int index, double value);

// Reads a description from the buffer's read position to its end. A buffer without data gives a
// zeroed description; a fixed record cut short is completed with zeros, and tagged records cut
// short read zeros. Point counts are clamped to the points the data still holds. Never fails.
[[nodiscard]] ParticleFile ReadParticleFile(Quoll::Buffer& buffer);
// The ".psi" bytes of a description: the fixed record, then the tagged records that differ from
// the defaults (additive, location, image, mask, path, path time) in tag order.
void WriteParticleFile(const ParticleFile& file, Quoll::Buffer& buffer);

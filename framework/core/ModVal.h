#pragma once
// Live-tweakable constants, a developer tool. A constant written inside a marker expression
// (ModValMarkers.h: M(1.5), M("text"), M1(7) ... M9(...)) is registered at start-up with its
// address, source file, line and index (the digit of the marker, 0 for plain M). A reparse,
// triggered by a debug key, rereads those source files, parses the current values out of the
// marker expressions and stores them in the running program. Errors, and the case that no
// source file changed, are reported through the message-box callback.
//
// Builds with NDEBUG register nothing: a marker is then its plain value.
#include "framework/core/ModValParser.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace Quoll
{
enum class ModValKind
{
    Int,
    Float,
    Double,
    String, // a std::string
};

// Shows one message: text, caption.
using ModValMessageBox = std::function<void(const std::string& text, const std::string& caption)>;

// The registered values and the reparse over them.
class ModValTable
{
public:
    struct Site
    {
        void* address = nullptr;
        ModValKind kind = ModValKind::Int;
        int line = 0;
        int index = 0;
    };

    void Register(void* address, ModValKind kind, const std::string& file, int line, int index);
    void DefineConstant(const std::string& name, int value) { mConstants[name] = value; }
    const std::map<std::string, std::vector<Site>>& Files() const { return mFiles; }

    // Rereads every source file with values. A file changed when it is newer than anything
    // seen before (at the first reparse: than the program file, `programTime`).
    void Reparse(uint64_t programTime, const ModValMessageBox& show);

private:
    // False, with the message shown, at the first error.
    bool ReparseFile(const std::string& file, const std::vector<Site>& sites, const ModValMessageBox& show);
    static bool Store(const Site& site, const ModValValue& value);

    std::map<std::string, std::vector<Site>> mFiles;
    std::map<std::string, int> mConstants; // named integer constants a value may name
    uint64_t mNewestTime = 0;
};

// The program-wide table of the marker macros.
class ModVal
{
public:
    static ModValTable& Table();
    static void Register(void* address, ModValKind kind, const char* file, int line, int index);
    // The reparse of the program's own sources (the program file's time as the first base).
    static void Reparse(const ModValMessageBox& show);
};

// --- What the marker macros expand to ------------------------------------------------------

template <typename T>
struct ModValSeed
{
    T value;
    const char* file;
    int line;
    int index;
};

template <typename T>
constexpr ModValSeed<T> MakeModValSeed(T value, const char* file, int line, int index)
{
    return {value, file, line, index};
}

// One registered value; Get gives what the plain constant would have been.
template <typename T>
struct ModValCell
{
    static_assert(std::is_same_v<T, int> || std::is_same_v<T, float> || std::is_same_v<T, double> ||
                      std::is_same_v<T, std::string>,
                  "a tweakable value is an int, float, double or string literal");
    template <typename U>
    explicit ModValCell(const ModValSeed<U>& seed) : value(seed.value)
    {
        ModVal::Register(&value, Kind(), seed.file, seed.line, seed.index);
    }
    static constexpr ModValKind Kind()
    {
        if constexpr (std::is_same_v<T, int>)
            return ModValKind::Int;
        else if constexpr (std::is_same_v<T, float>)
            return ModValKind::Float;
        else if constexpr (std::is_same_v<T, double>)
            return ModValKind::Double;
        else
            return ModValKind::String;
    }
    auto Get() const
    {
        if constexpr (std::is_same_v<T, std::string>)
            return value.c_str();
        else
            return value;
    }
    T value;
};

template <typename T>
struct ModValStorage
{
    using Type = T;
};
template <>
struct ModValStorage<const char*>
{
    using Type = std::string;
};

// One cell per marker expression (the seed lambda's type is unique to the expression); it
// is built, and so registered, with the program's static objects.
template <typename SeedFunction>
struct ModValSlot
{
    using Value = decltype(SeedFunction{}().value);
    static inline ModValCell<typename ModValStorage<Value>::Type> cell{SeedFunction{}()};
};
} // namespace Quoll

#ifdef NDEBUG
#define QUOLL_MODVAL(index, value) (value)
#else
#define QUOLL_MODVAL(index, value)                                                                    \
    (::Quoll::ModValSlot<decltype([] { return ::Quoll::MakeModValSeed((value), __FILE__, __LINE__, (index)); })>:: \
         cell.Get())
#endif

#pragma once
// The parts of an ELF module file that a crash report needs: its loadable segments (to turn
// a file offset into a virtual address), its sections (to name an address as section and
// offset) and its symbol table (to name the function an address lies in). Every offset,
// size and index read from the file is checked against the file before use.
#include <elf.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Quoll::Platform
{
class ElfImage
{
public:
    // False when the file cannot be read or is not a 64-bit little-endian ELF file. The file
    // is mapped while it is read; what is kept is copied out.
    bool Open(const std::string& path);
    bool Parse(std::span<const uint8_t> bytes);

    // The virtual address of a file offset inside a loadable segment.
    bool FileOffsetToAddress(uint64_t fileOffset, uint64_t& address) const;
    // The section holding the address (index counted as in the file's section table, where
    // the first real section is 1) and the offset into it.
    bool FindSection(uint64_t address, uint32_t& index, uint64_t& offset) const;
    // The function or object symbol holding the address (its raw, possibly mangled name).
    bool FindSymbol(uint64_t address, std::string& name, uint64_t& displacement) const;

private:
    struct Segment
    {
        uint64_t offset, fileSize, address;
    };
    struct Section
    {
        uint32_t index;
        uint64_t address, size;
    };
    struct Symbol
    {
        uint64_t address, size;
        std::string name;
    };

    template <typename T>
    bool ReadAt(uint64_t offset, T& out) const;
    bool ReadTables();
    bool ReadSymbols(const Elf64_Shdr& table, const Elf64_Shdr& strings);
    std::string StringAt(uint64_t tableOffset, uint64_t tableSize, uint32_t index) const;

    std::span<const uint8_t> mBytes; // while parsing
    std::vector<Segment> mSegments;
    std::vector<Section> mSections; // allocated sections only
    std::vector<Symbol> mSymbols; // by address
};
} // namespace Quoll::Platform

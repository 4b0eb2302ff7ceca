// ELF reading for crash reports: 64-bit little-endian files only (x86-64 Linux).
#include "framework/platform/system/ElfImage.h"

#include "framework/platform/system/MappedFile.h"

#include <elf.h>

#include <algorithm>
#include <cstring>

namespace Quoll::Platform
{
template <typename T>
bool ElfImage::ReadAt(uint64_t offset, T& out) const
{
    if (offset > mBytes.size() || mBytes.size() - offset < sizeof(T))
        return false;
    std::memcpy(&out, mBytes.data() + offset, sizeof(T));
    return true;
}

bool ElfImage::Open(const std::string& path)
{
    MappedFile file;
    if (!file.Open(path))
        return false;
    return Parse(file.Bytes());
}

bool ElfImage::Parse(std::span<const uint8_t> bytes)
{
    mBytes = bytes;
    bool parsed = ReadTables();
    mBytes = {};
    return parsed;
}

bool ElfImage::ReadTables()
{
    mSegments.clear();
    mSections.clear();
    mSymbols.clear();
    Elf64_Ehdr header;
    if (!ReadAt(0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB)
        return false;
    // 1. Loadable segments.
    for (uint32_t i = 0; i < header.e_phnum; ++i)
    {
        Elf64_Phdr program;
        if (!ReadAt(header.e_phoff + uint64_t(i) * header.e_phentsize, program))
            return false;
        if (program.p_type == PT_LOAD)
            mSegments.push_back({program.p_offset, program.p_filesz, program.p_vaddr});
    }
    // 2. Sections; the symbol table (or, without one, the dynamic symbols) gives the names.
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    for (uint32_t i = 0; i < header.e_shnum; ++i)
        if (!ReadAt(header.e_shoff + uint64_t(i) * header.e_shentsize, sections[i]))
            return false;
    const Elf64_Shdr* symbols = nullptr;
    for (uint32_t i = 0; i < sections.size(); ++i)
    {
        const Elf64_Shdr& section = sections[i];
        if ((section.sh_flags & SHF_ALLOC) != 0 && section.sh_size > 0)
            mSections.push_back({i, section.sh_addr, section.sh_size});
        if (section.sh_type == SHT_SYMTAB || (section.sh_type == SHT_DYNSYM && symbols == nullptr))
            symbols = &section;
    }
    if (symbols != nullptr && symbols->sh_link < sections.size())
        ReadSymbols(*symbols, sections[symbols->sh_link]);
    std::sort(mSymbols.begin(), mSymbols.end(), [](const Symbol& a, const Symbol& b) { return a.address < b.address; });
    return true;
}

// Keeps the function and object symbols that have an address.
bool ElfImage::ReadSymbols(const Elf64_Shdr& table, const Elf64_Shdr& strings)
{
    if (table.sh_entsize < sizeof(Elf64_Sym))
        return false;
    for (uint64_t at = 0; at + table.sh_entsize <= table.sh_size; at += table.sh_entsize)
    {
        Elf64_Sym symbol;
        if (!ReadAt(table.sh_offset + at, symbol))
            return false;
        int type = ELF64_ST_TYPE(symbol.st_info);
        if ((type != STT_FUNC && type != STT_OBJECT) || symbol.st_value == 0)
            continue;
        mSymbols.push_back({symbol.st_value, symbol.st_size, StringAt(strings.sh_offset, strings.sh_size, symbol.st_name)});
    }
    return true;
}

std::string ElfImage::StringAt(uint64_t tableOffset, uint64_t tableSize, uint32_t index) const
{
    if (index >= tableSize || tableOffset > mBytes.size() || mBytes.size() - tableOffset < tableSize)
        return {};
    const char* start = reinterpret_cast<const char*>(mBytes.data() + tableOffset + index);
    return std::string(start, strnlen(start, tableSize - index));
}

bool ElfImage::FileOffsetToAddress(uint64_t fileOffset, uint64_t& address) const
{
    for (const Segment& segment : mSegments)
        if (fileOffset >= segment.offset && fileOffset - segment.offset < segment.fileSize)
        {
            address = fileOffset - segment.offset + segment.address;
            return true;
        }
    return false;
}

bool ElfImage::FindSection(uint64_t address, uint32_t& index, uint64_t& offset) const
{
    for (const Section& section : mSections)
        if (address >= section.address && address - section.address < section.size)
        {
            index = section.index;
            offset = address - section.address;
            return true;
        }
    return false;
}

bool ElfImage::FindSymbol(uint64_t address, std::string& name, uint64_t& displacement) const
{
    auto after = std::upper_bound(mSymbols.begin(), mSymbols.end(), address,
                                  [](uint64_t value, const Symbol& symbol) { return value < symbol.address; });
    if (after == mSymbols.begin())
        return false;
    const Symbol& symbol = *std::prev(after);
    displacement = address - symbol.address;
    if (symbol.size > 0 && displacement >= symbol.size)
        return false;
    name = symbol.name;
    return !name.empty();
}
} // namespace Quoll::Platform

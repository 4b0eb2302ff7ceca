#include "game/shell/ProfileList.h"

#include "framework/core/Common.h"
#include "game/shell/PlayerDataLog.h"
#include "game/shell/PlayerFileFormat.h"
#include "game/shell/PlayerFileStore.h"

#include <string_view>

using PlayerFileFormat::kProfileMagic;

namespace
{
constexpr std::string_view kRefusedPunctuation = " $&()*+,-.:^@";
constexpr int kRefusedSuperscriptOne = 0xB9;
constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";
} // namespace

bool IsValidProfileNameChar(int code)
{
    if (code < 0x20 || code > 0xFF || code == 0x7F || (code >= 0x80 && code <= 0x9F))
        return false;
    if (code == kRefusedSuperscriptOne)
        return false;
    return kRefusedPunctuation.find(static_cast<char>(code)) == std::string_view::npos;
}

const std::string& ProfileList::GetName(int index) const
{
    static const std::string kNone;
    return index >= 0 && index < GetCount() ? mNames[static_cast<size_t>(index)] : kNone;
}

int ProfileList::Find(const std::string& name) const
{
    for (int index = GetCount() - 1; index >= 0; --index)
        if (mNames[static_cast<size_t>(index)] == name)
            return index;
    return -1;
}

ProfileList::NameCheck ProfileList::CheckNewName(const std::string& name) const
{
    if (GetCount() >= kMaxProfiles)
        return NameCheck::ListFull;
    if (name.empty())
        return NameCheck::Empty;
    // Malformed UTF-8 decodes to U+FFFD, which the character check refuses.
    if (name.find(kUtf8Replacement) != std::string::npos)
        return NameCheck::BadCharacter;
    const std::wstring characters = Quoll::StringToWString(name);
    if (characters.size() > static_cast<size_t>(kMaxNameLength))
        return NameCheck::TooLong;
    for (const wchar_t code : characters)
        if (!IsValidProfileNameChar(static_cast<int>(code)))
            return NameCheck::BadCharacter;
    return Find(name) >= 0 ? NameCheck::Taken : NameCheck::Ok;
}

ProfileList::NameCheck ProfileList::Add(const std::string& name)
{
    const NameCheck check = CheckNewName(name);
    if (check == NameCheck::Ok)
        mNames.push_back(name);
    return check;
}

bool ProfileList::Remove(int index)
{
    if (index < 0 || index >= GetCount())
        return false;
    mNames.erase(mNames.begin() + index);
    return true;
}

std::string ProfileList::GetFileStem(const std::string& name)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string stem;
    stem.reserve(name.size() * 2);
    for (const char c : name)
    {
        const auto byte = static_cast<uint8_t>(c);
        stem += kDigits[byte >> 4];
        stem += kDigits[byte & 0xF];
    }
    return stem;
}

std::optional<std::string> ProfileList::GetNameOfStem(const std::string& stem)
{
    if (stem.empty() || stem.size() % 2 != 0)
        return std::nullopt;
    const auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    std::string name;
    for (size_t i = 0; i < stem.size(); i += 2)
    {
        const int high = digit(stem[i]);
        const int low = digit(stem[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        name += static_cast<char>(high * 16 + low);
    }
    return name;
}

void ProfileList::Write(Quoll::Buffer& buffer) const
{
    PlayerFileFormat::WriteHeader(buffer, kProfileMagic);
    buffer.WriteInt32(GetCount());
    for (const std::string& name : mNames)
        buffer.WriteString(name);
    PlayerFileFormat::WriteTrailer(buffer, kProfileMagic);
}

bool ProfileList::Read(Quoll::Buffer& buffer)
{
    RecordReader reader(buffer);
    int32_t count = 0;
    if (!reader.ReadHeader(kProfileMagic) || !reader.ReadInt(count, 0, kMaxProfiles))
        return false;
    ProfileList read;
    for (int i = 0; i < count; ++i)
    {
        std::string name;
        if (!reader.ReadString(name) || read.Add(name) != NameCheck::Ok)
            return false;
    }
    if (!reader.ReadTrailer(kProfileMagic))
        return false;
    *this = std::move(read);
    return true;
}

bool ProfileList::Load(PlayerFileStore& store)
{
    mNames.clear();
    Quoll::Buffer buffer;
    if (!store.Read(kFileName, buffer) || buffer.GetDataSize() == 0)
        return false;
    if (Read(buffer))
        return true;
    LogPlayerData(PlayerLogKind::Error, "Profile list: " + store.KeepDamaged(kFileName, buffer));
    return false;
}

bool ProfileList::Save(PlayerFileStore& store) const
{
    Quoll::Buffer buffer;
    Write(buffer);
    // A failure is reported by the store, once per file.
    return store.Write(kFileName, buffer);
}

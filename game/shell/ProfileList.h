#pragma once
// ProfileList: the names of the player profiles, at most five, in the order they were made. A
// name has 1..8 characters, each accepted by IsValidProfileNameChar, and no two names are equal.
// A profile's files are named after the hex digits of its name's bytes, so that no name, whatever
// characters it holds ('/', '\', '.'), ever becomes part of a path.
//
// File "profiles.lst": string "tymlo1", int32 version 1, int32 count (0..5), count names
// (strings), string "tymlo1".
#include "framework/core/Buffer.h"

#include <optional>
#include <string>
#include <vector>

class PlayerFileStore;

// Characters a profile name may hold (codes 0..255 of the name field's single-byte input):
// refused are codes above 255, 0xB9, the space, $ & ( ) * + , - . : ^ @ and the control
// characters (below 0x20, 0x7F and 0x80..0x9F).
[[nodiscard]] bool IsValidProfileNameChar(int code);

class ProfileList
{
public:
    static constexpr int kMaxProfiles = 5;
    static constexpr int kMaxNameLength = 8;
    static constexpr const char* kFileName = "profiles.lst";

    enum class NameCheck
    {
        Ok,
        Empty,
        TooLong,
        BadCharacter,
        Taken,
        ListFull,
    };

    [[nodiscard]] static int GetMaxNameLength() { return kMaxNameLength; }

    [[nodiscard]] int GetCount() const { return static_cast<int>(mNames.size()); }
    // The name at the index; empty outside 0..count - 1.
    [[nodiscard]] const std::string& GetName(int index) const;
    // The index of the name, searching from the last entry; -1 when absent.
    [[nodiscard]] int Find(const std::string& name) const;

    // Whether a new profile may take the name (UTF-8).
    [[nodiscard]] NameCheck CheckNewName(const std::string& name) const;
    // Appends the name when CheckNewName accepts it.
    NameCheck Add(const std::string& name);
    // Removes the entry; false for an index outside the list.
    bool Remove(int index);

    // The name's bytes as lower-case hex digits: the stem of the profile's file names.
    [[nodiscard]] static std::string GetFileStem(const std::string& name);
    // The name a stem was made from; nullopt for a stem GetFileStem does not make.
    [[nodiscard]] static std::optional<std::string> GetNameOfStem(const std::string& stem);

    void Write(Quoll::Buffer& buffer) const;
    // All or nothing: false, with the list unchanged, when the record is damaged or holds a name
    // that a new profile could not take.
    [[nodiscard]] bool Read(Quoll::Buffer& buffer);
    // Reads the file; a missing or empty file gives an empty list, a damaged one is logged
    // ("Profile list: profiles.lst corrupted") and gives an empty list. False in both cases.
    bool Load(PlayerFileStore& store);
    bool Save(PlayerFileStore& store) const;

private:
    std::vector<std::string> mNames;
};

#pragma once
// ScoreTable: the high scores, best first: one entry per profile name with the best total score
// that profile has reached, at most kMaxEntries entries (the table shows the first five). Ties
// keep the entry that got there first ahead.
//
// File "scores.dat": string "tymlo1scb", int32 version 1, int32 count (0..kMaxEntries), count
// entries of (string name, int32 score >= 0) in descending score order, string "tymlo1scb".
#include "framework/core/Buffer.h"

#include <string>
#include <vector>

class PlayerFileStore;

class ScoreTable
{
public:
    static constexpr int kMaxEntries = 10;
    static constexpr const char* kFileName = "scores.dat";

    struct Entry
    {
        std::string name;
        int score = 0;
        bool operator==(const Entry&) const = default;
    };

    [[nodiscard]] const std::vector<Entry>& GetEntries() const { return mEntries; }
    // Raises the name's entry to the score, or adds one; true when the table changed (a lower
    // score, a negative one or one too low for a full table changes nothing).
    bool Submit(const std::string& name, int score);

    void Write(Quoll::Buffer& buffer) const;
    // All or nothing: false, with the table unchanged, when the record is damaged or out of order.
    [[nodiscard]] bool Read(Quoll::Buffer& buffer);
    // Reads the file; a missing or empty one gives an empty table, a damaged one is logged
    // ("Score file: scores.dat corrupted") and gives an empty table. False in both cases.
    bool Load(PlayerFileStore& store);
    bool Save(PlayerFileStore& store) const;

    bool operator==(const ScoreTable&) const = default;

private:
    std::vector<Entry> mEntries;
};

#pragma once
// Helpers of the player-data tests: a scoped capture of the player-data log lines.
#include "game/shell/PlayerDataLog.h"

#include <string>
#include <utility>
#include <vector>

class ScopedLogCapture
{
public:
    ScopedLogCapture()
        : mPrevious(SetPlayerDataLogSink([this](PlayerLogKind kind, const std::string& line) {
              (kind == PlayerLogKind::Error         ? mErrors
               : kind == PlayerLogKind::WriteFailed ? mWriteFailures
                                                    : mWarnings)
                  .push_back(line);
          }))
    {
    }
    ~ScopedLogCapture() { SetPlayerDataLogSink(std::move(mPrevious)); }
    ScopedLogCapture(const ScopedLogCapture&) = delete;
    ScopedLogCapture& operator=(const ScopedLogCapture&) = delete;

    [[nodiscard]] const std::vector<std::string>& Errors() const { return mErrors; }
    [[nodiscard]] const std::vector<std::string>& Warnings() const { return mWarnings; }
    // The paths of the files that could not be written.
    [[nodiscard]] const std::vector<std::string>& WriteFailures() const { return mWriteFailures; }
    void Clear()
    {
        mErrors.clear();
        mWarnings.clear();
        mWriteFailures.clear();
    }

private:
    std::vector<std::string> mErrors;
    std::vector<std::string> mWarnings;
    std::vector<std::string> mWriteFailures;
    PlayerDataLogSink mPrevious;
};

// The file's bytes cut to its first `length` bytes.
inline std::string Cut(const std::string& bytes, size_t length) { return bytes.substr(0, length); }

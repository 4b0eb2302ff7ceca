#pragma once
// FormatLocalised: the one way the game's screens put numbers and names into their texts. The
// text may hold %d, %i and %u (filled with ints; %u shows the int as unsigned) and %s and %ls
// (filled with wide text), taken from the arguments in order; %% is a percent sign. Any other
// conversion, an argument of the wrong kind, or too few or too many arguments give the text
// unchanged and one "WARNING" line naming the text's key: a bad translation shows its raw
// text, never reads an argument that is not there.
#include <initializer_list>
#include <optional>
#include <string>
#include <variant>
#include <vector>

using FormatArg = std::variant<int, std::wstring>;

// The filled text, or nothing with the reason set when the text and arguments do not agree.
[[nodiscard]] std::optional<std::wstring> FormatChecked(const std::wstring& text, const std::vector<FormatArg>& args,
                                                        std::string& reason);

// The filled text, or the text itself with a warning on the game's log (when the widgets'
// services are set) naming key.
[[nodiscard]] std::wstring FormatLocalised(const std::string& key, const std::wstring& text,
                                           std::initializer_list<FormatArg> args = {});

// The localised text of a key, filled as above.
[[nodiscard]] std::wstring FormatText(const std::string& key, std::initializer_list<FormatArg> args = {});

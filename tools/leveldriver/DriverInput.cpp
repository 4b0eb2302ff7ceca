#include "tools/leveldriver/DriverInput.h"

#include <charconv>
#include <sstream>

namespace
{
bool ParseCell(const std::string& token, int& cell)
{
    const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), cell);
    return ec == std::errc() && ptr == token.data() + token.size() && cell >= 0 && cell < kCellCount;
}
} // namespace

std::string DriverInput::ToLine() const
{
    switch (kind)
    {
    case Kind::Move:
        return "human " + std::to_string(from) + " " + std::to_string(to);
    case Kind::Bonus:
    {
        std::string line = "bonus " + std::to_string(cell);
        for (int pick : picked)
            line.append(1, ' ').append(std::to_string(pick));
        return line;
    }
    case Kind::StepBack:
        return "stepback";
    case Kind::Portrait:
        return "portrait";
    case Kind::Click:
        return "click " + std::to_string(cell);
    }
    return {};
}

std::optional<DriverInput> DriverInput::FromLine(const std::string& line, std::string& error)
{
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;)
        tokens.push_back(token);
    if (tokens.empty())
        return std::nullopt;
    auto cells = [&](size_t first, std::vector<int>& out) {
        for (size_t i = first; i < tokens.size(); ++i)
        {
            int cell = 0;
            if (!ParseCell(tokens[i], cell))
            {
                error = "'" + tokens[i] + "' is not a cell 0..60";
                return false;
            }
            out.push_back(cell);
        }
        return true;
    };
    std::vector<int> values;
    if (tokens[0] == "human")
    {
        if (!cells(1, values))
            return std::nullopt;
        if (values.size() != 2)
        {
            error = "'human' takes two cells";
            return std::nullopt;
        }
        return Move(values[0], values[1]);
    }
    if (tokens[0] == "bonus")
    {
        if (!cells(1, values))
            return std::nullopt;
        if (values.empty() || values.size() > 4)
        {
            error = "'bonus' takes a cell and up to three picked cells";
            return std::nullopt;
        }
        return Bonus(values[0], std::vector<int>(values.begin() + 1, values.end()));
    }
    if (tokens[0] == "click")
    {
        if (!cells(1, values))
            return std::nullopt;
        if (values.size() != 1)
        {
            error = "'click' takes one cell";
            return std::nullopt;
        }
        return Click(values[0]);
    }
    if (tokens[0] == "stepback" || tokens[0] == "portrait")
    {
        if (tokens.size() != 1)
        {
            error = "'" + tokens[0] + "' takes nothing";
            return std::nullopt;
        }
        return tokens[0] == "stepback" ? StepBack() : Portrait();
    }
    return std::nullopt;
}

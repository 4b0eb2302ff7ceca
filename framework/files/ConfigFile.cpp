#include "framework/files/ConfigFile.h"

#include "framework/files/PakInterface.h"

namespace Quoll
{
bool ConfigFile::Open(const std::string& fileName)
{
    Close();
    if (!PakReadFile(fileName, mText))
        return false;
    mFileName = fileName;
    return true;
}

void ConfigFile::Close()
{
    mFileName.clear();
    mText.clear();
    mPosition = 0;
    mLineNumber = 0;
}

bool ConfigFile::NextLine(std::stringstream& line)
{
    while (mPosition < mText.size())
    {
        size_t end = mText.find('\n', mPosition);
        if (end == std::string::npos)
            end = mText.size();
        std::string text = mText.substr(mPosition, end - mPosition);
        mPosition = end + 1;
        ++mLineNumber;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty() || text[0] == '#')
            continue;
        line.str(text);
        line.clear();
        return true;
    }
    return false;
}
} // namespace Quoll

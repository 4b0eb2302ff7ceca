#include "framework/files/XMLParser.h"

#include "framework/core/Common.h"
#include "framework/files/PakInterface.h"

#include <cwctype>

namespace Quoll
{
namespace
{
bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool IsNameStart(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_' || c == L':' || c >= 0x80;
}

bool IsNameChar(wchar_t c) { return IsNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.'; }

bool IsOnlySpace(const std::wstring& text)
{
    for (wchar_t c : text)
        if (!IsSpace(c))
            return false;
    return true;
}

// The value of a numeric reference body ("#65", "#x41"); 0 when it is not a valid character.
uint32_t ParseCharacterReference(const std::wstring& body)
{
    const bool hex = body.size() > 1 && (body[1] == L'x' || body[1] == L'X');
    const size_t first = hex ? 2 : 1;
    if (body.size() <= first || body.size() > first + 8)
        return 0;
    uint32_t value = 0;
    for (size_t i = first; i < body.size(); ++i)
    {
        const wchar_t c = body[i];
        uint32_t digit = 0;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<uint32_t>(c - L'0');
        else if (hex && c >= L'a' && c <= L'f')
            digit = static_cast<uint32_t>(c - L'a' + 10);
        else if (hex && c >= L'A' && c <= L'F')
            digit = static_cast<uint32_t>(c - L'A' + 10);
        else
            return 0;
        value = value * (hex ? 16 : 10) + digit;
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return (value == 0 || value > 0x10FFFF || surrogate) ? 0 : value;
}

std::string Narrow(const std::wstring& text) { return WStringToString(text); }
} // namespace

bool XMLParser::OpenFile(const std::string& fileName)
{
    std::string bytes;
    const bool read = PakReadFile(fileName, bytes);
    Reset(bytes);
    mFileName = fileName;
    if (!read)
    {
        mFailed = true;
        mErrorText = "Cannot open file: " + fileName;
    }
    return read;
}

void XMLParser::SetStringSource(const std::string& utf8)
{
    Reset(utf8);
    mFileName.clear();
}

void XMLParser::Reset(const std::string& utf8)
{
    const bool bom = utf8.compare(0, 3, "\xEF\xBB\xBF") == 0;
    mText = StringToWString(bom ? utf8.substr(3) : utf8);
    mPos = 0;
    mLine = 1;
    mOpen.clear();
    mPendingEnd = false;
    mFailed = false;
    mErrorText.clear();
}

bool XMLParser::Fail(const std::string& message)
{
    if (!mFailed)
        mErrorText = message + " on Line " + std::to_string(mLine);
    mFailed = true;
    return false;
}

bool XMLParser::StartsWith(const wchar_t* text) const
{
    for (size_t i = 0; text[i] != 0; ++i)
        if (Peek(i) != text[i])
            return false;
    return true;
}

wchar_t XMLParser::Get()
{
    const wchar_t c = Peek();
    if (c == L'\n')
        ++mLine;
    ++mPos;
    return c;
}

void XMLParser::SkipSpace()
{
    while (!AtEnd() && IsSpace(Peek()))
        Get();
}

bool XMLParser::ReadName(std::wstring& name)
{
    name.clear();
    if (!IsNameStart(Peek()))
        return Fail("Expected a name");
    while (!AtEnd() && IsNameChar(Peek()))
        name.push_back(Get());
    return true;
}

bool XMLParser::ReadUntil(const wchar_t* terminator, std::wstring& out, const char* what)
{
    out.clear();
    while (!AtEnd() && !StartsWith(terminator))
        out.push_back(Get());
    if (AtEnd())
        return Fail(std::string("Unterminated ") + what);
    for (size_t i = 0; terminator[i] != 0; ++i)
        Get();
    return true;
}

bool XMLParser::DecodeEntity(std::wstring& out)
{
    Get(); // '&'
    std::wstring body;
    while (!AtEnd() && Peek() != L';' && body.size() < 12)
        body.push_back(Get());
    if (Peek() != L';')
        return Fail("Unterminated entity &" + Narrow(body));
    Get();
    if (const wchar_t named = NamedXmlEntity(body); named != 0)
        out.push_back(named);
    else if (!body.empty() && body[0] == L'#' && ParseCharacterReference(body) != 0)
        out.push_back(static_cast<wchar_t>(ParseCharacterReference(body)));
    else
        return Fail("Unknown entity &" + Narrow(body) + ";");
    return true;
}

bool XMLParser::ReadCharacterData(std::wstring& out)
{
    out.clear();
    while (!AtEnd() && Peek() != L'<')
    {
        if (Peek() == L'&')
        {
            if (!DecodeEntity(out))
                return false;
        }
        else
            out.push_back(Get());
    }
    return true;
}

bool XMLParser::ReadAttributes(XMLElement& element, bool& selfClosing)
{
    while (true)
    {
        const bool spaced = IsSpace(Peek());
        SkipSpace();
        if (StartsWith(L"/>") || Peek() == L'>')
        {
            selfClosing = Peek() == L'/';
            Get();
            if (selfClosing)
                Get();
            return true;
        }
        if (AtEnd())
            return Fail("Unterminated tag <" + Narrow(element.mValue) + ">");
        std::wstring name;
        if (!spaced)
            return Fail("Expected white space before an attribute");
        if (!ReadName(name))
            return false;
        SkipSpace();
        if (Get() != L'=')
            return Fail("Expected '=' after attribute " + Narrow(name));
        SkipSpace();
        const wchar_t quote = Get();
        if (quote != L'"' && quote != L'\'')
            return Fail("Expected a quoted value for attribute " + Narrow(name));
        std::wstring value;
        while (!AtEnd() && Peek() != quote)
        {
            if (Peek() == L'<')
                return Fail("'<' in the value of attribute " + Narrow(name));
            if (Peek() == L'&')
            {
                if (!DecodeEntity(value))
                    return false;
            }
            else
                value.push_back(Get());
        }
        if (Get() != quote)
            return Fail("Unterminated value of attribute " + Narrow(name));
        if (!element.mAttributes.emplace(name, value).second)
            return Fail("Repeated attribute " + Narrow(name));
        element.mAttributeOrder.push_back(name);
    }
}

std::wstring XMLParser::OpenSection() const
{
    std::wstring section;
    for (const std::wstring& name : mOpen)
        section += (section.empty() ? L"" : L"/") + name;
    return section;
}

bool XMLParser::ReadStartTag(XMLElement& element)
{
    Get(); // '<'
    element.mType = XMLElement::Type::Start;
    element.mSection = OpenSection();
    bool selfClosing = false;
    if (!ReadName(element.mValue) || !ReadAttributes(element, selfClosing))
        return false;
    mOpen.push_back(element.mValue);
    mPendingEnd = selfClosing;
    return true;
}

bool XMLParser::ReadEndTag(XMLElement& element)
{
    Get();
    Get(); // "</"
    std::wstring name;
    if (!ReadName(name))
        return false;
    SkipSpace();
    if (Get() != L'>')
        return Fail("Expected '>' after </" + Narrow(name));
    if (mOpen.empty())
        return Fail("Unexpected end tag </" + Narrow(name) + ">");
    if (mOpen.back() != name)
        return Fail("End tag </" + Narrow(name) + "> does not close <" + Narrow(mOpen.back()) + ">");
    mOpen.pop_back();
    element.mType = XMLElement::Type::End;
    element.mSection = OpenSection();
    element.mValue = name;
    return true;
}

bool XMLParser::ReadInstruction(XMLElement& element)
{
    Get();
    Get(); // "<?"
    element.mType = XMLElement::Type::Instruction;
    element.mSection = OpenSection();
    if (!ReadName(element.mInstruction) || !ReadUntil(L"?>", element.mValue, "processing instruction"))
        return false;
    const size_t first = element.mValue.find_first_not_of(L" \t\r\n");
    element.mValue.erase(0, first == std::wstring::npos ? element.mValue.size() : first);
    return true;
}

bool XMLParser::SkipDeclaration()
{
    // <!DOCTYPE ...> with an optional internal subset in brackets.
    int brackets = 0;
    while (!AtEnd())
    {
        const wchar_t c = Get();
        if (c == L'[')
            ++brackets;
        else if (c == L']')
            --brackets;
        else if (c == L'>' && brackets <= 0)
            return true;
    }
    return Fail("Unterminated declaration");
}

bool XMLParser::NextElement(XMLElement* element)
{
    if (mFailed || element == nullptr)
        return false;
    element->Clear();
    if (mPendingEnd)
    {
        mPendingEnd = false;
        element->mType = XMLElement::Type::End;
        element->mValue = mOpen.back();
        mOpen.pop_back();
        element->mSection = OpenSection();
        return true;
    }
    while (true)
    {
        if (AtEnd())
            return mOpen.empty() ? false : Fail("Element <" + Narrow(mOpen.back()) + "> is not closed");
        if (Peek() != L'<')
        {
            if (!ReadCharacterData(element->mValue))
                return false;
            if (IsOnlySpace(element->mValue))
                continue;
            element->mType = XMLElement::Type::Text;
            element->mSection = OpenSection();
            return true;
        }
        if (StartsWith(L"<!--"))
        {
            mPos += 4;
            element->mType = XMLElement::Type::Comment;
            element->mSection = OpenSection();
            return ReadUntil(L"-->", element->mValue, "comment");
        }
        if (StartsWith(L"<![CDATA["))
        {
            mPos += 9;
            element->mType = XMLElement::Type::Text;
            element->mSection = OpenSection();
            return ReadUntil(L"]]>", element->mValue, "CDATA section");
        }
        if (StartsWith(L"<!"))
        {
            if (!SkipDeclaration())
                return false;
            continue;
        }
        if (StartsWith(L"<?"))
            return ReadInstruction(*element);
        if (StartsWith(L"</"))
            return ReadEndTag(*element);
        return ReadStartTag(*element);
    }
}
} // namespace Quoll

#pragma once
// A small pull parser for the framework's XML files (the resource manifest, the texts).
// Reads UTF-8, with or without a byte-order mark, through the pack-file layer, and hands
// out one XMLElement per call. Entities (&lt; &gt; &amp; &quot; &apos;) and numeric
// character references are decoded into wide text. Malformed input stops the parser with
// an error text that ends in " on Line N".
#include "framework/files/XMLElement.h"

#include <string>
#include <vector>

namespace Quoll
{
class XMLParser
{
public:
    // False, with an error text, when the file cannot be read.
    bool OpenFile(const std::string& fileName);
    void SetStringSource(const std::string& utf8);

    // True with the next item in element; false at the end of the input or on an error
    // (HasFailed tells which).
    bool NextElement(XMLElement* element);

    [[nodiscard]] bool HasFailed() const { return mFailed; }
    [[nodiscard]] const std::string& GetErrorText() const { return mErrorText; }
    [[nodiscard]] int GetCurrentLineNum() const { return mLine; }
    [[nodiscard]] const std::string& GetFileName() const { return mFileName; }

private:
    void Reset(const std::string& utf8);
    bool Fail(const std::string& message);
    bool AtEnd() const { return mPos >= mText.size(); }
    wchar_t Peek(size_t ahead = 0) const { return mPos + ahead < mText.size() ? mText[mPos + ahead] : 0; }
    bool StartsWith(const wchar_t* text) const;
    wchar_t Get();
    void SkipSpace();
    bool ReadName(std::wstring& name);
    bool ReadUntil(const wchar_t* terminator, std::wstring& out, const char* what);
    bool DecodeEntity(std::wstring& out);
    bool ReadCharacterData(std::wstring& out);
    bool ReadAttributes(XMLElement& element, bool& selfClosing);
    bool ReadStartTag(XMLElement& element);
    bool ReadEndTag(XMLElement& element);
    bool ReadInstruction(XMLElement& element);
    bool SkipDeclaration();
    std::wstring OpenSection() const;

    std::string mFileName;
    std::wstring mText;
    size_t mPos = 0;
    int mLine = 1;
    std::vector<std::wstring> mOpen;
    bool mPendingEnd = false;
    bool mFailed = false;
    std::string mErrorText;
};
} // namespace Quoll

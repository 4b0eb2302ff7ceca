#pragma once
// One item read by the XMLParser: a start tag, an end tag, a run of text, a processing
// instruction or a comment.
#include <map>
#include <string>
#include <vector>

namespace Quoll
{
class XMLElement
{
public:
    enum class Type
    {
        None,
        Start,       // <name a="1">, also the first half of <name/>
        End,         // </name>, also the second half of <name/>
        Text,        // character data (entities decoded), never only white space
        Instruction, // <?target ...?>
        Comment,     // <!-- ... -->
    };

    void Clear();
    // The attribute's value, or the fallback when the element has no such attribute.
    [[nodiscard]] std::wstring GetAttribute(const std::wstring& name, const std::wstring& fallback = L"") const;
    [[nodiscard]] bool HasAttribute(const std::wstring& name) const { return mAttributes.count(name) != 0; }

    Type mType = Type::None;
    // The names of the open elements around this one, joined by '/' ("ResourceManifest/Resources").
    std::wstring mSection;
    // Start and end: the element's name. Text and comment: the text. Instruction: the body.
    std::wstring mValue;
    // Instruction: its target ("xml").
    std::wstring mInstruction;
    std::map<std::wstring, std::wstring> mAttributes;
    // The attribute names in document order.
    std::vector<std::wstring> mAttributeOrder;
};
} // namespace Quoll

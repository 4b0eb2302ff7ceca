#include "framework/files/XMLElement.h"

namespace Quoll
{
void XMLElement::Clear()
{
    mType = Type::None;
    mSection.clear();
    mValue.clear();
    mInstruction.clear();
    mAttributes.clear();
    mAttributeOrder.clear();
}

std::wstring XMLElement::GetAttribute(const std::wstring& name, const std::wstring& fallback) const
{
    const auto it = mAttributes.find(name);
    return it == mAttributes.end() ? fallback : it->second;
}
} // namespace Quoll

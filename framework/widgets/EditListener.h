#pragma once
// What an edit field asks and tells its listener, by the field's id: the text on Enter, and
// whether a key, a character or a whole new text may be accepted (everything by default).
#include <string>

namespace Quoll
{
class EditListener
{
public:
    virtual ~EditListener() = default;

    virtual void EditWidgetText(int id, const std::wstring& text)
    {
        (void)id;
        (void)text;
    }
    virtual bool AllowKey(int id, int keyCode)
    {
        (void)id;
        (void)keyCode;
        return true;
    }
    virtual bool AllowChar(int id, wchar_t character)
    {
        (void)id;
        (void)character;
        return true;
    }
    virtual bool AllowText(int id, const std::wstring& text)
    {
        (void)id;
        (void)text;
        return true;
    }
};
} // namespace Quoll

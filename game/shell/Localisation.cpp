#include "game/shell/Localisation.h"

#include "framework/core/Common.h"
#include "framework/files/XMLParser.h"

#include <set>

// Reads one texts document element by element; the first fault ends it with its line.
class Localisation::Reader
{
public:
    Reader(Quoll::XMLParser& parser, std::string name) : mParser(parser), mName(std::move(name)) {}

    bool Read(Document& document, std::string& error)
    {
        Quoll::XMLElement element;
        while (mError.empty() && mParser.NextElement(&element))
        {
            if (element.mType == Quoll::XMLElement::Type::Start)
                Open(element, document);
            else if (element.mType == Quoll::XMLElement::Type::End)
                Close();
            else if (element.mType == Quoll::XMLElement::Type::Text)
                AddText(element);
        }
        if (mError.empty() && mParser.HasFailed())
            mError = mParser.GetErrorText();
        if (mError.empty())
            Finish(document);
        if (!mError.empty())
        {
            error = mName + ": " + mError;
            return false;
        }
        return true;
    }

private:
    void Fail(const std::string& why, int line = 0)
    {
        if (mError.empty())
            mError = why + " on Line " + std::to_string(line > 0 ? line : mParser.GetCurrentLineNum());
    }

    static std::string Attribute(const Quoll::XMLElement& element, const wchar_t* name)
    {
        return Quoll::WStringToString(element.GetAttribute(name));
    }

    // Each element may stand only inside one parent.
    void Open(const Quoll::XMLElement& element, Document& document)
    {
        const std::string name = Quoll::WStringToString(element.mValue);
        const std::string parent = mOpen.empty() ? std::string() : mOpen.back();
        mOpen.push_back(name);
        if (name == "texts" && parent.empty() && !mSeenRoot)
            mSeenRoot = true;
        else if (name == "locale" && parent == "texts")
            OpenLocale(element, document);
        else if (name == "group" && parent == "texts")
            OpenGroup(element);
        else if (name == "text" && parent == "group")
            OpenText(element, document);
        else if (name == "value" && parent == "text")
            OpenValue(element, document);
        else
            Fail("unexpected element <" + name + ">" + (parent.empty() ? "" : " inside <" + parent + ">"));
    }

    void Close()
    {
        if (mOpen.back() == "value" && mEntry != nullptr)
            mEntry->values[mValueLocale] = mValueText;
        if (mOpen.back() == "text")
            mEntry = nullptr;
        mOpen.pop_back();
    }

    void AddText(const Quoll::XMLElement& element)
    {
        if (mOpen.empty() || mOpen.back() != "value")
            Fail("text outside a <value>");
        else
            mValueText += element.mValue;
    }

    void OpenLocale(const Quoll::XMLElement& element, Document& document)
    {
        Locale locale;
        locale.name = Attribute(element, L"name");
        if (!Quoll::StringToInt(Attribute(element, L"id"), locale.id) || locale.id < 0)
            return Fail("a locale needs a number of 0 or more as its id");
        if (locale.name.empty())
            return Fail("a locale needs a name");
        for (const Locale& other : document.locales)
            if (other.id == locale.id || other.name == locale.name)
                return Fail("locale " + locale.name + " (" + std::to_string(locale.id) + ") is declared twice");
        document.locales.push_back(locale);
    }

    void OpenGroup(const Quoll::XMLElement& element)
    {
        mGroup = Attribute(element, L"name");
        if (mGroup.empty())
            Fail("a group needs a name");
    }

    void OpenText(const Quoll::XMLElement& element, Document& document)
    {
        const std::string key = Attribute(element, L"name");
        if (key.empty())
            return Fail("a text needs a name");
        if (document.entries.count(key) != 0)
            return Fail("text " + key + " is given twice");
        mEntry = &document.entries[key];
        mEntry->group = mGroup;
        mEntry->alias = Attribute(element, L"using_as");
        if (element.HasAttribute(L"using_as"))
        {
            if (mEntry->alias.empty())
                return Fail("text " + key + " has an empty using_as");
            mAliasLines[key] = mParser.GetCurrentLineNum();
        }
        mKey = key;
    }

    void OpenValue(const Quoll::XMLElement& element, Document& document)
    {
        mValueLocale = Attribute(element, L"locale");
        mValueText.clear();
        bool known = false;
        for (const Locale& locale : document.locales)
            known = known || locale.name == mValueLocale;
        if (!known)
            return Fail("value of " + mKey + " names locale '" + mValueLocale + "', which is not declared before it");
        if (!mEntry->alias.empty())
            return Fail("text " + mKey + " uses another text's values and may not have its own");
        if (mEntry->values.count(mValueLocale) != 0)
            Fail("text " + mKey + " has two values for locale " + mValueLocale);
    }

    // After the whole file: a locale exists, and every alias leads to a text with values.
    void Finish(const Document& document)
    {
        if (!mSeenRoot)
            return Fail("the file has no <texts> element");
        if (document.locales.empty())
            return Fail("the file declares no locale");
        for (const auto& [key, line] : mAliasLines)
        {
            std::set<std::string> seen{key};
            std::string target = document.entries.at(key).alias;
            for (;;)
            {
                const auto found = document.entries.find(target);
                if (found == document.entries.end())
                    return Fail("text " + key + " uses " + target + ", which does not exist", line);
                if (!seen.insert(target).second)
                    return Fail("text " + key + " uses texts in a circle", line);
                if (found->second.alias.empty())
                    break;
                target = found->second.alias;
            }
        }
    }

    Quoll::XMLParser& mParser;
    std::string mName;
    std::string mError;
    std::vector<std::string> mOpen;
    bool mSeenRoot = false;
    std::string mGroup;
    std::string mKey;
    Entry* mEntry = nullptr;
    std::string mValueLocale;
    std::wstring mValueText;
    std::map<std::string, int> mAliasLines;
};

bool Localisation::Load(const std::string& fileName)
{
    Quoll::XMLParser parser;
    if (!parser.OpenFile(fileName))
    {
        mErrorText = parser.GetErrorText();
        return false;
    }
    return ReadFrom(parser, fileName);
}

bool Localisation::LoadFromString(const std::string& utf8, const std::string& name)
{
    Quoll::XMLParser parser;
    parser.SetStringSource(utf8);
    return ReadFrom(parser, name);
}

// A new document replaces the texts whole; the current locale stays when the new file has it.
bool Localisation::ReadFrom(Quoll::XMLParser& parser, const std::string& name)
{
    Document document;
    if (!Reader(parser, name).Read(document, mErrorText))
        return false;
    const int previous = GetLocaleId();
    mLocales = std::move(document.locales);
    mEntries = std::move(document.entries);
    mCurrent = 0;
    SetLocale(previous);
    mErrorText.clear();
    return true;
}

bool Localisation::HasLocale(int id) const
{
    for (const Locale& locale : mLocales)
        if (locale.id == id)
            return true;
    return false;
}

bool Localisation::SetLocale(int id)
{
    for (size_t i = 0; i < mLocales.size(); ++i)
    {
        if (mLocales[i].id == id)
        {
            mCurrent = i;
            return true;
        }
    }
    return false;
}

int Localisation::GetLocaleId() const
{
    return mCurrent < mLocales.size() ? mLocales[mCurrent].id : 0;
}

std::string Localisation::GetLocaleName() const
{
    return mCurrent < mLocales.size() ? mLocales[mCurrent].name : std::string();
}

const Localisation::Entry* Localisation::Resolve(const std::string& key) const
{
    auto found = mEntries.find(key);
    // Loading checked that aliases end at a text of their own; the bound guards the walk anyway.
    for (size_t hops = 0; found != mEntries.end() && !found->second.alias.empty() && hops <= mEntries.size(); ++hops)
        found = mEntries.find(found->second.alias);
    return found == mEntries.end() || !found->second.alias.empty() ? nullptr : &found->second;
}

std::wstring Localisation::GetText(const std::string& key) const
{
    const Entry* entry = Resolve(key);
    if (entry != nullptr && !mLocales.empty())
    {
        auto value = entry->values.find(GetLocaleName());
        if (value == entry->values.end())
            value = entry->values.find(mLocales.front().name);
        if (value != entry->values.end())
            return value->second;
    }
    return Quoll::StringToWString(key);
}

std::vector<std::string> Localisation::KeysWithoutValue(const std::string& localeName) const
{
    std::vector<std::string> keys;
    for (const auto& [key, entry] : mEntries)
        if (entry.alias.empty() && entry.values.count(localeName) == 0)
            keys.push_back(key);
    return keys;
}

std::vector<std::pair<std::string, std::wstring>> Localisation::GetFrameworkTexts() const
{
    std::vector<std::pair<std::string, std::wstring>> texts;
    for (const auto& [key, entry] : mEntries)
        if (entry.group == kFrameworkGroup)
            texts.emplace_back(key, GetText(key));
    return texts;
}

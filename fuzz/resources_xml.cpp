// Fuzz target of the XML parser: the input is a whole UTF-8 document; every item is pulled
// until the end or the first error.
#include "framework/files/XMLParser.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Quoll::XMLParser parser;
    parser.SetStringSource(std::string(reinterpret_cast<const char*>(data), size));
    Quoll::XMLElement element;
    while (parser.NextElement(&element))
    {
    }
    return 0;
}

#pragma once
// Entry points of an optional audio library, resolved by name at run time. The resolver is the
// library's own symbol table, or a table of stand-ins that tests install.
#include <functional>

namespace Quoll
{
using EntryPointResolver = std::function<void*(const char* name)>;

// Binds one entry point; false when the resolver does not know the name.
template <typename Function>
bool BindEntryPoint(const EntryPointResolver& resolve, const char* name, Function& field)
{
    void* address = resolve(name);
    field = reinterpret_cast<Function>(address);
    return address != nullptr;
}
} // namespace Quoll

#pragma once
// Entry points of an optional audio library, resolved by name at run time. The resolver is the
// library's own symbol table, or a table of stand-ins that tests install. SharedEntryPoints
// keeps one counted table per library for the whole process.
#include "framework/core/DebugOutput.h"
#include "framework/platform/system/SharedLibrary.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>

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

// Table is a struct with a `library` member and Bind(resolver, missing-name out) -> bool.
template <typename Table>
class SharedEntryPoints
{
public:
    explicit SharedEntryPoints(const char* libraryName) : mLibraryName(libraryName) {}

    // Counts a user in; null (and a logged warning) when the library or an entry point is
    // missing, and the next call tries again.
    Table* Load()
    {
        std::lock_guard lock(mLock);
        if (!mTable)
            mTable = Create();
        if (!mTable)
            return nullptr;
        ++mUsers;
        return mTable.get();
    }
    void Free()
    {
        std::lock_guard lock(mLock);
        if (mUsers > 0 && --mUsers == 0)
            mTable.reset();
    }
    void SetResolverForTesting(EntryPointResolver resolver)
    {
        std::lock_guard lock(mLock);
        mTestResolver = std::move(resolver);
    }

private:
    std::unique_ptr<Table> Create()
    {
        auto table = std::make_unique<Table>();
        EntryPointResolver resolve = mTestResolver;
        if (!resolve)
        {
            if (!table->library.Open(mLibraryName))
            {
                OutputDebugText(std::string("WARNING: Can't find ") + mLibraryName + " (" +
                                table->library.GetError() + "); it is not used.\n");
                return nullptr;
            }
            const Platform::SharedLibrary* library = &table->library;
            resolve = [library](const char* name) { return library->Resolve(name); };
        }
        std::string missing;
        if (!table->Bind(resolve, missing))
        {
            OutputDebugText("WARNING: " + missing + " in " + mLibraryName +
                            "; it is not used.\n");
            return nullptr;
        }
        return table;
    }

    const char* mLibraryName;
    std::mutex mLock;
    std::unique_ptr<Table> mTable;
    int mUsers = 0;
    EntryPointResolver mTestResolver;
};
} // namespace Quoll

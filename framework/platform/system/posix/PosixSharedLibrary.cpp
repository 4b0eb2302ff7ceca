// Shared libraries through dlopen/dlsym.
#include "framework/platform/system/SharedLibrary.h"

#include <dlfcn.h>

#include <utility>

namespace Quoll::Platform
{
SharedLibrary::~SharedLibrary()
{
    Close();
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : mHandle(std::exchange(other.mHandle, nullptr)), mError(std::move(other.mError))
{
}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept
{
    if (this != &other)
    {
        Close();
        mHandle = std::exchange(other.mHandle, nullptr);
        mError = std::move(other.mError);
    }
    return *this;
}

bool SharedLibrary::Open(const std::string& name)
{
    Close();
    mHandle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!mHandle)
    {
        const char* reason = dlerror();
        mError = reason ? reason : "cannot load " + name;
        return false;
    }
    mError.clear();
    return true;
}

void SharedLibrary::Close()
{
    if (mHandle)
        dlclose(mHandle);
    mHandle = nullptr;
}

void* SharedLibrary::Resolve(const char* symbol) const
{
    if (!mHandle || !symbol)
        return nullptr;
    return dlsym(mHandle, symbol);
}
} // namespace Quoll::Platform

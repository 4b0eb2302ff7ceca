#pragma once
// A shared library loaded by name, and its entry points resolved by name. Move-only; the
// library is unloaded when the handle goes.
#include <string>

namespace Quoll::Platform
{
class SharedLibrary
{
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Loads the library by path or name (the system's search rules apply to a bare name);
    // false, with the reason in GetError, when it cannot.
    bool Open(const std::string& name);
    void Close();
    bool IsOpen() const { return mHandle != nullptr; }
    // The address of an exported symbol; null when the library does not export it.
    void* Resolve(const char* symbol) const;
    const std::string& GetError() const { return mError; }

private:
    void* mHandle = nullptr;
    std::string mError;
};
} // namespace Quoll::Platform

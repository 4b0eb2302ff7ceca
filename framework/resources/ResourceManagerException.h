#pragma once
// Thrown by the resource manager's look-ups when a resource is unknown or not loaded.
#include <exception>
#include <string>

namespace Quoll
{
class ResourceManagerException : public std::exception
{
public:
    explicit ResourceManagerException(std::string message) : mMessage(std::move(message)) {}
    [[nodiscard]] const char* what() const noexcept override { return mMessage.c_str(); }

private:
    std::string mMessage;
};
} // namespace Quoll

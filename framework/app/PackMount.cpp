#include "framework/app/PackMount.h"

#include "framework/app/ErrorLog.h"
#include "framework/platform/system/Path.h"
#include "framework/files/PakInterface.h"

namespace Quoll
{
bool MountPackFileOrLog(PakInterface& paks, const std::string& path, ErrorLog& log, std::string* error)
{
    if (paks.MountPakFile(path))
        return true;
    if (Platform::PathExists(path))
    {
        log.Append(paks.GetLastError());
        if (error != nullptr)
            *error = paks.GetLastError();
    }
    return false;
}
} // namespace Quoll

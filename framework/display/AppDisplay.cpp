#include "framework/display/AppDisplay.h"

namespace Quoll
{
const char* DisplayResultName(DisplayResult result)
{
    switch (result)
    {
    case DisplayResult::Ok: return "RESULT_OK";
    case DisplayResult::Failed: return "RESULT_FAIL";
    case DisplayResult::CreateFailed: return "RESULT_DD_CREATE_FAIL";
    case DisplayResult::SurfaceFailed: return "RESULT_SURFACE_FAIL";
    case DisplayResult::ExclusiveFailed: return "RESULT_EXCLUSIVE_FAIL";
    case DisplayResult::ModeChangeFailed: return "RESULT_DISPCHANGE_FAIL";
    case DisplayResult::InvalidColorDepth: return "RESULT_INVALID_COLORDEPTH";
    case DisplayResult::RendererFailed: break;
    }
    return "RESULT_UNKNOWN";
}

DisplayResult NullDisplay::Init(Platform::WindowId window, bool windowed)
{
    mWindow = window;
    mWindowed = windowed;
    return DisplayResult::Ok;
}
} // namespace Quoll

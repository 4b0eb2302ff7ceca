#include "game/ui/UiServices.h"

#include "framework/app/QuollAppBase.h"
#include "framework/resources/ResourceManager.h"
#include "game/shell/ResourceIds.h"

#include <cassert>

namespace
{
UiServices* gUiServices = nullptr;
}

UiServices* GetUiServices()
{
    return gUiServices;
}

void SetUiServices(UiServices* services)
{
    gUiServices = services;
}

UiServices& Ui()
{
    assert(gUiServices != nullptr && "the game's widgets run without their services");
    return *gUiServices;
}

Quoll::Image* UiServices::GetUnnumberedImage(const std::string& name)
{
    const Quoll::QuollAppBase* app = Quoll::gQuollApp;
    return app != nullptr && app->mResourceManager ? app->mResourceManager->GetImage(name) : nullptr;
}

Quoll::Image* UiServices::GetImageNamed(const std::string& name)
{
    const int id = GetResourceIdByName(name);
    return id == kResourceIdCount ? GetUnnumberedImage(name) : GetImageById(id);
}

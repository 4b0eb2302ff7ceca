#include "game/ui/UiServices.h"

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

#include "game/play/PlayGlobals.h"

namespace
{
PlayGlobals gPlay;
}

PlayGlobals& Play()
{
    return gPlay;
}

void ResetPlayGlobalsForTests()
{
    gPlay = PlayGlobals();
}

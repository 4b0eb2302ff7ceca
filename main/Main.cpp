// The game's executable: everything happens in the game's entry (game/app/GameMain.h).
#include "game/app/GameMain.h"

int main(int argc, char** argv)
{
    return GameMain(argc, argv);
}

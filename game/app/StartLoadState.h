#pragma once
// StartLoadState: the title screen while the start-up resources load. Entering it loads the
// "TitleScreen" group, shows the title and pushes the loading state over it; when that pops,
// loading has finished and the title shows its prompt. The title's command 1 is ignored until
// then, so a stray click never enters the menu with resources still loading; afterwards it
// changes to the main menu, first pushing the compulsory profile creation when no profile
// exists and changing to the menu once that closes.
#include "game/shell/WidgetLink.h"

#include <functional>

namespace Quoll
{
class TitleScreen;
}

class StartLoadState final : public WidgetLink
{
public:
    static constexpr const char* kTitleGroup = "TitleScreen";

    struct Next
    {
        GameState* loading = nullptr;
        GameState* mainMenu = nullptr;
        GameState* createProfile = nullptr;
        // Whether the player has at least one profile.
        std::function<bool()> hasProfile;
    };

    // artLanguage: the title's logo (0 the first language's).
    StartLoadState(StateHost& host, std::function<int()> artLanguage, Next next)
        : WidgetLink(host, "StartLoadState"), mArtLanguage(std::move(artLanguage)), mNext(std::move(next))
    {
    }

    [[nodiscard]] bool IsLoadingFinished() const { return mLoadingFinished; }

    void OnEnter() override;
    void OnExit() override;
    void OnResume() override;

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    std::function<int()> mArtLanguage;
    Next mNext;
    Quoll::TitleScreen* mTitle = nullptr;
    bool mLoadingFinished = false;
    bool mCreatingProfile = false;
};

#include "game/app/GameStates.h"

#include "game/app/GameApp.h"
#include "game/screens/CreditsDlg.h"
#include "game/screens/ScoresDlg.h"
#include "game/screens/SplashViewer.h"
#include "game/shell/PlayerData.h"

namespace
{
LoadState::Loading LoadingOf(GameApp& app)
{
    return {[&app] { return static_cast<float>(app.GetLoadingThreadProgress()); },
            [&app] { return app.IsLoadingFinished(); }};
}
} // namespace

GameStates::GameStates(GameApp& app, StateHost& host, ShellActions& actions, MainMenuServices& menu)
    : mSettings(host, actions),
      mScores(host, "ScoresState",
              DialogFactory(
                  [&app]() -> BaseWidget*
                  {
                      PlayerData* data = app.GetPlayerData();
                      return data != nullptr ? new ScoresDlg(data->GetScoreTable()) : nullptr;
                  })),
      mCredits(host, "CreditsState", DialogFactory([]() -> BaseWidget* { return new CreditsDlg; })),
      mExit(host, actions), mChangeProfile(host, actions), mCreateProfile(host, actions),
      mDifficulty(host, "ComplexityState"), mComics(host), mAchievesServices(app),
      mAchieves(host, mAchievesServices,
                [&app]
                {
                    app.GetAchievements().ClearNewAchievements();
                    if (PlayerData* data = app.GetPlayerData()) data->SaveCurrentProfile();
                }),
      mLevelMapServices(app),
      mLevelMap(host, actions, mLevelMapServices,
                {&mMainMenu, &mAchieves,
                 [this, &host](int level, FloatPoint centre) {
                     mLoadLevel.SetLevel(level, centre, mLevelMap.GetMap());
                     host.ChangeState(mLoadLevel);
                 },
                 &mComics}),
      mMainMenu(host, actions, menu,
                {&mSettings, &mScores, &mCredits, &mExit, &mChangeProfile, &mDifficulty, &mLevelMap,
                 &mComics}),
      mTutorialCancel(host, "TutorialCancelState"), mSavedGameQuestion(host, "StartSavedGameState"),
      mLoadLevel(host, app, {&mPlay, &mLevelMap}),
      mPlay(host, app, {&mInGame, &mTutorialCancel, &mMainMenu, &mEndLevel, &mEditor}), mInGame(host, mPlay), mLoad(host, LoadingOf(app)),
      mStartLoad(host, [&app] { return app.GetArtLanguage(); },
                 {&mLoad, &mMainMenu, &mCreateProfile,
                  [&app]
                  {
                      PlayerData* data = app.GetPlayerData();
                      return data == nullptr || data->HasProfile();
                  }}),
      mSplash(host, "SplashState", mStartLoad, [] { return new Quoll::SplashViewer; }),
      mEndLevel(host, app), mEditor(host, app, mPlay)
{
    mPlay.SetLevelMap(&mLevelMap);
    mLevelMap.SetLevelEditor([this, &host, &app](int level) {
        // The level starts (and raises its first events) before the editor's panel comes up.
        app.GetAchievements().SetEditorActive(true);
        mPlay.SetEditLevel(level, &mLevelMap);
        host.ChangeState(mPlay);
    });
    mMainMenu.SetSavedGame(&mSavedGameQuestion, [this, &host](int level) {
        mLoadLevel.SetContinueSavedGame(level, &mMainMenu);
        host.ChangeState(mLoadLevel);
    });
}

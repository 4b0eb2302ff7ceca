#include "game/screens/EndLevelDlg.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "game/level/RandomLevelProvider.h"
#include "game/ui/Button.h"
#include "game/ui/FormatLocalised.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kMaxStep = 0.1f;
constexpr float kLineSeconds = 0.5f;
constexpr float kZeroLineSeconds = 0.001f;
constexpr float kSkippedTimer = 100.0f;
constexpr float kMedalGrowth = 6.0f;
constexpr int kFiniteBursts = 6; // five bursts; the sixth expiry ends the show
constexpr int kMedalBurstBase = 9;
const Quoll::Color kShadow{0x000000, 120};
const Quoll::Color kHalo{0x000000, 160};
// The least room between the medal's picture and the restart button's row below it.
constexpr int kMedalGap = 0;

const char* const kLineKeys[] = {"UI_FINISH_SCORE_CAPTURE", "UI_FINISH_SCORE_FAST_GAME",
                                 "UI_FINISH_SCORE_SQUARE"};

// The score as the text's integer argument (shown through %u as unsigned).
int ScaledScore(uint32_t score, float fraction)
{
    return static_cast<int>(
        static_cast<uint32_t>(std::trunc(static_cast<double>(score) * fraction)));
}
} // namespace

EndLevelScores ScoresOf(const LevelParams& params)
{
    const auto word = [](int32_t value) { return static_cast<uint32_t>(value); };
    return {word(params.round), word(params.score), word(params.roundBonus), word(params.cellBonus),
            word(params.captureScore)};
}

EndLevelDlg::EndLevelDlg(EndLevelServices& services, const EndLevelResult& result,
                         const EndLevelScores& scores)
    : QuollDialog(kDialogId, kNoCancelCommand), mServices(services), mResult(result),
      mScores(scores)
{
}

void EndLevelDlg::StartFireworks(bool endless)
{
    mFireworksOn = true;
    mNextBurst = 0.1f;
    mBurstsLeft = endless ? -1 : kFiniteBursts;
}

void EndLevelDlg::Attach(WidgetLink* link)
{
    DialogRecipe recipe;
    recipe.group = "EndLevel";
    recipe.panelImage = "IMAGE_PANEL_ENDLEVEL";
    recipe.headerColor = Quoll::Color::White;
    recipe.linesFont = "FONT_FNT1";
    recipe.linesColor = ColorLabel;
    recipe.insets = {44, 75, 62, 140};
    // The score lines follow the header at the framework's spacing.
    recipe.spaceAfterHeader = 10;
    if (!BuildFrom(recipe)) return;
    mMouseVisible = true; // a click anywhere on the dialog skips the count-up
    mContinueButton = AddButton({kCommandContinue, "UI_OK", "IMAGE_BTN1", "IMAGE_BTN1_OVER"});
    mRestartButton = AddButton({kCommandRestart, "UI_RESTART", "IMAGE_BTN2", "IMAGE_BTN2_OVER"});
    mContinueButton->SetVisible(false);
    mRestartButton->SetVisible(false);
    if (IsWon())
        BuildWon();
    else
        BuildLost();

    mStage = mResult[0] == 1 ? 0 : kStageDone;
    if (mStage == kStageDone) PlayWinSound();
    mStageTimer = 0;
    mDialogFooter.clear();
    mMedal = nullptr;
    mServices.KillAllParticles();
    CentreOnPanel();
    QuollDialog::Attach(link);
}

void EndLevelDlg::BuildWon()
{
    mDialogHeader = FormatText("UI_LEVEL_WIN", {mServices.GetProfileName()});
    ComposeScoreLines(1.0f);
    const uint32_t counted[] = {mScores.capture, mScores.fastGame, mScores.square};
    for (size_t line = 0; line < mDurations.size(); ++line)
        mDurations[line] = counted[line] > 0
                               ? static_cast<float>((Grade() + 1) / 3.0 * kLineSeconds)
                               : kZeroLineSeconds;
}

void EndLevelDlg::BuildLost()
{
    UiServices& ui = Ui();
    mDialogHeader = FormatText(
        "UI_LEVEL_FAIL", {mServices.GetProfileName(), static_cast<int>(mScores.failureNumber)});
    mContinueButton->SetVisible(true);
    mRestartButton->SetVisible(true);
    if (mResult[0] > 0)
    {
        const int kind = std::clamp(mServices.GetPlayerBacteria(mResult[0]), 1, 8);
        mAvatar = kind == 1 ? ui.GetImageNamed("IMAGE_BIGBODY_1")
                            : ui.GetImageNamed("IMAGE_BIGBODY_" + std::to_string(kind) + "E");
    }
    else
    {
        mContentInsets = {44, 175, 62, 140};
    }
    ui.PlaySoundNamed("SOUND_LEVEL_LOOSE");
}

void EndLevelDlg::ComposeScoreLines(float fraction)
{
    const uint32_t counted[] = {mScores.capture, mScores.fastGame, mScores.square};
    std::wstring body;
    for (int line = 0; line < 3; ++line)
    {
        if (mStage < line) break;
        const float scale = mStage == line ? fraction : 1.0f;
        if (!body.empty()) body += L"\n";
        body += FormatText(kLineKeys[line], {ScaledScore(counted[line], scale)});
    }
    if (mStage >= kStageFinishing)
        body += L"\n" + FormatText("UI_FINISH_SCORE_TOTAL", {static_cast<int>(mScores.total)});
    mDialogLines = body;
    Ui().PlaySoundNamed("SOUND_SCORE_CALC");
}

void EndLevelDlg::Update()
{
    const float dt = std::min(mServices.GetFrameTime(), kMaxStep);
    if (mStage == kStageDone)
    {
        if (mMedal != nullptr && mStageTimer > 0)
        {
            mStageTimer = std::max(0.0f, mStageTimer - dt * kMedalGrowth);
            mMedalScale = 1.0f - mStageTimer;
        }
        if (mFireworksOn) StepFireworks(dt);
        return;
    }
    MarkDirty();
    if (mStage < kStageFinishing)
    {
        mStageTimer += dt;
        const float duration = mDurations.at(static_cast<size_t>(mStage));
        if (mStageTimer > duration)
        {
            Ui().PlaySoundNamed("SOUND_SCORE_CALC_FIN");
            ++mStage;
            mStageTimer = 0;
        }
        else
        {
            ComposeScoreLines(mStageTimer / duration);
        }
        return;
    }
    Finish();
}

void EndLevelDlg::Finish()
{
    UiServices& ui = Ui();
    ComposeScoreLines(1.0f);
    mContinueButton->SetVisible(true);
    mRestartButton->SetVisible(true);
    if (IsNewBest()) mDialogFooter = ui.GetText("UI_FINISH_LEVEL_HISCORE_HIT");
    if (mServices.GetCurrentLevel() > 0)
    {
        mMedal = ui.GetImageNamed("IMAGE_MEDAL" + std::to_string(std::clamp(Grade(), 0, 2) + 1));
        ui.PlaySoundNamed("SOUND_MEDAL_SHOW");
        mServices.OnAchievementEvent(Grade() == 2 ? kEventGoldMedal : kEventOtherMedal);
    }
    mStageTimer = 1.0f;
    mMedalScale = 0;
    mStage = kStageDone;
    PlayWinSound();
    // The burst matches the medal of this result, whatever the profile held before.
    if (mMedal != nullptr)
    {
        const int medal = std::clamp(Grade(), 0, 2);
        mServices.SpawnParticleSystem(medal + kMedalBurstBase, static_cast<float>(kMedalX),
                                      static_cast<float>(GetMedalY() - 10));
    }
}

void EndLevelDlg::PlayWinSound()
{
    if (IsWon())
        Ui().PlaySoundNamed(mFireworksOn && mBurstsLeft == -1 ? "SOUND_GAME_WIN"
                                                              : "SOUND_LEVEL_WIN");
}

void EndLevelDlg::StepFireworks(float dt)
{
    mNextBurst -= dt;
    if (mNextBurst >= 0) return;
    if (mBurstsLeft != -1 && --mBurstsLeft == 0)
    {
        mFireworksOn = false;
        return;
    }
    UiServices& ui = Ui();
    mNextBurst = ui.RandFloat(0.1f) + 0.05f;
    const int quarterWidth = ui.GetAppWidth() / 4;
    const int quarterHeight = ui.GetAppHeight() / 4;
    const int x = ui.RandInt(2 * quarterWidth) + quarterWidth - mX;
    const int y = ui.RandInt(2 * quarterHeight) - mY;
    mServices.SpawnParticleSystem(kFireworksSystem, static_cast<float>(x), static_cast<float>(y));
    ui.PlaySoundNamed("SOUND_SALUT");
}

bool EndLevelDlg::SkipCountUp()
{
    if (mStage >= kStageFinishing) return false;
    mStage = 2;
    mStageTimer = kSkippedTimer;
    return true;
}

void EndLevelDlg::KeyDown(int keyCode)
{
    if (keyCode == kKeyEnter)
    {
        SendWithSound(kCommandContinue);
    }
    else if (keyCode == kKeyEscape)
    {
        // One select sound whether Escape skips the count-up or leaves.
        if (SkipCountUp())
            Ui().PlaySoundNamed("SOUND_BUTTON_SELECT");
        else
            SendWithSound(kCommandContinue);
    }
}

void EndLevelDlg::MouseDown(int /*x*/, int /*y*/, int /*button*/, int /*clickCount*/)
{
    SkipCountUp();
}

void EndLevelDlg::ButtonRelease(int id)
{
    if (id == kCommandRestart && mServices.GetCurrentLevel() < 0) Game::RandomLevelReplay = true;
    SendToLink(id, 0);
}

void EndLevelDlg::Detach()
{
    mContinueButton = nullptr;
    mRestartButton = nullptr;
    QuollDialog::Detach();
    mServices.KillAllParticles();
}

void EndLevelDlg::Resize(int x, int y, int width, int height)
{
    QuollDialog::Resize(x, y, width, height);
    if (mContinueButton == nullptr) return;
    mContinueButton->PlaceAt(384, 365);
    mRestartButton->Resize(kRestartX, kRestartY, 250, 54);
}

void EndLevelDlg::Draw(Quoll::Graphics* g)
{
    QuollDialog::Draw(g);
    if (mAvatar != nullptr)
    {
        const int x = (mWidth - mAvatar->mWidth) / 2;
        const int y = (mHeight - mAvatar->mHeight) / 2;
        g->SetImageTint(true);
        g->SetColor(kShadow);
        g->DrawImage(mAvatar, x + 3, y + 3);
        g->SetImageTint(false);
        g->DrawImage(mAvatar, x, y);
    }
    if (mMedal != nullptr)
    {
        const Quoll::Rect medal = MedalRect();
        if (medal.width > 0 && medal.height > 0)
            g->DrawImage(mMedal, medal.x, medal.y, medal.width, medal.height);
    }
    g->ClearClipRect();
    mServices.DrawParticles(g);
    DrawTextsOverParticles(g);
}

Quoll::Rect EndLevelDlg::MedalRect() const
{
    if (mMedal == nullptr)
        return {};
    // Below the high-score line the medal would reach into the restart button's row: it is drawn
    // no larger than the room above that row allows.
    const int room = 2 * (kRestartY - kMedalGap - GetMedalY());
    const float fit = std::min(1.0f, static_cast<float>(room) / static_cast<float>(std::max(mMedal->mHeight, 1)));
    const float scale = mMedalScale * fit;
    const int width = static_cast<int>(static_cast<float>(mMedal->mWidth) * scale);
    const int height = static_cast<int>(static_cast<float>(mMedal->mHeight) * scale);
    return {kMedalX - width / 2, GetMedalY() - height / 2, width, height};
}

// The fireworks burst in front of the dialog; its texts are written once more above them, each
// in a dark halo, so that no burst hides a score.
void EndLevelDlg::DrawTextsOverParticles(Quoll::Graphics* g)
{
    const Quoll::Insets& in = mContentInsets;
    const int inner = mWidth - in.left - in.right;
    Quoll::Font* header = GetHeaderFont();
    const auto withHalo = [&](const Quoll::Color& colour, const auto& write) {
        g->SetColor(kHalo);
        for (const auto& [dx, dy] : {std::pair{1, 1}, {-1, -1}, {1, -1}, {-1, 1}})
            write(dx, dy);
        g->SetColor(colour);
        write(0, 0);
    };
    int top = in.top;
    if (header != nullptr && !mDialogHeader.empty())
    {
        g->SetFont(header);
        withHalo(GetColor(0), [&](int dx, int dy) {
            WriteString(g, mDialogHeader, in.left + dx, top + header->GetAscent() + dy, inner, 0);
        });
        top += header->GetHeight() + mSpaceAfterHeader;
    }
    if (Quoll::Font* lines = GetLinesFont(); lines != nullptr && !mDialogLines.empty())
    {
        g->SetFont(lines);
        withHalo(GetColor(1), [&](int dx, int dy) {
            g->DrawWordWrapped(Quoll::Rect(in.left + dx, top + dy, inner, mHeight - top), mDialogLines, -1, mTextAlign);
        });
    }
    if (header != nullptr && !mDialogFooter.empty())
    {
        g->SetFont(header);
        const int baseline = mHeight - in.bottom - header->GetHeight() + header->GetAscent();
        withHalo(GetColor(2), [&](int dx, int dy) {
            WriteString(g, mDialogFooter, in.left + dx, baseline + dy, inner, 0);
        });
    }
}

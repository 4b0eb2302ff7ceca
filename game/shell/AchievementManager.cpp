#include "game/shell/AchievementManager.h"

#include "game/level/TutorialSteps.h"

#include <cassert>

namespace
{
AchievementManager* gAchievementManager = nullptr;
const std::vector<int> kNoAchievements;
} // namespace

AchievementManager::AchievementManager(const TutorialSteps* tutorial) : mTutorial(tutorial)
{
    assert(gAchievementManager == nullptr && "AchievementManager: one manager at a time");
    gAchievementManager = this;
}

AchievementManager::~AchievementManager()
{
    if (gAchievementManager == this)
        gAchievementManager = nullptr;
}

AchievementManager* AchievementManager::Get() { return gAchievementManager; }

void AchievementManager::SetRecord(AchievementRecord* record)
{
    mRecord = record;
    mQueue.clear();
    mShowing = false;
}

bool AchievementManager::Accepts(int eventId) const
{
    if (mRecord == nullptr || !AchievementRules::IsEventId(eventId) || mEditorActive)
        return false;
    // During a tutorial step only the tutorial's own event counts, and it counts only then.
    const bool stepShown = mTutorial != nullptr && mTutorial->IsStepActive();
    return stepShown == (eventId == kTutorialEvent);
}

void AchievementManager::OnEvent(int eventId)
{
    if (!Accepts(eventId))
        return;
    mRecord->CountEvent(eventId);
    for (int number = 1; number <= AchievementRules::kAchievementCount; ++number)
    {
        const AchievementRule& rule = AchievementRules::Get(number);
        if (eventId < rule.firstEvent || eventId > rule.lastEvent || mRecord->IsAchieved(number))
            continue;
        if (mRecord->CountFor(rule) >= rule.count)
            Earn(number);
    }
}

void AchievementManager::Earn(int number)
{
    mRecord->Achieve(number);
    mQueue.push_back(number);
    if (!mShowing)
        StartNextPopup();
}

bool AchievementManager::IsAchieved(int number, bool* outIsNew) const
{
    const bool achieved = mRecord != nullptr && mRecord->IsAchieved(number);
    if (outIsNew != nullptr)
        *outIsNew = achieved && mRecord->IsNew(number);
    return achieved;
}

const std::vector<int>& AchievementManager::GetNewAchievements() const
{
    return mRecord != nullptr ? mRecord->GetNewAchievements() : kNoAchievements;
}

void AchievementManager::ClearNewAchievements()
{
    if (mRecord != nullptr)
        mRecord->ClearNew();
}

float AchievementManager::PhaseLength(AchievementPopup::Phase phase)
{
    switch (phase)
    {
    case AchievementPopup::Phase::SlidingIn:
        return kPopupInTime;
    case AchievementPopup::Phase::Caption:
        return kPopupCaptionTime;
    case AchievementPopup::Phase::SlidingOut:
        return kPopupOutTime;
    }
    return kPopupOutTime;
}

void AchievementManager::StartNextPopup()
{
    mShowing = !mQueue.empty();
    if (!mShowing)
        return;
    mPopup = AchievementPopup{mQueue.front(), AchievementPopup::Phase::SlidingIn, 0.0f};
    mQueue.pop_front();
    mPhaseTime = 0.0f;
}

void AchievementManager::UpdatePopup(float dt)
{
    if (!mShowing || dt <= 0.0f)
        return;
    mPhaseTime += dt;
    // A long step may run through several phases (and popups); each takes its own length.
    while (mShowing && mPhaseTime >= PhaseLength(mPopup.phase))
    {
        mPhaseTime -= PhaseLength(mPopup.phase);
        switch (mPopup.phase)
        {
        case AchievementPopup::Phase::SlidingIn:
            mPopup.phase = AchievementPopup::Phase::Caption;
            break;
        case AchievementPopup::Phase::Caption:
            mPopup.phase = AchievementPopup::Phase::SlidingOut;
            break;
        case AchievementPopup::Phase::SlidingOut:
            StartNextPopup();
            break;
        }
    }
    if (mShowing)
        mPopup.progress = mPhaseTime / PhaseLength(mPopup.phase);
}

bool AchievementManager::IsPopupPending() const { return mShowing || !mQueue.empty(); }

bool AchievementManager::IsPopupTextShown() const
{
    return mShowing && mPopup.phase == AchievementPopup::Phase::Caption;
}

void AchievementManager::DrawPopup(Quoll::Graphics* graphics) const
{
    if (mShowing && mPainter)
        mPainter(graphics, mPopup);
}

#include "game/screens/Bulbulator.h"

#include "framework/display/Graphics.h"
#include "game/level/LevelList.h"
#include "game/scene/FrameAnimation.h"
#include "game/scene/TextRecord.h"
#include "game/shell/PlayServices.h"

#include <cmath>

namespace
{
// Every bulb borrows the frames of the first episode's bulb of its orientation.
constexpr const char* kVerticalFrames = "IMAGE_BULB_V_1";
constexpr const char* kHorizontalFrames = "IMAGE_BULB_H_1";

bool Overlaps(const Quoll::Rect& node, const Quoll::Rect& area)
{
    return node.x + node.width > area.x && node.y + node.height > area.y && node.x < area.x + area.width &&
           node.y < area.y + area.height;
}
} // namespace

Bulbulator::Bulbulator(PlayServices& services, const LevelList& levels) : mServices(services), mLevels(levels) {}

Bulbulator::~Bulbulator() = default;

const char* Bulbulator::GetBulbImage(int episode, bool vertical, bool big)
{
    // Rows: episodes 1..6; columns: small horizontal, small vertical, big horizontal, big vertical.
    static constexpr const char* kTable[6][4] = {
        {"IMAGE_BULB_H_1", "IMAGE_BULB_V_1", "IMAGE_BULB_H_1BIG", nullptr},
        {"IMAGE_BULB_H_2", "IMAGE_BULB_V_2", nullptr, nullptr},
        {"IMAGE_BULB_H_3", "IMAGE_BULB_V_3", nullptr, nullptr},
        {"IMAGE_BULB_H_4", "IMAGE_BULB_V_4", nullptr, nullptr},
        {"IMAGE_BULB_H_5", "IMAGE_BULB_V_5", "IMAGE_BULB_H_5BIG", "IMAGE_BULB_V_5BIG"},
        {nullptr, nullptr, "IMAGE_BULB_H_6BIG", "IMAGE_BULB_V_6BIG"},
    };
    if (episode < 1 || episode > 6)
        return nullptr;
    return kTable[episode - 1][(big ? 2 : 0) + (vertical ? 1 : 0)];
}

bool Bulbulator::Load(const std::vector<const MapNodeView*>& nodes, const std::string& path)
{
    std::vector<TextRecord> records;
    if (!LoadTextRecords(records, path, mServices))
        return false;
    for (const TextRecord& record : records)
    {
        const Quoll::Rect area{record.value1, record.value2, record.value3, record.value4};
        const MapNodeView* owner = nullptr;
        for (const MapNodeView* node : nodes)
            if (node != nullptr && Overlaps(node->GetRect(), area))
            {
                owner = node;
                break;
            }
        if (owner == nullptr || mLevels.IsGroupComplete(owner->GetGroup()))
            continue;
        const bool vertical = record.name.find("vert") != std::string::npos;
        const bool big = record.name.find("big") != std::string::npos;
        AddBulb(owner, area, vertical, big);
    }
    return true;
}

void Bulbulator::AddBulb(const MapNodeView* node, const Quoll::Rect& area, bool vertical, bool big)
{
    // The last group shows the boss's bulbs.
    const int group = node->GetGroup();
    const int episode = group == mLevels.GetGroupCount() ? 6 : mLevels.GetGroupEpisode(group);
    Bulb& bulb = mBulbs.emplace_back();
    bulb.node = node;
    bulb.area = area;
    bulb.timer = mServices.RandFloat(15.0f);
    if (const char* name = GetBulbImage(episode, vertical, big))
        bulb.sprite.mImage = mServices.GetImageById(mServices.GetResourceIdByName(name));
    const char* frames = vertical ? kVerticalFrames : kHorizontalFrames;
    Quoll::Image* framesImage = mServices.GetImageById(mServices.GetResourceIdByName(frames));
    bulb.sprite.mClock.SetAnimation(mServices.GetFrameAnimation(framesImage));
}

bool Bulbulator::CanShow(const Bulb& bulb)
{
    const FrameAnimation* frames = bulb.sprite.mClock.GetAnimation();
    return bulb.sprite.mImage != nullptr && frames != nullptr && frames->GetFrameCount() > 0 &&
           frames->GetDuration() > 0;
}

void Bulbulator::Update(float dt)
{
    for (Bulb& bulb : mBulbs)
    {
        if (!bulb.node->IsFullyShown())
            continue;
        if (bulb.sprite.mClock.IsPlaying())
        {
            bulb.sprite.Update(dt);
            if (!bulb.sprite.mClock.IsPlaying())
                bulb.timer = mServices.RandFloat(IsHovered(bulb) ? 2.0f : 3.0f);
        }
        else if (mActive && bulb.node->GetGlow() == 0.0f && CanShow(bulb))
        {
            bulb.timer -= dt;
            if (bulb.timer < 0.0f)
                Fire(bulb);
        }
    }
}

void Bulbulator::Fire(Bulb& bulb)
{
    const auto w = static_cast<float>(bulb.sprite.GetWidth());
    const auto h = static_cast<float>(bulb.sprite.GetHeight());
    bulb.drawX = static_cast<float>(bulb.area.x) + mServices.RandFloat(static_cast<float>(bulb.area.width)) - w * 0.5f;
    bulb.drawY = static_cast<float>(bulb.area.y) + mServices.RandFloat(static_cast<float>(bulb.area.height)) - h * 0.5f;

    AnimClock& clock = bulb.sprite.mClock;
    clock.Reset();
    clock.Play(1);
    clock.mSpeed = 1.0f + mServices.RandFloat(0.5f) + (IsHovered(bulb) ? 0.2f : 0.0f);

    // Farther pops are louder, up to the silent distance; the pan follows the flash's side.
    const PointerPosition mouse = mServices.GetMousePos();
    const float distance = std::hypot(mouse.x - bulb.drawX, mouse.y - bulb.drawY);
    if (distance < kSilentDistance)
    {
        const float volume = (distance / kSilentDistance * 0.5f + 0.5f) * 0.1f;
        const auto half = static_cast<float>(mServices.GetAppWidth() / 2);
        const float pan = (bulb.drawX - half) / half * 10.0f;
        mServices.PlaySound(mServices.GetResourceIdByName("SOUND_BULB_POP1"), volume, pan);
    }
}

void Bulbulator::Draw(Quoll::Graphics* g)
{
    for (Bulb& bulb : mBulbs)
        if (bulb.node->IsFullyShown() && bulb.sprite.mClock.IsPlaying())
            bulb.sprite.Draw(g, bulb.drawX, bulb.drawY, Quoll::Color(255, 255, 255));
}

#include "game/play/Avatar.h"

#include "game/scene/MeshDescription.h"
#include "game/scene/MeshNode.h"
#include "game/shell/SceneServices.h"

#include <array>
#include <string>

namespace
{
// Per kind, the eyes of the normal look, a blink and rage (null: no overlay).
constexpr std::array<std::array<const char*, 3>, 8> kEyeImages{{
    {"IMAGE_EYE1_NORMAL", "IMAGE_EYE1_BLINK", "IMAGE_EYE1_YAROST"},
    {nullptr, "IMAGE_EYE2_BLINK", nullptr},
    {nullptr, "IMAGE_EYE3_BLINK", nullptr},
    {nullptr, "IMAGE_EYE4_BLINK", nullptr},
    {nullptr, "IMAGE_EYE5_BLINK", nullptr},
    {nullptr, "IMAGE_EYE6_BLINK", nullptr},
    {nullptr, "IMAGE_EYE7_BLINK", nullptr},
    {nullptr, "IMAGE_EYE8_BLINK", nullptr},
}};
constexpr std::array<FloatPoint, 8> kEyeOffsets{{{47, 49}, {29, 47}, {61, 65}, {31, 80}, {9, 66}, {13, 38}, {17, 67}, {41, 30}}};

// Per kind, the mouth of the normal look and of rage, with their offsets.
constexpr std::array<std::array<const char*, 2>, 8> kMouthImages{{
    {"IMAGE_MOUTH1_NORMAL", "IMAGE_MOUTH1_YAROST"},
    {nullptr, "IMAGE_MOUTH2_YAROST"},
    {nullptr, "IMAGE_MOUTH3_YAROST"},
    {nullptr, "IMAGE_MOUTH4_YAROST"},
    {"IMAGE_MOUTH5_YAROST", nullptr},
    {nullptr, "IMAGE_MOUTH6_YAROST"},
    {nullptr, "IMAGE_MOUTH7_YAROST"},
    {nullptr, "IMAGE_MOUTH8_YAROST2"},
}};
constexpr std::array<FloatPoint, 8> kMouthOffsets{
    {{57, 123}, {21, 101}, {57, 104}, {27, 124}, {13, 106}, {9, 30}, {11, 102}, {39, 25}}};

// The beaten mouth of the hero's second expression.
constexpr const char* kBeatenMouth = "IMAGE_MOUTH1_BEATEN";
constexpr FloatPoint kBeatenMouthOffset{77, 133};
} // namespace

Avatar::Avatar(SceneServices& services) : mServices(services), mScheduler(services)
{
    // Overlay offsets name their top-left corner, also when scaled.
    mEye.mCentred = false;
    mMouth.mCentred = false;
}

void Avatar::Load(int bacteriaKind)
{
    mKind = bacteriaKind;
    if (mMesh != nullptr)
    {
        RemoveChild(mMesh);
        delete mMesh;
        mMesh = nullptr;
    }
    const std::string path = std::string(kMeshFolder) + "body" + std::to_string(bacteriaKind) + ".mesh";
    if (auto mesh = LoadMeshNode(path, mServices))
    {
        mMesh = mesh.release();
        AddChild(mMesh);
    }
    mScheduler.SetTarget(this);
    // The negative time ends the first step at once; the empty queue then plans the idle cycle.
    mScheduler.Say(0, -1.0f, true);
    mScheduler.SetIdle({2.0f, 3.0f, 0.1f, 0.1f, bacteriaKind == 1 ? 3 : 2});
}

void Avatar::SetEmotion(int value)
{
    mScheduler.Say(value, 0, true);
}

void Avatar::SetScale(float scale)
{
    mScaleX = scale;
    mScaleY = scale;
    if (mMesh != nullptr && mMesh->GetGrid() != nullptr)
    {
        mMesh->GetGrid()->mScaleX = scale;
        mMesh->GetGrid()->mScaleY = scale;
    }
    mEye.SetScale(scale);
    mMouth.SetScale(scale);
}

void Avatar::SetColour(const Quoll::Color& color)
{
    mColor = color;
    if (mMesh != nullptr && mMesh->GetGrid() != nullptr)
        mMesh->GetGrid()->SetColour(color);
}

Quoll::Rect Avatar::GetRect() const
{
    if (mMesh == nullptr || mMesh->GetGrid() == nullptr)
        return {0, 0, 0, 0};
    return {0, 0, mMesh->GetGrid()->GetWidth(), mMesh->GetGrid()->GetHeight()};
}

void Avatar::Update(float dt)
{
    VisualNode::Update(dt);
    mScheduler.Update(dt);
}

void Avatar::Draw(Quoll::Graphics* g)
{
    VisualNode::Draw(g);
    const FloatPoint p = GetWorldPosition();
    if (mEye.mImage != nullptr)
        mEye.Draw(g, p.x + mScaleX * mEyeOffset.x, p.y + mScaleY * mEyeOffset.y, Quoll::Color::White);
    if (mMouth.mImage != nullptr)
        mMouth.Draw(g, p.x + mScaleX * mMouthOffset.x, p.y + mScaleY * mMouthOffset.y, Quoll::Color::White);
}

void Avatar::SetOverlay(Sprite& sprite, FloatPoint& offset, const Overlay& overlay)
{
    sprite.mImage =
        overlay.image == nullptr ? nullptr : mServices.GetImageById(mServices.GetResourceIdByName(overlay.image));
    offset = overlay.offset;
}

void Avatar::ShowEmotion(const EmotionEntry& entry)
{
    // Eye row: 0 normal, 1 blink, 2 rage; mouth row: 0 normal, 1 rage; -1: no eyes, beaten mouth.
    int eyeRow = 0;
    int mouthRow = 0;
    if (entry.value == 0 || entry.value == 1)
        eyeRow = entry.type == EmotionEntry::Gesture ? 1 : 0;
    else if (entry.value == 2)
    {
        eyeRow = 2;
        mouthRow = 1;
    }
    if (mKind == 1 && entry.value == 1)
    {
        eyeRow = -1;
        mouthRow = -1;
    }
    const bool known = mKind >= 1 && mKind <= 8;
    const auto k = static_cast<size_t>(known ? mKind - 1 : 0);
    if (!known || eyeRow < 0)
        SetOverlay(mEye, mEyeOffset, {nullptr, {}});
    else
        SetOverlay(mEye, mEyeOffset, {kEyeImages[k][static_cast<size_t>(eyeRow)], kEyeOffsets[k]});
    if (!known)
        SetOverlay(mMouth, mMouthOffset, {nullptr, {}});
    else if (mouthRow < 0)
        SetOverlay(mMouth, mMouthOffset, {kBeatenMouth, kBeatenMouthOffset});
    else
        SetOverlay(mMouth, mMouthOffset, {kMouthImages[k][static_cast<size_t>(mouthRow)], kMouthOffsets[k]});
}

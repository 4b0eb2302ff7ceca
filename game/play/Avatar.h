#pragma once
// Avatar: a player's large face in the HUD: the bust mesh of its bacteria kind with eye and
// mouth overlays that show the expression steps of its own emotion scheduler. Left alone it
// pauses and blinks; SetEmotion interrupts with a new expression.
#include "game/play/EmotionScheduler.h"
#include "game/play/EmotionTarget.h"
#include "game/scene/Sprite.h"
#include "game/scene/VisualNode.h"

class MeshNode;
class SceneServices;

class Avatar : public VisualNode, public EmotionTarget
{
public:
    // Folder of the bust meshes, "body<kind>.mesh".
    static constexpr const char* kMeshFolder = "data/art/textures/objects/avatars/";

    explicit Avatar(SceneServices& services);

    // Loads the bust of the kind (1..8; 8 is the boss) as the child mesh and starts the idle
    // cycle. Without a mesh (logged by the loader) the avatar has a size of 0 x 0.
    void Load(int bacteriaKind);
    // Interrupts with the expression (0 normal, 1 second expression, 2 rage).
    void SetEmotion(int value);
    // Scales the bust and its overlays.
    void SetScale(float scale);
    // The node colour and the bust's vertex colour (grey 128 is neutral).
    void SetColour(const Quoll::Color& color);
    // (0, 0, width, height) of the bust; all zero without a mesh.
    [[nodiscard]] Quoll::Rect GetRect() const;

    void Update(float dt) override;
    void Draw(Quoll::Graphics* g) override;
    [[nodiscard]] bool IsReady() override { return true; }
    void ShowEmotion(const EmotionEntry& entry) override;

    [[nodiscard]] int GetKind() const { return mKind; }
    [[nodiscard]] MeshNode* GetMesh() const { return mMesh; }
    [[nodiscard]] const EmotionScheduler& GetScheduler() const { return mScheduler; }
    [[nodiscard]] const Sprite& GetEyeSprite() const { return mEye; }
    [[nodiscard]] const Sprite& GetMouthSprite() const { return mMouth; }
    [[nodiscard]] const FloatPoint& GetEyeOffset() const { return mEyeOffset; }
    [[nodiscard]] const FloatPoint& GetMouthOffset() const { return mMouthOffset; }

private:
    struct Overlay
    {
        const char* image;
        FloatPoint offset;
    };
    void SetOverlay(Sprite& sprite, FloatPoint& offset, const Overlay& overlay);

    SceneServices& mServices;
    MeshNode* mMesh = nullptr;
    EmotionScheduler mScheduler;
    int mKind = 0;
    Sprite mEye;
    FloatPoint mEyeOffset;
    Sprite mMouth;
    FloatPoint mMouthOffset;
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
};

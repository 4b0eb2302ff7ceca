#pragma once
// Fone: the background node of a screen, a stack of mesh layers read from a description file
// (see MeshDescription.h). The layers are its children, the first one lowest. A flash makes every
// layer twice as bright and fades back to normal over its length; it changes only the vertices'
// colour, each layer keeping the opacity it was loaded with.
#include "game/scene/MeshNode.h"
#include "game/scene/VisualNode.h"

#include <string>
#include <vector>

class SceneServices;

class Fone : public VisualNode
{
public:
    explicit Fone(SceneServices& services) : mServices(services) {}

    // "data/art/textures/fones/" + n + ".fone".
    [[nodiscard]] static std::string PathOfIndex(int n);
    bool LoadByIndex(int n);
    // Adds every layer of the file as a child; false (with "Cannot load fone: " + path on the
    // "ERROR" log when the file cannot be opened) when no layer was created.
    bool Load(const std::string& path);
    // Starts (or replaces) a flash of that many seconds; 0 or less sets the neutral grey at once.
    void StartFlash(float seconds);
    // The layers' affectors, then the flash.
    void Update(float dt) override;

    [[nodiscard]] const std::vector<MeshNode*>& GetLayers() const { return mLayers; }
    [[nodiscard]] float GetFlashTime() const { return mFlashTime; }

private:
    // Every layer's vertex colour: grey g with the layer's load-time alpha.
    void SetLayersGrey(int grey);

    SceneServices& mServices;
    // The children created by the last load (owned as children).
    std::vector<MeshNode*> mLayers;
    // The vertex alpha each layer was loaded with, by layer.
    std::vector<int> mLayerAlphas;
    float mFlashTime = 0.0f;
    float mFlashLength = 0.0f;
};

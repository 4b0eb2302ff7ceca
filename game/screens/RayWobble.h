#pragma once
// RayWobble: makes a bacteria icon of a level cell drift inside a circle: it moves in a straight
// line and, on reaching the rim, is put back onto it and turned back inwards at a random angle.
class SceneServices;

struct RayWobble
{
    // Centres the drift, then places it at a random point of the circle along a random heading.
    void Start(float radiusIn, float speed, SceneServices& random);
    void Step(float dt, SceneServices& random);

    float radius = 0.0f;
    float velocityX = 0.0f, velocityY = 0.0f;
    float offsetX = 0.0f, offsetY = 0.0f;
};

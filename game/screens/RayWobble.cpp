#include "game/screens/RayWobble.h"

#include "game/shell/SceneServices.h"

#include <cmath>
#include <numbers>

void RayWobble::Start(float radiusIn, float speed, SceneServices& random)
{
    radius = radiusIn;
    offsetX = 0.0f;
    offsetY = 0.0f;
    const float heading = random.RandFloat(2.0f * std::numbers::pi_v<float>);
    const float dx = std::cos(heading);
    const float dy = std::sin(heading);
    const float distance = random.RandFloat(radius);
    offsetX = dx * distance;
    offsetY = dy * distance;
    velocityX = dx * speed;
    velocityY = dy * speed;
}

void RayWobble::Step(float dt, SceneServices& random)
{
    offsetX += velocityX * dt;
    offsetY += velocityY * dt;
    const float length = std::sqrt(offsetX * offsetX + offsetY * offsetY);
    if (length <= radius)
        return;
    offsetX *= radius / length;
    offsetY *= radius / length;
    constexpr float kPi = std::numbers::pi_v<float>;
    const float b = std::atan2(-offsetY, offsetX) + 3.0f * kPi / 4.0f + random.RandFloat(kPi / 2.0f);
    const float vx = velocityX;
    const float vy = velocityY;
    velocityX = std::cos(b) * vx + std::sin(b) * vy;
    velocityY = -std::sin(b) * vx + std::cos(b) * vy;
}

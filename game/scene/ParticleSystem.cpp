#include "game/scene/ParticleSystem.h"

#include "framework/display/Graphics.h"
#include "framework/display/Transform.h"
#include "game/scene/ParticleRandom.h"
#include "game/scene/Truncate.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace
{
constexpr float kHalfPi = 1.5707963705062866f;
// Velocities are in pixels per 0.05 s; accelerations per second.
constexpr float kVelocityTime = 0.05f;

struct Vec
{
    float x, y;
};

Vec Normalise(Vec v)
{
    const float k = InvSqrt(v.x * v.x + v.y * v.y);
    return {v.x * k, v.y * k};
}

// The change per second that takes value to end over the particle's life; none for a particle
// that dies at birth.
float DeltaTo(float end, float value, float terminalAge)
{
    return terminalAge != 0.0f ? (end - value) / terminalAge : 0.0f;
}

int ChannelByte(float c)
{
    return std::clamp(TruncToInt(255.0 * static_cast<double>(c)), 0, 255);
}
} // namespace

float InvSqrt(float x)
{
    const auto i = std::bit_cast<int32_t>(x);
    const float y = std::bit_cast<float>(0x5F3759DF - (i >> 1));
    return y * (1.5f - (x * 0.4999f) * y * y);
}

uint32_t PackParticleColour(float r, float g, float b, float a)
{
    return static_cast<uint32_t>(ChannelByte(a)) << 24 | static_cast<uint32_t>(ChannelByte(r)) << 16 |
           static_cast<uint32_t>(ChannelByte(g)) << 8 | static_cast<uint32_t>(ChannelByte(b));
}

ParticleSystem::ParticleSystem(const ParticleFile& file, Quoll::Image* image, float frameRate, ParticleRandom& random,
                               bool is3D)
    : mDesc(file.desc), mImage(image), mMask(file.mask), mPath(file.path), mAdditive(file.additive),
      mPathMode(file.pathMode), mPathTime(file.pathTime), mFixedStep(frameRate != 0.0f ? 1.0f / frameRate : 0.0f),
      mRandom(random), mIs3D(is3D)
{
    if (file.hasLocation)
    {
        mPrevX = mX = file.locationX;
        mPrevY = mY = file.locationY;
    }
}

void ParticleSystem::MoveTo(float x, float y)
{
    if (mAge == kStopped)
    {
        mPrevX = x;
        mPrevY = y;
    }
    else
    {
        mPrevX = mX;
        mPrevY = mY;
    }
    mX = x;
    mY = y;
}

void ParticleSystem::FireAt(float x, float y)
{
    Stop();
    MoveTo(x, y);
    Fire();
}

void ParticleSystem::Fire()
{
    mAge = mDesc.lifetime == kEndless ? kEndless : 0.0f;
    mAccumulator = 0.0f;
}

void ParticleSystem::StartPath()
{
    if (mPath.size() < 2)
    {
        mPathRunning = false;
        return;
    }
    FireAt(static_cast<float>(mPath[0].x), static_cast<float>(mPath[0].y));
    mPathRunning = true;
    mPathIndex = 0;
    mPathDirection = 0;
    const float step = mPathTime / static_cast<float>(mPath.size());
    mPathStepTime = step > 0.0f ? step : 0.05f;
    mPathElapsed = 0.0f;
}

void ParticleSystem::AdvancePath(float dt)
{
    if (!mPathRunning)
        return;
    const auto last = static_cast<uint32_t>(mPath.size() - 1);
    mPathElapsed += dt;
    // A path repeats within two passes over its points; a step time far below the update's
    // leaves the rest of the time on the current step instead of walking it off point by point.
    const size_t bound = 2 * mPath.size() + 2;
    for (size_t walked = 0; mPathRunning && mPathElapsed > mPathStepTime; ++walked)
    {
        if (walked == bound)
        {
            mPathElapsed = std::fmod(mPathElapsed, mPathStepTime);
            break;
        }
        mPathElapsed -= mPathStepTime;
        switch (mPathMode)
        {
        case kPathOnce:
            if (++mPathIndex >= last)
                mPathRunning = false;
            break;
        case kPathLoop:
            mPathIndex = (mPathIndex + 1) % last;
            break;
        case kPathPingPong:
            if (mPathDirection == 0 && ++mPathIndex >= last)
            {
                mPathIndex = last;
                mPathDirection = 1;
            }
            else if (mPathDirection == 1 && mPathIndex-- == 0)
            {
                mPathIndex = 0;
                mPathDirection = 0;
            }
            break;
        default:
            mPathRunning = false;
            break;
        }
    }
    if (!mPathRunning)
        return;
    // The emitter advances point by point: the offset is the unit direction of the current
    // segment times the fraction of the step, not the segment itself.
    const bool backward = mPathMode == kPathPingPong && mPathDirection == 1;
    if (backward ? mPathIndex == 0 : mPathIndex >= last)
        return;
    const ParticlePoint& from = mPath[mPathIndex];
    const ParticlePoint& to = mPath[backward ? mPathIndex - 1 : mPathIndex + 1];
    Vec d = Normalise({static_cast<float>(int64_t{to.x} - from.x), static_cast<float>(int64_t{to.y} - from.y)});
    if (mPathStepTime != 0.0f)
    {
        const float fraction = mPathElapsed / mPathStepTime;
        d = {d.x * fraction, d.y * fraction};
    }
    MoveTo(static_cast<float>(TruncToInt(static_cast<float>(from.x) + d.x)),
           static_cast<float>(TruncToInt(static_cast<float>(from.y) + d.y)));
}

void ParticleSystem::Update(float dt)
{
    if (mFixedStep == 0.0f)
    {
        Step(dt);
        return;
    }
    mAccumulator += dt;
    while (mAccumulator >= mFixedStep)
    {
        Step(mFixedStep);
        mAccumulator -= mFixedStep;
    }
}

void ParticleSystem::Step(float dt)
{
    if (mAge >= 0.0f)
    {
        mAge += dt;
        if (mAge >= mDesc.lifetime)
            mAge = kStopped;
    }
    AdvancePath(dt);
    MoveParticles(dt);
    if (mAge != kStopped)
        Emit(dt);
    mPrevX = mX;
    mPrevY = mY;
}

void ParticleSystem::MoveParticles(float dt)
{
    for (int i = 0; i < mLiveCount;)
    {
        Particle& p = mParticles[static_cast<size_t>(i)];
        p.age += dt;
        if (p.age >= p.terminalAge)
        {
            // The last live particle takes the dead one's place and is handled next.
            --mLiveCount;
            p = mParticles[static_cast<size_t>(mLiveCount)];
            continue;
        }
        const Vec n = Normalise({p.x - mX, p.y - mY});
        p.velocityX += (n.x * p.radial + -n.y * p.tangential) * dt;
        p.velocityY += (n.y * p.radial + n.x * p.tangential) * dt;
        p.velocityY += p.gravity * dt;
        const float move = dt / kVelocityTime;
        p.x += p.velocityX * move;
        p.y += p.velocityY * move;
        p.spin += p.spinDelta * dt;
        p.size += p.sizeDelta * dt;
        p.r += p.deltaR * dt;
        p.g += p.deltaG * dt;
        p.b += p.deltaB * dt;
        p.a += p.deltaA * dt;
        ++i;
    }
}

void ParticleSystem::Emit(float dt)
{
    // The fraction of a particle not emitted this step is carried to the next.
    const float needed = static_cast<float>(mDesc.emission) * dt + mEmissionResidue;
    const int k = std::max(TruncToInt(needed), 0);
    mEmissionResidue = needed - static_cast<float>(k);
    for (int j = 0; j < k && mLiveCount < kMaxParticles; ++j)
    {
        InitParticle(mParticles[static_cast<size_t>(mLiveCount)], static_cast<float>(j) / static_cast<float>(k));
        ++mLiveCount;
    }
}

void ParticleSystem::InitParticle(Particle& p, float fraction)
{
    const ParticleDesc& d = mDesc;
    p.age = 0.0f;
    p.terminalAge = mRandom.Float(d.lifeMin, d.lifeMax);
    // Spread evenly along the emitter's move of this step, with a little jitter.
    p.x = mPrevX + (mX - mPrevX) * fraction;
    p.y = mPrevY + (mY - mPrevY) * fraction;
    p.x += mRandom.Float(-2.0f, 2.0f);
    p.y += mRandom.Float(-2.0f, 2.0f);
    // Direction 0 points up (y grows downwards); a relative emitter turns with its motion.
    float angle = d.direction - kHalfPi + mRandom.Float(0.0f, d.spread) - d.spread * 0.5f;
    if (d.relative != 0)
        angle += std::atan2(mPrevY - mY, mPrevX - mX) + kHalfPi;
    const float speed = mRandom.Float(d.speedMin, d.speedMax);
    p.velocityX = std::cos(angle) * speed;
    p.velocityY = std::sin(angle) * speed;
    p.gravity = mRandom.Float(d.gravityMin, d.gravityMax);
    p.radial = mRandom.Float(d.radialMin, d.radialMax);
    p.tangential = mRandom.Float(d.tangentialMin, d.tangentialMax);
    p.size = mRandom.Float(d.sizeStart, d.sizeStart + (d.sizeEnd - d.sizeStart) * d.sizeVariation);
    p.sizeDelta = DeltaTo(d.sizeEnd, p.size, p.terminalAge);
    p.spin = mRandom.Float(d.spinStart, d.spinStart + (d.spinEnd - d.spinStart) * d.spinVariation);
    p.spinDelta = DeltaTo(d.spinEnd, p.spin, p.terminalAge);
    float* channels[] = {&p.r, &p.g, &p.b};
    float* deltas[] = {&p.deltaR, &p.deltaG, &p.deltaB};
    for (int c = 0; c < 3; ++c)
    {
        const float start = d.colourStart[c], end = d.colourEnd[c];
        *channels[c] = mRandom.Float(start, start + (end - start) * d.colourVariation);
        *deltas[c] = DeltaTo(end, *channels[c], p.terminalAge);
    }
    p.a = mRandom.Float(d.colourStart[3], d.colourStart[3] + (d.colourEnd[3] - d.colourStart[3]) * d.alphaVariation);
    p.deltaA = DeltaTo(d.colourEnd[3], p.a, p.terminalAge);
}

bool ParticleSystem::InsideMask(int x, int y, bool closed) const
{
    const size_t count = mMask.size();
    if (count < 2)
        return false;
    // Winding number; the closing edge from the last point back to the first only when asked.
    const size_t edges = closed ? count : count - 1;
    int winding = 0;
    for (size_t i = 0; i < edges; ++i)
    {
        const ParticlePoint& a = mMask[i];
        const ParticlePoint& b = mMask[(i + 1) % count];
        // In 128 bits: the points may be anywhere in the 32-bit range.
        using Wide = __int128;
        const Wide isLeft = Wide{int64_t{b.x} - a.x} * (int64_t{y} - a.y) - Wide{int64_t{x} - a.x} * (int64_t{b.y} - a.y);
        if (a.y <= y && y < b.y && isLeft > 0)
            ++winding;
        else if (b.y <= y && y < a.y && isLeft < 0)
            --winding;
    }
    return winding != 0;
}

void ParticleSystem::Render(Quoll::Graphics* g)
{
    if (mImage == nullptr)
        return;
    const Quoll::DrawMode oldMode = g->GetDrawMode();
    if (mAdditive && oldMode == Quoll::DrawMode::Normal)
        g->SetDrawMode(Quoll::DrawMode::Additive);
    else if (!mAdditive && oldMode == Quoll::DrawMode::Additive)
        g->SetDrawMode(Quoll::DrawMode::Normal);
    g->SetImageTint(true);
    const Quoll::Color oldColor = g->GetColor();
    // Drawing closes the mask polygon; a mask of fewer than 3 points does not limit it.
    const bool masked = mMask.size() >= 3;
    for (int i = 0; i < mLiveCount; ++i)
    {
        const Particle& p = mParticles[static_cast<size_t>(i)];
        if (masked && !InsideMask(TruncToInt(p.x), TruncToInt(p.y), true))
            continue;
        DrawParticle(g, p);
    }
    g->SetColor(oldColor);
    g->SetImageTint(false);
    g->SetDrawMode(oldMode);
}

void ParticleSystem::DrawParticle(Quoll::Graphics* g, const Particle& p)
{
    const uint32_t packed = PackParticleColour(p.r, p.g, p.b, p.a);
    g->SetColor(Quoll::Color(static_cast<int>(packed >> 16 & 0xFF), static_cast<int>(packed >> 8 & 0xFF),
                             static_cast<int>(packed & 0xFF), static_cast<int>(packed >> 24)));
    if (!mIs3D && mAdditive)
    {
        // The software additive draw is a plain stretch: no rotation.
        const double w = static_cast<double>(mImage->GetWidth()) * p.size;
        const double h = static_cast<double>(mImage->GetHeight()) * p.size;
        g->DrawImage(mImage, TruncToInt(p.x - w * 0.5), TruncToInt(p.y - h * 0.5), TruncToInt(w), TruncToInt(h));
        return;
    }
    Quoll::Transform transform;
    transform.Rotate(p.spin * p.age);
    transform.Scale(p.size, p.size);
    if (mIs3D)
        g->DrawImageTransformF(mImage, transform, p.x, p.y);
    else
        g->DrawImageTransform(mImage, transform, p.x, p.y);
}

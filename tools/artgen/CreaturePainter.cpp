// The bacteria and their faces: bodies and their birth, eyes, mouths, emotions, avatars, the
// boss and the helper. Every creature is a glowing membrane with a glassy highlight.
#include "tools/artgen/ArtCatalogue.h"
#include "tools/artgen/ArtPalette.h"

#include <cmath>

namespace ArtGen
{
namespace
{
const Rgb kBossColor{0.75, 0.2, 0.55};

// The tint of a kind's membrane and lids; the boss (kind 8) has its own.
Rgb CreatureColor(int kind)
{
    return kind == 8 ? kBossColor : KindColor(kind);
}

void Body(ArtCanvas& canvas, const Cel& cel, int kind)
{
    const double phase = 2 * kPi * cel.Phase();
    const double r = std::min(cel.w, cel.h) * 0.36;
    canvas.Blob(cel.w / 2, cel.h / 2 + 1, r * (1.0 + 0.03 * std::sin(phase)), KindColor(kind), 0.05, phase, 1.0);
}

// Birth: a speck swells into a colony inside a fading ring.
void Born(ArtCanvas& canvas, const Cel& cel, int kind)
{
    const double t = (cel.index + 1.0) / cel.count;
    const double full = std::min(cel.w, cel.h) * 0.36;
    const double grow = 1.0 - std::pow(1.0 - t, 2.2);
    const Rgb color = KindColor(kind);
    cairo_t* cr = canvas.Cr();
    canvas.SetColor(color.Mix(kWhite, 0.5), 0.6 * (1.0 - t));
    cairo_set_line_width(cr, 2.0);
    cairo_arc(cr, cel.w / 2, cel.h / 2, full * (0.5 + 0.7 * t), 0, 2 * kPi);
    cairo_stroke(cr);
    canvas.Blob(cel.w / 2, cel.h / 2 + 1, std::max(2.0, full * grow), color, 0.1 * (1.0 - t) + 0.04, t * 6, 0.5 + t);
}

enum class EyeMode
{
    Normal,
    Blink,
    Rage,
};

void OneEye(ArtCanvas& canvas, double cx, double cy, double r, double lid, double lookX, const Rgb& tint, bool rage,
            bool left)
{
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1.0, 1.15);
    cairo_arc(cr, 0, 0, r, 0, 2 * kPi);
    cairo_restore(cr);
    canvas.SetColor(rage ? Rgb{1.0, 0.88, 0.85} : Rgb{0.97, 1.0, 0.98});
    cairo_fill_preserve(cr);
    canvas.SetColor(tint.Scaled(0.3), 1.0);
    cairo_set_line_width(cr, std::max(1.0, r * 0.14));
    cairo_stroke(cr);
    // Iris and pupil.
    canvas.SetColor(tint.Scaled(0.55), 1.0);
    cairo_arc(cr, cx + lookX * r * 0.3, cy + r * 0.1, r * 0.55, 0, 2 * kPi);
    cairo_fill(cr);
    canvas.SetColor({0.02, 0.03, 0.04});
    cairo_arc(cr, cx + lookX * r * 0.3, cy + r * 0.1, r * 0.32, 0, 2 * kPi);
    cairo_fill(cr);
    canvas.SetColor(kWhite, 0.9);
    cairo_arc(cr, cx + lookX * r * 0.3 - r * 0.18, cy - r * 0.1, r * 0.12, 0, 2 * kPi);
    cairo_fill(cr);
    // The lid comes down over the eye.
    if (lid > 0.01)
    {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, 1.0, 1.15);
        cairo_arc(cr, 0, 0, r * 1.08, 0, 2 * kPi);
        cairo_restore(cr);
        cairo_clip(cr);
        canvas.SetColor(tint.Scaled(0.75), 1.0);
        cairo_rectangle(cr, cx - r * 1.2, cy - r * 1.3, r * 2.4, r * 2.6 * lid);
        cairo_fill(cr);
        cairo_reset_clip(cr);
        if (lid >= 1.0)
        {
            // The closed lids' lashes: a downward curve across the eye.
            canvas.SetColor(tint.Scaled(0.25), 1.0);
            cairo_set_line_width(cr, std::max(1.0, r * 0.16));
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_move_to(cr, cx - r * 0.75, cy + r * 0.05);
            cairo_curve_to(cr, cx - r * 0.3, cy + r * 0.45, cx + r * 0.3, cy + r * 0.45, cx + r * 0.75, cy + r * 0.05);
            cairo_stroke(cr);
        }
    }
    if (rage)
    {
        const double dir = left ? 1.0 : -1.0;
        canvas.SetColor({0.08, 0.02, 0.02});
        cairo_set_line_width(cr, std::max(1.5, r * 0.3));
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, cx - dir * r * 1.0, cy - r * 1.35);
        cairo_line_to(cr, cx + dir * r * 0.9, cy - r * 0.75);
        cairo_stroke(cr);
    }
}

void Eyes(ArtCanvas& canvas, const Cel& cel, int kind, EyeMode mode)
{
    const double r = std::min(cel.w * 0.2, cel.h * 0.36);
    const double t = cel.Phase();
    double lid = 0.0;
    double look = std::sin(2 * kPi * t) * 0.5;
    if (mode == EyeMode::Blink)
    {
        // A strip closes and opens the lids; a single picture is the closed eye.
        static const double lids[] = {0.0, 0.55, 1.0, 0.45};
        lid = cel.count > 1 ? lids[cel.index % 4] : 1.0;
        look = 0;
    }
    if (mode == EyeMode::Rage)
        lid = 0.15 + 0.1 * (cel.index % 2);
    const Rgb tint = CreatureColor(kind);
    OneEye(canvas, cel.w * 0.3, cel.h * 0.55, r, lid, look, tint, mode == EyeMode::Rage, true);
    OneEye(canvas, cel.w * 0.7, cel.h * 0.55, r, lid, look, tint, mode == EyeMode::Rage, false);
}

// The board's faces. A bacterium's eyes are an eye background (two whites) with two pupils that
// follow the pointer; its face strip, drawn over them from the face's corner, holds the lids,
// brows and mouth of each expression. In the face's coordinates both eyes' centres lie 9 right
// and 9 below the eye background's corner, 11 apart (the pupils' base places and spacing).
constexpr double kEyeRx = 6, kEyeRy = 7;
constexpr double kEyeCentre = 9, kEyeSpacing = 11;

// The eye background's corner in the face: (1, 6) for the hero, (1, 5) for the others.
double EyeTop(int kind)
{
    return kind == 1 ? 6 : 5;
}

void EyeWhite(ArtCanvas& canvas, double cx, double cy, const Rgb& rim)
{
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, kEyeRx, kEyeRy);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    canvas.SetColor({0.97, 1.0, 0.98});
    cairo_fill_preserve(cr);
    canvas.SetColor(rim, 1.0);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

// The two whites, one picture.
void EyesBack(ArtCanvas& canvas, const Cel&, int variant)
{
    const Rgb rim = variant == 1 ? Rgb{0.08, 0.3, 0.16} : Rgb{0.3, 0.08, 0.2};
    EyeWhite(canvas, kEyeCentre, kEyeCentre, rim);
    EyeWhite(canvas, kEyeCentre + kEyeSpacing, kEyeCentre, rim);
}

enum class MouthMode
{
    Normal,
    Rage,
    Beaten,
    Rage2,
};

// The height of the band a mouth is drawn in: the whole cel, or the bottom of a cel taller than
// 9/16 of its width (an avatar's mouth that sits well below the overlay's corner).
double MouthBand(const Cel& cel)
{
    return std::min(cel.h, cel.w * 9.0 / 16.0);
}

void Mouth(ArtCanvas& canvas, const Cel& whole, int kind, MouthMode mode)
{
    cairo_t* cr = canvas.Cr();
    const Cel cel{whole.index, whole.count, whole.w, MouthBand(whole)};
    const double top = whole.h - cel.h;
    const double t = 2 * kPi * cel.Phase();
    const double cx = cel.w / 2, cy = top + cel.h * 0.45, w = cel.w * 0.32;
    const Rgb dark = CreatureColor(kind).Scaled(0.18);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (mode)
    {
    case MouthMode::Normal:
        canvas.SetColor(dark);
        cairo_set_line_width(cr, cel.h * 0.1);
        cairo_move_to(cr, cx - w, cy);
        cairo_curve_to(cr, cx - w * 0.4, cy + cel.h * (0.3 + 0.05 * std::sin(t)), cx + w * 0.4,
                       cy + cel.h * (0.3 + 0.05 * std::sin(t)), cx + w, cy);
        cairo_stroke(cr);
        break;
    case MouthMode::Rage:
    case MouthMode::Rage2:
    {
        const double open = cel.h * (0.22 + 0.06 * std::sin(t)) * (mode == MouthMode::Rage2 ? 1.3 : 1.0);
        canvas.RoundedRect(cx - w, cy - open / 2, 2 * w, open, open / 2);
        canvas.SetColor({0.25, 0.02, 0.05});
        cairo_fill_preserve(cr);
        canvas.SetColor(dark);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        canvas.SetColor({0.95, 0.95, 0.9});
        for (int i = 0; i < 4; ++i)
        {
            const double x = cx - w + (i + 0.5) * w / 2;
            cairo_move_to(cr, x - w * 0.18, cy - open / 2);
            cairo_line_to(cr, x + w * 0.18, cy - open / 2);
            cairo_line_to(cr, x, cy - open / 2 + open * 0.4);
            cairo_close_path(cr);
            cairo_fill(cr);
        }
        break;
    }
    case MouthMode::Beaten:
        canvas.SetColor(dark);
        cairo_set_line_width(cr, cel.h * 0.08);
        cairo_move_to(cr, cx - w, cy + 2);
        for (int i = 1; i <= 8; ++i)
            cairo_line_to(cr, cx - w + 2 * w * i / 8.0, cy + 2 + ((i % 2) ? -1 : 1) * cel.h * 0.08 * (1 + 0.3 * std::sin(t)));
        cairo_stroke(cr);
        break;
    }
}

// One expression of a face strip: how far the lids are down (0 open, 1 shut), how the brows
// stand (0 none, above 0 raised by that much, below 0 frowning), and the mouth.
enum class FaceMouth
{
    Smile,
    Round,
    Snarl,
};

struct Expression
{
    double lids;
    double brows;
    FaceMouth mouth;
};

// Cels of the strip: 0 open, 1 to 3 the blink (half, shut, a quarter), 4 surprise, 5 rage,
// 6 and 7 on the way to surprise, 8 and 9 on the way to rage, 10 rage, 11 the surprised blink.
constexpr Expression kExpressions[12] = {
    {0, 0, FaceMouth::Smile},      {0.5, 0, FaceMouth::Smile},   {1, 0, FaceMouth::Smile},
    {0.25, 0, FaceMouth::Smile},   {0, 3, FaceMouth::Round},     {0.35, -1, FaceMouth::Snarl},
    {0, 1, FaceMouth::Smile},      {0, 2, FaceMouth::Round},     {0.12, -0.4, FaceMouth::Smile},
    {0.25, -0.7, FaceMouth::Snarl}, {0.35, -1, FaceMouth::Snarl}, {1, 3, FaceMouth::Round},
};
// The boss's strip: open, shut, rage, half shut.
constexpr Expression kBossExpressions[4] = {
    {0, 0, FaceMouth::Smile}, {1, 0, FaceMouth::Smile}, {0.3, -1, FaceMouth::Snarl}, {0.5, 0, FaceMouth::Smile}};

// The lid over one eye, down to the fraction, slanting down towards the nose in rage.
void Lid(ArtCanvas& canvas, double cx, double cy, double lids, double slant, const Rgb& tint)
{
    if (lids <= 0)
        return;
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, kEyeRx + 0.8, kEyeRy + 0.8);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_clip(cr);
    const double top = cy - kEyeRy - 1, edge = top + (2 * kEyeRy + 2) * lids;
    cairo_move_to(cr, cx - kEyeRx - 1, top);
    cairo_line_to(cr, cx + kEyeRx + 1, top);
    cairo_line_to(cr, cx + kEyeRx + 1, edge + slant);
    cairo_line_to(cr, cx - kEyeRx - 1, edge - slant);
    cairo_close_path(cr);
    canvas.SetColor(tint.Scaled(0.75), 1.0);
    cairo_fill(cr);
    cairo_reset_clip(cr);
    // The lashes along the lid's edge.
    canvas.SetColor(tint.Scaled(0.25), 1.0);
    cairo_set_line_width(cr, 1.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double y = std::min(edge, cy + kEyeRy - 1);
    cairo_move_to(cr, cx - kEyeRx + 1, y - slant);
    cairo_line_to(cr, cx + kEyeRx - 1, y + slant);
    cairo_stroke(cr);
}

void Brow(ArtCanvas& canvas, double cx, double cy, double brows, bool left, const Rgb& tint)
{
    if (brows == 0)
        return;
    cairo_t* cr = canvas.Cr();
    const double inner = left ? 1 : -1;
    const double base = cy - kEyeRy - 1.5 - std::max(0.0, brows);
    // A frown pulls the inner ends down.
    const double drop = brows < 0 ? -brows * 3 : 0;
    canvas.SetColor(tint.Scaled(0.25), 1.0);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx - inner * 5, base);
    cairo_line_to(cr, cx + inner * 5, base + drop);
    cairo_stroke(cr);
}

void FaceMouthAt(ArtCanvas& canvas, double cx, double cy, FaceMouth mouth, const Rgb& tint)
{
    cairo_t* cr = canvas.Cr();
    const Rgb dark = tint.Scaled(0.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (mouth)
    {
    case FaceMouth::Smile:
        canvas.SetColor(dark, 1.0);
        cairo_set_line_width(cr, 1.5);
        cairo_arc(cr, cx, cy - 3, 4.5, kPi * 0.2, kPi * 0.8);
        cairo_stroke(cr);
        break;
    case FaceMouth::Round:
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, 2.5, 3.2);
        cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
        cairo_restore(cr);
        canvas.SetColor(dark, 1.0);
        cairo_fill(cr);
        break;
    case FaceMouth::Snarl:
        cairo_move_to(cr, cx - 5, cy + 1.5);
        cairo_curve_to(cr, cx - 2, cy - 2.5, cx + 2, cy - 2.5, cx + 5, cy + 1.5);
        cairo_line_to(cr, cx - 5, cy + 1.5);
        canvas.SetColor(dark, 1.0);
        cairo_fill(cr);
        // Teeth along the top.
        canvas.SetColor(kWhite, 0.95);
        for (double x : {-2.5, 0.0, 2.5})
        {
            cairo_move_to(cr, cx + x - 1, cy - 1.3);
            cairo_line_to(cr, cx + x + 1, cy - 1.3);
            cairo_line_to(cr, cx + x, cy + 0.5);
            cairo_close_path(cr);
            cairo_fill(cr);
        }
        break;
    }
}

// A cel of the face strip of a kind. The boss has no eye background: its strip paints the whites
// and pupils itself, and its features sit further right, over its body's middle.
void FaceStrip(ArtCanvas& canvas, const Cel& cel, int kind)
{
    const bool boss = kind == 8;
    const Expression& e = boss ? kBossExpressions[cel.index % 4] : kExpressions[cel.index % 12];
    // The lids in the colour of the board's body of the kind.
    const Rgb tint = KindColor(kind);
    const double left = boss ? 24 : 1 + kEyeCentre, right = left + kEyeSpacing;
    const double eyes = boss ? 9 : EyeTop(kind) + kEyeCentre;
    if (boss)
        for (double x : {left, right})
        {
            EyeWhite(canvas, x, eyes, tint.Scaled(0.3));
            canvas.SetColor({0.3, 0.02, 0.05});
            cairo_arc(canvas.Cr(), x, eyes + 1, 2.6, 0, 2 * kPi);
            cairo_fill(canvas.Cr());
        }
    const double slant = e.brows < 0 ? 1.5 : 0;
    Lid(canvas, left, eyes, e.lids, slant, tint);
    Lid(canvas, right, eyes, e.lids, -slant, tint);
    Brow(canvas, left, eyes, e.brows, true, tint);
    Brow(canvas, right, eyes, e.brows, false, tint);
    FaceMouthAt(canvas, (left + right) / 2, eyes + 12, e.mouth, tint);
}

// A big portrait of a colony with its face, for the comics.
void Portrait(ArtCanvas& canvas, const Cel& cel, int kind)
{
    const double r = std::min(cel.w, cel.h) * 0.38;
    const double cx = cel.w / 2, cy = cel.h / 2 + 4;
    canvas.Blob(cx, cy, r, KindColor(kind), 0.05, kind * 0.7, 1.0);
    Cel face{0, 1, r * 1.3, r * 0.6};
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_translate(cr, cx - face.w / 2, cy - r * 0.55);
    Eyes(canvas, face, kind, kind == 1 ? EyeMode::Normal : EyeMode::Rage);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, cx - face.w / 2, cy + r * 0.12);
    Mouth(canvas, face, kind, kind == 1 ? MouthMode::Normal : MouthMode::Rage);
    cairo_restore(cr);
}

// Where the play screen puts an avatar's overlays on its bust (top-left corners), per kind: the
// eyes and the mouth, overlay pictures of kEyeCel's and kMouthCel's sizes (the rage mouths of
// kinds 6 and 8 are taller, with the mouth at their bottom), and the circle of the body that
// carries them.
struct BustLayout
{
    double eyeX, eyeY;
    double mouthX, mouthY;
    double bodyX, bodyY, bodyR;
};
constexpr BustLayout kBusts[8] = {
    {47, 49, 57, 123, 92, 104, 74}, {29, 47, 21, 101, 84, 92, 74}, {61, 65, 57, 104, 100, 100, 72},
    {31, 80, 27, 124, 86, 104, 72}, {9, 66, 13, 106, 80, 100, 72},  {13, 38, 9, 30, 76, 90, 72},
    {17, 67, 11, 102, 80, 100, 72}, {41, 30, 39, 25, 92, 92, 70},
};
constexpr Cel kEyeCel{0, 1, 72, 44};
constexpr Cel kMouthCel{0, 1, 64, 36};
constexpr double kTallMouthHeight = 108;

// An avatar's bust: the colony's body with its resting face where the overlays go. The hero's
// eyes and mouth are all overlays: its bust shows the closed eyes of its beaten look, which every
// eye overlay covers. The others show open eyes (their blink covers them) and a closed mouth that
// their rage mouth covers.
void Bust(ArtCanvas& canvas, int kind)
{
    const BustLayout& bust = kBusts[(kind - 1 + 8) % 8];
    cairo_t* cr = canvas.Cr();
    const Rgb color = CreatureColor(kind);
    if (kind == 8)
    {
        canvas.SetColor(color.Scaled(0.6), 0.95);
        canvas.Star(bust.bodyX, bust.bodyY, bust.bodyR * 1.18, bust.bodyR * 0.92, 14, 0.1);
        cairo_fill(cr);
    }
    canvas.Blob(bust.bodyX, bust.bodyY, bust.bodyR, color, 0.04, kind * 0.7, 0.0);
    cairo_save(cr);
    cairo_translate(cr, bust.eyeX, bust.eyeY);
    Eyes(canvas, kEyeCel, kind, kind == 1 ? EyeMode::Blink : EyeMode::Normal);
    cairo_restore(cr);
    if (kind == 1)
        return;
    const bool tall = kind == 6 || kind == 8;
    const Cel mouth{0, 1, kMouthCel.w, tall ? kTallMouthHeight : kMouthCel.h};
    const double band = MouthBand(mouth);
    const double cx = bust.mouthX + mouth.w / 2, cy = bust.mouthY + mouth.h - band + band * 0.45;
    canvas.SetColor(color.Scaled(0.18));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, band * 0.08);
    cairo_move_to(cr, cx - mouth.w * 0.2, cy);
    cairo_line_to(cr, cx + mouth.w * 0.2, cy);
    cairo_stroke(cr);
}

enum class BossPart
{
    Body,
    Eyes,
    Fear,
    Smile,
    Snot,
};

// The boss: a huge spiked colony; its face parts come as overlays of the same size.
void Boss(ArtCanvas& canvas, const Cel& cel, BossPart part)
{
    cairo_t* cr = canvas.Cr();
    const double cx = cel.w / 2, cy = cel.h / 2, r = std::min(cel.w, cel.h) * 0.36;
    const Rgb body = kBossColor;
    switch (part)
    {
    case BossPart::Body:
        canvas.Glow(cx, cy, r * 1.5, body, 0.5);
        canvas.SetColor(body.Scaled(0.6), 0.95);
        canvas.Star(cx, cy, r * 1.25, r * 0.95, 14, 0.1);
        cairo_fill(cr);
        canvas.Blob(cx, cy, r, body, 0.04, 1.0, 0.6);
        break;
    case BossPart::Eyes:
    case BossPart::Fear:
    {
        Cel face{0, 1, r * 1.5, r * 0.75};
        cairo_save(cr);
        cairo_translate(cr, cx - face.w / 2, cy - r * 0.6);
        Eyes(canvas, face, 5, part == BossPart::Eyes ? EyeMode::Rage : EyeMode::Normal);
        cairo_restore(cr);
        if (part == BossPart::Fear)
        {
            canvas.SetColor({0.6, 0.85, 1.0}, 0.9);
            cairo_arc(cr, cx + r * 0.7, cy - r * 0.55, r * 0.08, 0, 2 * kPi);
            cairo_fill(cr);
        }
        break;
    }
    case BossPart::Smile:
    {
        Cel face{0, 1, r * 1.4, r * 0.6};
        cairo_save(cr);
        cairo_translate(cr, cx - face.w / 2, cy + r * 0.15);
        Mouth(canvas, face, 5, MouthMode::Rage2);
        cairo_restore(cr);
        break;
    }
    case BossPart::Snot:
        canvas.SetColor({0.55, 1.0, 0.35}, 0.85);
        cairo_move_to(cr, cx - r * 0.1, cy + r * 0.1);
        cairo_curve_to(cr, cx - r * 0.15, cy + r * 0.5, cx - r * 0.2, cy + r * 0.7, cx - r * 0.05, cy + r * 0.8);
        cairo_curve_to(cr, cx + r * 0.1, cy + r * 0.7, cx + r * 0.05, cy + r * 0.4, cx + r * 0.05, cy + r * 0.1);
        cairo_fill(cr);
        canvas.Specular(cx - r * 0.08, cy + r * 0.6, r * 0.05, r * 0.1, 0.8);
        break;
    }
}

// The helper: a golden colony with a halo and two feathered wings of light, all inside the
// picture so that no wing is cut at its edge.
void GloriaWing(ArtCanvas& canvas, double cx, double cy, double r, double side, double reach)
{
    cairo_t* cr = canvas.Cr();
    // From the shoulder up and out to the tip, back along a scalloped lower edge.
    const double sx = cx + side * r * 0.6, sy = cy - r * 0.2;
    const double tx = cx + side * reach, ty = cy - r * 1.1;
    cairo_move_to(cr, sx, sy);
    cairo_curve_to(cr, sx + side * r * 0.4, sy - r * 1.0, tx - side * r * 0.5, ty - r * 0.3, tx, ty);
    const int feathers = 3;
    for (int i = 1; i <= feathers; ++i)
    {
        const double t = static_cast<double>(i) / feathers;
        const double fx = tx + (sx - tx) * t, fy = ty + (sy + r * 0.25 - ty) * t + r * 0.35;
        const double px = tx + (sx - tx) * (t - 0.5 / feathers);
        const double py = ty + (sy - ty) * (t - 0.5 / feathers) + r * 0.75;
        cairo_curve_to(cr, px + side * r * 0.15, py, px - side * r * 0.05, py, fx, fy);
    }
    cairo_close_path(cr);
    cairo_pattern_t* light = cairo_pattern_create_radial(sx, sy, r * 0.2, sx, sy, reach);
    cairo_pattern_add_color_stop_rgba(light, 0.0, 1.0, 0.98, 0.85, 0.97);
    cairo_pattern_add_color_stop_rgba(light, 1.0, 1.0, 0.86, 0.45, 0.85);
    cairo_set_source(cr, light);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(light);
    canvas.SetColor(kGold, 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void Gloria(ArtCanvas& canvas, const Cel& cel)
{
    cairo_t* cr = canvas.Cr();
    const double cx = cel.w / 2, cy = cel.h * 0.55, r = std::min(cel.w, cel.h) * 0.26;
    const double reach = cel.w / 2 - 5;
    for (double side : {-1.0, 1.0})
        GloriaWing(canvas, cx, cy, r, side, reach);
    canvas.Blob(cx, cy, r, kGold, 0.04, 0.5, 1.2);
    canvas.SetColor({1.0, 0.95, 0.6}, 0.9);
    cairo_set_line_width(cr, 2.5);
    cairo_save(cr);
    cairo_translate(cr, cx, cy - r * 1.45);
    cairo_scale(cr, r * 0.7, r * 0.2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_stroke(cr);
}

void Pupil(ArtCanvas& canvas, const Cel& cel, int which)
{
    cairo_t* cr = canvas.Cr();
    // Small enough to stay inside the eye's white at its full travel.
    canvas.SetColor(which == 1 ? Rgb{0.02, 0.03, 0.04} : Rgb{0.3, 0.02, 0.05});
    cairo_arc(cr, cel.w / 2, cel.h / 2, std::min(cel.w, cel.h) * 0.22, 0, 2 * kPi);
    cairo_fill(cr);
    canvas.SetColor(kWhite, 0.9);
    cairo_arc(cr, cel.w * 0.43, cel.h * 0.43, std::min(cel.w, cel.h) * 0.07, 0, 2 * kPi);
    cairo_fill(cr);
}
} // namespace

CelPainter FindCreaturePainter(const std::string& name)
{
    if (int kind = NumberAfter(name, "BODY_"); kind >= 1)
        return [kind](ArtCanvas& c, const Cel& cel) { Body(c, cel, kind); };
    if (int kind = NumberAfter(name, "BORN_"); kind >= 1)
        return [kind](ArtCanvas& c, const Cel& cel) { Born(c, cel, kind); };
    if (StartsWith(name, "BIGBODY_") && name.size() > 8)
    {
        const int kind = name[8] - '0';
        return [kind](ArtCanvas& c, const Cel&) { Bust(c, kind); };
    }
    if (int kind = NumberAfter(name, "PORTRAIT_"); kind >= 1)
        return [kind](ArtCanvas& c, const Cel& cel) { Portrait(c, cel, kind); };
    if (int kind = NumberAfter(name, "EMO"); kind >= 1)
        return [kind](ArtCanvas& c, const Cel& cel) { FaceStrip(c, cel, kind); };
    if (int which = NumberAfter(name, "EYES_BACK"); which >= 1)
        return [which](ArtCanvas& c, const Cel& cel) { EyesBack(c, cel, which); };
    if (int which = NumberAfter(name, "PUPIL"); which >= 1)
        return [which](ArtCanvas& c, const Cel& cel) { Pupil(c, cel, which); };
    if (StartsWith(name, "EYE") && name.size() > 4)
    {
        const int kind = name[3] - '0';
        const std::string mode = name.substr(5);
        const EyeMode eye = mode == "BLINK" ? EyeMode::Blink : mode == "YAROST" ? EyeMode::Rage : EyeMode::Normal;
        return [kind, eye](ArtCanvas& c, const Cel& cel) { Eyes(c, cel, kind, eye); };
    }
    if (StartsWith(name, "MOUTH") && name.size() > 6)
    {
        const int kind = name[5] - '0';
        const std::string mode = name.substr(7);
        const MouthMode mouth = mode == "YAROST"   ? MouthMode::Rage
                                : mode == "YAROST2" ? MouthMode::Rage2
                                : mode == "BEATEN"  ? MouthMode::Beaten
                                                    : MouthMode::Normal;
        return [kind, mouth](ArtCanvas& c, const Cel& cel) { Mouth(c, cel, kind, mouth); };
    }
    if (StartsWith(name, "BOSS"))
    {
        const BossPart part = name == "BOSS"         ? BossPart::Body
                              : name == "BOSS_EYES"  ? BossPart::Eyes
                              : name == "BOSS_FEAR"  ? BossPart::Fear
                              : name == "BOSS_SMILE" ? BossPart::Smile
                                                     : BossPart::Snot;
        return [part](ArtCanvas& c, const Cel& cel) { Boss(c, cel, part); };
    }
    if (name == "GLORIA")
        return [](ArtCanvas& c, const Cel& cel) { Gloria(c, cel); };
    return {};
}
} // namespace ArtGen

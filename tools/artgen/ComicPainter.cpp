// The comics pages: the opening story (the lab's dishes, the Boss escaping its flask and infecting
// every dish, Gloria answering, the player's call to arms) and the ending (the Boss beaten, every
// dish green again). Each page is a few framed panels; its caption is drawn by the game below it.
#include "tools/artgen/ArtCatalogue.h"
#include "tools/artgen/ArtPalette.h"
#include "tools/artgen/SceneParts.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace ArtGen
{
namespace
{
const Rgb kBossColor{0.75, 0.2, 0.55};
const Rgb kInfection{1.0, 0.25, 0.75};
const Rgb kNight{0.25, 0.35, 0.75};

struct Box
{
    double x, y, w, h;
};

// Draws one panel: clipped to its rounded frame, with the origin at its corner and the ground
// in the tint; then the frame.
template <typename Content> void Panel(ArtCanvas& canvas, const Box& box, const Rgb& tint, Content content)
{
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    canvas.RoundedRect(box.x, box.y, box.w, box.h, 14);
    cairo_clip(cr);
    cairo_translate(cr, box.x, box.y);
    const Cel area{0, 1, box.w, box.h};
    Ground(canvas, area, tint);
    content(area);
    cairo_restore(cr);
    canvas.RoundedRect(box.x, box.y, box.w, box.h, 14);
    canvas.SetColor(kRim, 0.8);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

// A creature painter of the table drawn into a square of the given size centred on (cx, cy).
void Creature(ArtCanvas& canvas, const std::string& name, double cx, double cy, double size)
{
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_translate(cr, cx - size / 2, cy - size / 2);
    FindCreaturePainter(name)(canvas, Cel{0, 1, size, size});
    cairo_restore(cr);
}

enum class BossFace
{
    Grin,
    Fear,
};

void Boss(ArtCanvas& canvas, double cx, double cy, double size, BossFace face)
{
    Creature(canvas, "BOSS", cx, cy, size);
    if (face == BossFace::Grin)
    {
        Creature(canvas, "BOSS_EYES", cx, cy, size);
        Creature(canvas, "BOSS_SMILE", cx, cy, size);
    }
    else
    {
        Creature(canvas, "BOSS_FEAR", cx, cy, size);
    }
}

// A conical lab flask standing on baseY; broken, its neck is snapped and cracks run down it.
void Flask(ArtCanvas& canvas, double cx, double baseY, double size, bool broken)
{
    cairo_t* cr = canvas.Cr();
    const double neck = size * 0.14, body = size * 0.42, height = size;
    const double neckTop = baseY - height, shoulder = baseY - height * 0.55;
    // The rim of the neck; broken, it is lower and jagged.
    const double top = broken ? neckTop + height * 0.25 : neckTop;
    cairo_new_path(cr);
    cairo_move_to(cr, cx - neck, top);
    cairo_line_to(cr, cx - neck, shoulder);
    cairo_line_to(cr, cx - body, baseY - size * 0.05);
    cairo_curve_to(cr, cx - body, baseY, cx - body, baseY, cx - body + size * 0.05, baseY);
    cairo_line_to(cr, cx + body - size * 0.05, baseY);
    cairo_curve_to(cr, cx + body, baseY, cx + body, baseY, cx + body, baseY - size * 0.05);
    cairo_line_to(cr, cx + neck, shoulder);
    cairo_line_to(cr, cx + neck, broken ? top - height * 0.06 : top);
    if (broken)
    {
        cairo_line_to(cr, cx + neck * 0.3, top + height * 0.04);
        cairo_line_to(cr, cx - neck * 0.3, top - height * 0.05);
    }
    cairo_close_path(cr);
    canvas.SetColor(kRim, 0.1);
    cairo_fill_preserve(cr);
    canvas.SetColor(kRim, 0.85);
    cairo_set_line_width(cr, std::max(2.0, size * 0.012));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    // A little of the Boss's brew left at the bottom.
    cairo_move_to(cr, cx - body * 0.8, baseY - size * 0.16);
    cairo_line_to(cr, cx + body * 0.8, baseY - size * 0.16);
    cairo_line_to(cr, cx + body * 0.93, baseY - size * 0.05);
    cairo_line_to(cr, cx - body * 0.93, baseY - size * 0.05);
    cairo_close_path(cr);
    canvas.SetColor(kBossColor, broken ? 0.35 : 0.8);
    cairo_fill(cr);
    canvas.Specular(cx - body * 0.45, baseY - size * 0.3, size * 0.04, size * 0.12, 0.4);
    if (!broken)
        return;
    canvas.SetColor(kWhite, 0.7);
    cairo_set_line_width(cr, std::max(1.5, size * 0.006));
    cairo_move_to(cr, cx - neck, shoulder + size * 0.02);
    cairo_line_to(cr, cx - body * 0.3, shoulder + size * 0.12);
    cairo_line_to(cr, cx - body * 0.55, shoulder + size * 0.1);
    cairo_line_to(cr, cx - body * 0.6, shoulder + size * 0.25);
    cairo_move_to(cr, cx + neck, shoulder + size * 0.05);
    cairo_line_to(cr, cx + body * 0.35, shoulder + size * 0.18);
    cairo_line_to(cr, cx + body * 0.5, shoulder + size * 0.3);
    cairo_stroke(cr);
}

// A crackling ray from (x0, y0) to (x1, y1): a wide haze and a bright jagged core.
void Ray(ArtCanvas& canvas, double x0, double y0, double x1, double y1, const Rgb& color, double width,
         const std::string& seed)
{
    cairo_t* cr = canvas.Cr();
    ArtRandom random(seed);
    const double dx = x1 - x0, dy = y1 - y0, length = std::hypot(dx, dy);
    if (length < 1)
        return;
    const double nx = -dy / length, ny = dx / length;
    const int steps = std::max(3, static_cast<int>(length / 24));
    cairo_new_path(cr);
    cairo_move_to(cr, x0, y0);
    for (int i = 1; i < steps; ++i)
    {
        const double t = static_cast<double>(i) / steps, jitter = random.Range(-1, 1) * width * 1.4;
        cairo_line_to(cr, x0 + dx * t + nx * jitter, y0 + dy * t + ny * jitter);
    }
    cairo_line_to(cr, x1, y1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    canvas.SetColor(color, 0.25);
    cairo_set_line_width(cr, width * 3);
    cairo_stroke_preserve(cr);
    canvas.SetColor(color, 0.9);
    cairo_set_line_width(cr, width);
    cairo_stroke_preserve(cr);
    canvas.SetColor(color.Mix(kWhite, 0.7), 1.0);
    cairo_set_line_width(cr, std::max(1.0, width * 0.35));
    cairo_stroke(cr);
}

// Sparks and grey puffs where a ray dies.
void Fizzle(ArtCanvas& canvas, double x, double y, double size, const std::string& seed)
{
    cairo_t* cr = canvas.Cr();
    ArtRandom random(seed);
    for (int i = 0; i < 5; ++i)
    {
        canvas.SetColor({0.55, 0.6, 0.65}, 0.35);
        cairo_arc(cr, x + random.Range(-size, size), y + random.Range(-size, size) * 0.6, random.Range(0.3, 0.6) * size,
                  0, 2 * kPi);
        cairo_fill(cr);
    }
    canvas.SetColor(kInfection.Mix(kWhite, 0.5), 0.9);
    cairo_set_line_width(cr, 2);
    for (int i = 0; i < 9; ++i)
    {
        const double a = random.Range(0, 2 * kPi), r0 = size * 0.4, r1 = size * random.Range(0.9, 1.5);
        cairo_move_to(cr, x + r0 * std::cos(a), y + r0 * std::sin(a));
        cairo_line_to(cr, x + r1 * std::cos(a), y + r1 * std::sin(a));
    }
    cairo_stroke(cr);
}

// A burst of light: a star with a glow.
void Burst(ArtCanvas& canvas, double x, double y, double r, const Rgb& color, int points)
{
    canvas.Glow(x, y, r * 1.8, color, 0.5);
    canvas.Star(x, y, r, r * 0.45, points, 0.2);
    canvas.SetColor(color.Mix(kWhite, 0.6), 0.95);
    cairo_fill(canvas.Cr());
}

// A small dish with one colony in it: calm, infected (pink, angry) or won back.
enum class Colony
{
    Calm,
    Infected,
    Green,
};

void ColonyDish(ArtCanvas& canvas, ArtRandom& random, double cx, double cy, double r, int kind, Colony colony)
{
    const Rgb tint = colony == Colony::Infected ? kInfection : colony == Colony::Green ? KindColor(1) : kRim;
    Dish(canvas, random, cx, cy, r, tint, 30);
    const Rgb body = colony == Colony::Infected ? KindColor(2 + kind % 7).Mix(kInfection, 0.5)
                     : colony == Colony::Green  ? KindColor(1)
                                                : KindColor(1 + kind % 8);
    if (colony == Colony::Infected)
    {
        canvas.SetColor(body.Scaled(0.8), 0.9);
        canvas.Star(cx, cy, r * 0.55, r * 0.38, 9, kind * 0.3);
        cairo_fill(canvas.Cr());
    }
    canvas.Blob(cx, cy, r * 0.38, body, 0.08, kind * 0.9, colony == Colony::Calm ? 0.4 : 0.9);
}

// The lab's twenty-four dishes on three shelves of eight.
template <typename Look> void Shelves(ArtCanvas& canvas, ArtRandom& random, const Box& area, Look look)
{
    cairo_t* cr = canvas.Cr();
    const double rowGap = area.h / 3, colGap = area.w / 8, r = std::min(rowGap, colGap) * 0.38;
    for (int row = 0; row < 3; ++row)
    {
        const double y = area.y + rowGap * (row + 0.5);
        cairo_rectangle(cr, area.x - 10, y + r * 0.95, area.w + 20, 8);
        canvas.SetColor({0.12, 0.2, 0.28}, 0.9);
        cairo_fill(cr);
        for (int col = 0; col < 8; ++col)
        {
            const int index = row * 8 + col;
            ColonyDish(canvas, random, area.x + colGap * (col + 0.5), y, r, index, look(index));
        }
    }
}

void Window(ArtCanvas& canvas, const Box& box, bool morning)
{
    cairo_t* cr = canvas.Cr();
    canvas.RoundedRect(box.x, box.y, box.w, box.h, 8);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, box.y, 0, box.y + box.h);
    const Rgb top = morning ? Rgb{0.35, 0.55, 0.85} : Rgb{0.02, 0.03, 0.1};
    const Rgb bottom = morning ? Rgb{1.0, 0.75, 0.45} : Rgb{0.08, 0.1, 0.25};
    cairo_pattern_add_color_stop_rgb(sky, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(sky, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, sky);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(sky);
    canvas.SetColor(kRim, 0.6);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_save(cr);
    canvas.RoundedRect(box.x, box.y, box.w, box.h, 8);
    cairo_clip(cr);
    if (morning)
    {
        canvas.Glow(box.x + box.w * 0.5, box.y + box.h * 0.95, box.h * 0.9, kGold, 0.8);
        canvas.SetColor({1.0, 0.9, 0.55});
        cairo_arc(cr, box.x + box.w * 0.5, box.y + box.h * 0.95, box.h * 0.28, 0, 2 * kPi);
        cairo_fill(cr);
    }
    else
    {
        ArtRandom stars("windowstars");
        for (int i = 0; i < 14; ++i)
        {
            canvas.SetColor(kWhite, stars.Range(0.4, 0.9));
            cairo_arc(cr, box.x + stars.Range(0, box.w), box.y + stars.Range(0, box.h), stars.Range(0.8, 1.8), 0, 2 * kPi);
            cairo_fill(cr);
        }
        canvas.Glow(box.x + box.w * 0.7, box.y + box.h * 0.35, box.h * 0.5, {0.9, 0.9, 0.7}, 0.4);
        canvas.SetColor({0.95, 0.95, 0.8});
        cairo_arc(cr, box.x + box.w * 0.7, box.y + box.h * 0.35, box.h * 0.17, 0, 2 * kPi);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    canvas.SetColor(kRim, 0.6);
    cairo_set_line_width(cr, 3);
    cairo_move_to(cr, box.x + box.w / 2, box.y);
    cairo_line_to(cr, box.x + box.w / 2, box.y + box.h);
    cairo_move_to(cr, box.x, box.y + box.h / 2);
    cairo_line_to(cr, box.x + box.w, box.y + box.h / 2);
    cairo_stroke(cr);
}

// An arrow along a straight line or, with lift, a jump arc.
void Arrow(ArtCanvas& canvas, double x0, double y0, double x1, double y1, double lift, const Rgb& color)
{
    cairo_t* cr = canvas.Cr();
    const double mx = (x0 + x1) / 2, my = (y0 + y1) / 2 - lift;
    cairo_move_to(cr, x0, y0);
    cairo_curve_to(cr, mx, my, mx, my, x1, y1);
    canvas.SetColor(color, 0.95);
    cairo_set_line_width(cr, 6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    const double a = std::atan2(y1 - my, x1 - mx);
    cairo_move_to(cr, x1 + 6 * std::cos(a), y1 + 6 * std::sin(a));
    cairo_line_to(cr, x1 - 20 * std::cos(a - 0.5), y1 - 20 * std::sin(a - 0.5));
    cairo_line_to(cr, x1 - 20 * std::cos(a + 0.5), y1 - 20 * std::sin(a + 0.5));
    cairo_close_path(cr);
    cairo_fill(cr);
}

constexpr double kCellStep = 2.05; // board cells centre to centre, in cell radii

// A strip of board cells (hexagons side by side, corner to corner) from the centre x.
void CellRow(ArtCanvas& canvas, double x, double y, double r, int cells)
{
    for (int i = 0; i < cells; ++i)
    {
        const double cx = x + i * r * kCellStep;
        canvas.Hexagon(cx, y, r, r * 0.87);
        canvas.SetColor(SkinColor(1).Scaled(0.35), 0.8);
        cairo_fill_preserve(canvas.Cr());
        canvas.SetColor(SkinColor(1), 0.85);
        cairo_set_line_width(canvas.Cr(), 2);
        cairo_stroke(canvas.Cr());
    }
}

// 1: night in the lab, twenty-four calm dishes; the forgotten flask on the top shelf.
void LabAtNight(ArtCanvas& canvas, const Cel& page)
{
    ArtRandom random("comic1");
    Panel(canvas, {12, 12, page.w - 24, page.h - 24}, kNight, [&](const Cel& area) {
        Window(canvas, {30, 24, 200, 130}, false);
        Flask(canvas, area.w - 90, 150, 120, false);
        canvas.Glow(area.w - 90, 110, 70, kBossColor, 0.25);
        Shelves(canvas, random, {40, 170, area.w - 80, area.h - 190}, [](int) { return Colony::Calm; });
    });
}

// 2: the flask cracks; the Boss crawls out grinning.
void BossEscapes(ArtCanvas& canvas, const Cel& page)
{
    const double split = page.w * 0.45;
    Panel(canvas, {12, 12, split - 18, page.h - 24}, kNight, [&](const Cel& area) {
        canvas.Glow(area.w / 2, area.h * 0.55, area.w * 0.6, kBossColor, 0.45);
        Flask(canvas, area.w / 2, area.h - 60, area.h * 0.72, true);
        Burst(canvas, area.w / 2 + 10, area.h * 0.36, 34, kInfection, 7);
    });
    Panel(canvas, {split + 6, 12, page.w - split - 18, page.h - 24}, kBossColor, [&](const Cel& area) {
        Flask(canvas, area.w / 2, area.h - 30, 200, true);
        Boss(canvas, area.w / 2, area.h * 0.4, area.w * 0.85, BossFace::Grin);
    });
}

// 3: the Boss's rays reach every dish; below, a dish struck and a dish taken.
void Infection(ArtCanvas& canvas, const Cel& page)
{
    ArtRandom random("comic3");
    const double topHeight = page.h * 0.62;
    Panel(canvas, {12, 12, page.w - 24, topHeight}, kBossColor, [&](const Cel& area) {
        const double bossX = 130, bossY = area.h / 2;
        const Box grid{300, 20, area.w - 320, area.h - 40};
        const double rowGap = grid.h / 4, colGap = grid.w / 6, r = std::min(rowGap, colGap) * 0.36;
        for (int i = 0; i < 24; ++i)
        {
            const double x = grid.x + colGap * (i % 6 + 0.5), y = grid.y + rowGap * (i / 6 + 0.5);
            Ray(canvas, bossX + 60, bossY, x - r, y, kInfection, 2.0, "ray" + std::to_string(i));
            ColonyDish(canvas, random, x, y, r, i, Colony::Infected);
        }
        Boss(canvas, bossX, bossY, 240, BossFace::Grin);
    });
    const double y = topHeight + 24, h = page.h - y - 12, w = (page.w - 36) / 2;
    Panel(canvas, {12, y, w, h}, kRim, [&](const Cel& area) {
        Ray(canvas, -10, 10, area.w * 0.55, area.h * 0.5, kInfection, 5, "strike");
        ColonyDish(canvas, random, area.w * 0.62, area.h * 0.52, area.h * 0.4, 0, Colony::Calm);
        Burst(canvas, area.w * 0.55, area.h * 0.5, 30, kInfection, 8);
    });
    Panel(canvas, {24 + w, y, w, h}, kInfection, [&](const Cel& area) {
        ColonyDish(canvas, random, area.w * 0.5, area.h * 0.52, area.h * 0.42, 3, Colony::Infected);
    });
}

// 4: the infected colonies rage and swallow the cells around them.
void Rampage(ArtCanvas& canvas, const Cel& page)
{
    ArtRandom random("comic4");
    const double left = page.w * 0.34;
    Panel(canvas, {12, 12, left - 18, page.h - 24}, kInfection, [&](const Cel& area) {
        canvas.Glow(area.w / 2, area.h / 2, area.w * 0.7, kInfection, 0.5);
        Creature(canvas, "PORTRAIT_2", area.w / 2, area.h / 2, area.w * 0.95);
    });
    const double x = left + 6, w = page.w - x - 12, h = (page.h - 36) / 2;
    Panel(canvas, {x, 12, w, h}, kBossColor, [&](const Cel& area) {
        for (int i = 0; i < 6; ++i)
            canvas.Blob(area.w * random.Range(0.55, 0.95), area.h * random.Range(0.2, 0.8), 14, KindColor(1), 0.1,
                        random.Range(0, 6), 0.6);
        for (int i = 0; i < 3; ++i)
            Creature(canvas, "PORTRAIT_" + std::to_string(3 + i), area.w * (0.14 + 0.17 * i), area.h * (0.35 + 0.2 * (i % 2)),
                     area.h * 0.62);
    });
    Panel(canvas, {x, 24 + h, w, h}, kInfection, [&](const Cel& area) {
        canvas.Blob(area.w * 0.62, area.h * 0.5, 30, KindColor(1), 0.1, 1.0, 0.7);
        Creature(canvas, "PORTRAIT_5", area.w * 0.42, area.h * 0.52, area.h * 0.95);
        Burst(canvas, area.w * 0.62, area.h * 0.35, 16, KindColor(1), 6);
    });
}

// 5: three more rays die against the last clean dish; something golden shines in it.
void LastCleanDish(ArtCanvas& canvas, const Cel& page)
{
    ArtRandom random("comic5");
    Panel(canvas, {12, 12, page.w - 24, page.h - 24}, kRim, [&](const Cel& area) {
        const double cx = area.w * 0.62, cy = area.h * 0.52, r = area.h * 0.38;
        Boss(canvas, 40, 80, 220, BossFace::Grin);
        Dish(canvas, random, cx, cy, r, KindColor(1), 400);
        canvas.Glow(cx, cy, r * 0.8, kGold, 0.7);
        Creature(canvas, "GLORIA", cx, cy, r * 0.55);
        const double ends[][2] = {{-0.95, -0.4}, {-1.0, 0.05}, {-0.9, 0.45}};
        for (int i = 0; i < 3; ++i)
        {
            const double ex = cx + ends[i][0] * r * 1.08, ey = cy + ends[i][1] * r * 1.08;
            Ray(canvas, 110, 100 + 25 * i, ex, ey, kInfection, 4, "fizzle" + std::to_string(i));
            Fizzle(canvas, ex, ey, 26, "puff" + std::to_string(i));
        }
    });
}

// 6: Gloria flies at the Boss and drives it back; the dishes still glow with the infection.
void GloriaAnswers(ArtCanvas& canvas, const Cel& page)
{
    ArtRandom random("comic6");
    const double topHeight = page.h * 0.58;
    Panel(canvas, {12, 12, page.w - 24, topHeight}, kGold, [&](const Cel& area) {
        cairo_t* cr = canvas.Cr();
        canvas.SetColor(kGold, 0.6);
        cairo_set_line_width(cr, 5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int i = 0; i < 5; ++i)
        {
            const double y = area.h * (0.38 + 0.07 * i);
            cairo_move_to(cr, 20 + 18 * (i % 2), y);
            cairo_line_to(cr, area.w * 0.26, y);
        }
        cairo_stroke(cr);
        Creature(canvas, "GLORIA", area.w * 0.36, area.h * 0.5, area.h * 0.95);
        Burst(canvas, area.w * 0.55, area.h * 0.48, 46, kGold, 9);
        Boss(canvas, area.w * 0.76, area.h * 0.5, area.h * 0.95, BossFace::Fear);
    });
    const double y = topHeight + 24;
    Panel(canvas, {12, y, page.w - 24, page.h - y - 12}, kNight, [&](const Cel& area) {
        for (int i = 0; i < 6; ++i)
            ColonyDish(canvas, random, 70 + i * 105.0, area.h * 0.6, 40, i, Colony::Infected);
        Ray(canvas, area.w * 0.62, area.h * 0.7, area.w - 60, 30, kBossColor, 6, "flee");
        Boss(canvas, area.w - 60, 34, 60, BossFace::Fear);
        Creature(canvas, "GLORIA", area.w * 0.78, area.h * 0.6, area.h * 0.75);
    });
}

// 7: the player's moves: clone to a neighbour, jump two cells; then the road of dishes to win.
void CallToArms(ArtCanvas& canvas, const Cel& page)
{
    ArtRandom random("comic7");
    const double topHeight = page.h * 0.5, w = (page.w - 36) / 2;
    Panel(canvas, {12, 12, w, topHeight}, KindColor(1), [&](const Cel& area) {
        const double r = 56, x0 = area.w / 2 - r * kCellStep / 2, y = area.h * 0.62;
        CellRow(canvas, x0, y, r, 2);
        canvas.Blob(x0, y, r * 0.6, KindColor(1), 0.06, 0.5, 0.8);
        canvas.Glow(x0 + r * kCellStep, y, r, KindColor(1), 0.5);
        canvas.Blob(x0 + r * kCellStep, y, r * 0.6, KindColor(1), 0.06, 2.5, 0.8);
        Arrow(canvas, x0 + 10, y - r * 1.0, x0 + r * kCellStep - 10, y - r * 1.0, 50, kGold);
    });
    Panel(canvas, {24 + w, 12, w, topHeight}, KindColor(1), [&](const Cel& area) {
        const double r = 48, x0 = area.w / 2 - r * kCellStep, y = area.h * 0.62;
        CellRow(canvas, x0, y, r, 3);
        canvas.SetColor(KindColor(1), 0.35);
        canvas.Membrane(x0, y, r * 0.55, 0.06, 0.5);
        cairo_fill(canvas.Cr());
        canvas.Blob(x0 + r * 2 * kCellStep, y, r * 0.6, KindColor(1), 0.06, 1.5, 0.8);
        Arrow(canvas, x0, y - r * 0.9, x0 + r * 2 * kCellStep, y - r * 0.9, 110, kGold);
    });
    const double y = topHeight + 24;
    Panel(canvas, {12, y, page.w - 24, page.h - y - 12}, kNight, [&](const Cel& area) {
        cairo_t* cr = canvas.Cr();
        const int dishes = 6;
        const double step = (area.w - 160) / (dishes - 1);
        canvas.SetColor(kRim, 0.5);
        cairo_set_line_width(cr, 4);
        const double dashes[] = {2, 10};
        cairo_set_dash(cr, dashes, 2, 0);
        cairo_move_to(cr, 80, area.h * 0.6);
        cairo_line_to(cr, 80 + step * (dishes - 1), area.h * 0.6);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        for (int i = 0; i < dishes; ++i)
            ColonyDish(canvas, random, 80 + step * i, area.h * 0.6, 38, i, i == 0 ? Colony::Green : Colony::Infected);
        Creature(canvas, "GLORIA", 80, area.h * 0.28, 90);
        Boss(canvas, 80 + step * (dishes - 1), area.h * 0.3, 110, BossFace::Grin);
    });
}

// Final 1: the Boss, beaten, crawls back into its broken flask.
void BossBeaten(ArtCanvas& canvas, const Cel& page)
{
    const double split = page.w * 0.6;
    Panel(canvas, {12, 12, split - 18, page.h - 24}, KindColor(1), [&](const Cel& area) {
        canvas.SetColor({0.0, 0.0, 0.0}, 0.25);
        cairo_paint(canvas.Cr());
        Boss(canvas, area.w / 2, area.h * 0.5, area.w * 0.7, BossFace::Fear);
        for (int i = 0; i < 4; ++i)
            Creature(canvas, "PORTRAIT_1", area.w * (0.15 + 0.23 * i), area.h * (i % 2 == 0 ? 0.86 : 0.14), 110);
    });
    Panel(canvas, {split + 6, 12, page.w - split - 18, page.h - 24}, kNight, [&](const Cel& area) {
        Flask(canvas, area.w / 2, area.h - 40, area.h * 0.62, true);
        Boss(canvas, area.w / 2, area.h * 0.74, 90, BossFace::Fear);
        Ray(canvas, area.w / 2, area.h * 0.28, area.w / 2, area.h * 0.6, kBossColor, 3, "retreat");
    });
}

// Final 2: morning, every dish green again, Gloria above them and fireworks.
void LabSaved(ArtCanvas& canvas, const Cel& page)
{
    ArtRandom random("fcomic2");
    Panel(canvas, {12, 12, page.w - 24, page.h - 24}, KindColor(1), [&](const Cel& area) {
        Window(canvas, {30, 24, 200, 130}, true);
        for (int i = 0; i < 6; ++i)
        {
            const Rgb color = i % 2 == 0 ? kGold : KindColor(1 + i);
            Burst(canvas, random.Range(280, area.w - 40), random.Range(25, 120), random.Range(12, 24), color, 8);
        }
        canvas.Glow(area.w / 2, 90, 140, kGold, 0.6);
        Creature(canvas, "GLORIA", area.w / 2, 90, 170);
        Shelves(canvas, random, {40, 190, area.w - 80, area.h - 210}, [](int) { return Colony::Green; });
    });
}
} // namespace

CelPainter FindComicPainter(const std::string& name)
{
    using Page = void (*)(ArtCanvas&, const Cel&);
    static const Page opening[] = {&LabAtNight, &BossEscapes, &Infection, &Rampage, &LastCleanDish, &GloriaAnswers,
                                   &CallToArms};
    static const Page ending[] = {&BossBeaten, &LabSaved};
    if (const int n = NumberAfter(name, "COMIC"); n >= 1 && n <= 7)
        return opening[n - 1];
    if (const int n = NumberAfter(name, "FCOMIC"); n >= 1 && n <= 2)
        return ending[n - 1];
    return {};
}
} // namespace ArtGen

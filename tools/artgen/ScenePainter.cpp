// Full-screen scenery and the board's pieces: the dish backgrounds, the level map, splash, title,
// logos, the board's cells, test tubes and map markers.
#include "tools/artgen/ArtCatalogue.h"
#include "tools/artgen/ArtPalette.h"
#include "tools/artgen/SceneParts.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace ArtGen
{
// Dark glass ground with a soft light in the middle and a vignette.
void Ground(ArtCanvas& canvas, const Cel& cel, const Rgb& tint)
{
    cairo_t* cr = canvas.Cr();
    cairo_pattern_t* ground =
        cairo_pattern_create_radial(cel.w * 0.5, cel.h * 0.45, 10, cel.w * 0.5, cel.h * 0.5, cel.w * 0.75);
    const Rgb middle = kGlass.Mix(tint, 0.18), edge = kDeepGlass.Scaled(0.5);
    cairo_pattern_add_color_stop_rgb(ground, 0.0, middle.r, middle.g, middle.b);
    cairo_pattern_add_color_stop_rgb(ground, 1.0, edge.r, edge.g, edge.b);
    cairo_set_source(cr, ground);
    cairo_paint(cr);
    cairo_pattern_destroy(ground);
}

// A petri dish seen from above: agar, glass wall, rim light and its reflection.
void Dish(ArtCanvas& canvas, ArtRandom& random, double cx, double cy, double r, const Rgb& tint, int specks)
{
    cairo_t* cr = canvas.Cr();
    canvas.Glow(cx, cy, r * 1.15, tint, 0.12);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_pattern_t* agar = cairo_pattern_create_radial(cx - r * 0.2, cy - r * 0.25, r * 0.1, cx, cy, r);
    const Rgb light = kGlass.Mix(tint, 0.3), deep = kDeepGlass.Mix(tint, 0.08);
    cairo_pattern_add_color_stop_rgba(agar, 0.0, light.r, light.g, light.b, 0.9);
    cairo_pattern_add_color_stop_rgba(agar, 1.0, deep.r, deep.g, deep.b, 0.9);
    cairo_set_source(cr, agar);
    cairo_fill(cr);
    cairo_pattern_destroy(agar);
    canvas.Agar(random, cx, cy, r * 0.97, specks, tint.Mix(kWhite, 0.5));
    canvas.SetColor(tint.Mix(kWhite, 0.4), 0.55);
    cairo_set_line_width(cr, std::max(2.0, r * 0.025));
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_stroke(cr);
    canvas.SetColor(tint, 0.2);
    cairo_set_line_width(cr, std::max(3.0, r * 0.05));
    cairo_arc(cr, cx, cy, r * 0.95, 0, 2 * kPi);
    cairo_stroke(cr);
    canvas.SetColor(kWhite, 0.12);
    cairo_set_line_width(cr, std::max(2.0, r * 0.04));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, cx, cy, r * 0.9, kPi * 1.1, kPi * 1.4);
    cairo_stroke(cr);
}

namespace
{
std::vector<MapNode> gMapNodes;
std::vector<MapDish> gMapDishes;

// A screen rectangle a picture's colonies keep clear of (where a screen writes its texts).
struct ClearArea
{
    double left, top, right, bottom;
};

// Glowing colonies scattered over a dish; a colony that would touch a clear area (its glow
// included) is drawn again elsewhere.
void Colonies(ArtCanvas& canvas, ArtRandom& random, double cx, double cy, double r, int count, double size, int kindBase,
              const std::vector<ClearArea>& clear = {})
{
    for (int placed = 0, tries = 0; placed < count && tries < count * 50; ++tries)
    {
        const double a = random.Range(0, 2 * kPi), d = std::sqrt(random.Next()) * r;
        const int kind = kindBase + static_cast<int>(random.Range(0, 3));
        const double s = random.Range(0.4, 1.0) * size;
        const double x = cx + d * std::cos(a), y = cy + d * std::sin(a), reach = s * 2;
        const double phase = random.Range(0, 6);
        const bool covers = std::any_of(clear.begin(), clear.end(), [&](const ClearArea& area) {
            return x + reach > area.left && x - reach < area.right && y + reach > area.top && y - reach < area.bottom;
        });
        if (covers)
            continue;
        canvas.Blob(x, y, s, KindColor(kind), 0.08, phase, 0.8);
        ++placed;
    }
}

// The play backgrounds: one dish per background, its tint and colonies varying with the number;
// the centre stays calm for the board.
void Fone(ArtCanvas& canvas, const Cel& cel, int n)
{
    ArtRandom random("fone" + std::to_string(n));
    const Rgb tint = FromHue(185 + (n - 1) * 47.0, 0.55, 0.9);
    Ground(canvas, cel, tint);
    canvas.Agar(random, cel.w / 2, cel.h / 2, cel.w * 0.7, 900, tint);
    Dish(canvas, random, cel.w / 2, cel.h / 2 + 8, cel.h * 0.47, tint, 500);
    // Colonies in the corners, outside the dish: clusters of a few glowing blobs each.
    static const double corners[][2] = {{0.08, 0.12}, {0.92, 0.1}, {0.07, 0.88}, {0.93, 0.9}, {0.06, 0.5}, {0.94, 0.45}};
    for (int cluster = 0; cluster < 6; ++cluster)
    {
        if (random.Next() < 0.25)
            continue;
        const double x = cel.w * corners[cluster][0] + random.Range(-20, 20);
        const double y = cel.h * corners[cluster][1] + random.Range(-20, 20);
        const Rgb color = KindColor(1 + (n + cluster) % 8).Scaled(0.75);
        canvas.Glow(x, y, 70, color, 0.15);
        for (int i = 0; i < 4; ++i)
            canvas.Blob(x + random.Range(-30, 30), y + random.Range(-30, 30), random.Range(5, 16), color, 0.1,
                        random.Range(0, 6), 0.6);
    }
}

void MainMenu(ArtCanvas& canvas, const Cel& cel)
{
    ArtRandom random("mainmenu");
    Ground(canvas, cel, kRim);
    canvas.Agar(random, cel.w / 2, cel.h / 2, cel.w * 0.7, 1200, kRim);
    Dish(canvas, random, cel.w * 0.62, cel.h * 0.58, cel.h * 0.5, kRim, 600);
    // The menu's labels and the timed profile hint stay readable: no colony under them.
    const std::vector<ClearArea> texts = {{370, 185, 540, 445}, {740, 160, 1024, 320}};
    Colonies(canvas, random, cel.w * 0.62, cel.h * 0.58, cel.h * 0.38, 16, 22, 1, texts);
    Dish(canvas, random, cel.w * 0.12, cel.h * 0.15, cel.h * 0.22, SkinColor(4), 150);
    Colonies(canvas, random, cel.w * 0.12, cel.h * 0.15, cel.h * 0.15, 5, 12, 3);
}

// The company's branding picture, shown by the splash before the title.
void Branding(ArtCanvas& canvas, const Cel& cel)
{
    cairo_t* cr = canvas.Cr();
    canvas.SetColor({0.01, 0.02, 0.03});
    cairo_paint(cr);
    canvas.Glow(cel.w / 2, cel.h * 0.42, cel.h * 0.35, KindColor(1), 0.35);
    canvas.Blob(cel.w / 2, cel.h * 0.42, cel.h * 0.11, KindColor(1), 0.05, 0.4, 1.0);
    canvas.Text("NORDWICK", cel.w / 2, cel.h * 0.66, 54, TextWeight::Bold, kRim, 0.8);
    canvas.Text("games from the glass", cel.w / 2, cel.h * 0.73, 20, TextWeight::Regular, kSilver, 0.2);
}

// The title picture behind the logo, its plate, the loading bar and the prompt: a dish with
// colonies in the middle below the logo, two small ones in the lower corners.
void Title(ArtCanvas& canvas, const Cel& cel)
{
    ArtRandom random("title");
    Ground(canvas, cel, KindColor(1));
    canvas.Agar(random, cel.w / 2, cel.h / 2, cel.w * 0.7, 1200, kRim);
    Dish(canvas, random, cel.w * 0.5, cel.h * 0.6, cel.h * 0.3, KindColor(1), 600);
    Colonies(canvas, random, cel.w * 0.5, cel.h * 0.6, cel.h * 0.22, 14, 20, 1);
    Dish(canvas, random, cel.w * 0.1, cel.h * 0.82, cel.h * 0.16, SkinColor(4), 150);
    Colonies(canvas, random, cel.w * 0.1, cel.h * 0.82, cel.h * 0.1, 4, 11, 3);
    Dish(canvas, random, cel.w * 0.9, cel.h * 0.8, cel.h * 0.14, KindColor(3), 120);
    Colonies(canvas, random, cel.w * 0.9, cel.h * 0.8, cel.h * 0.09, 4, 10, 5);
}

// The two logos differ only in colour. Both lines stand in the picture's upper two thirds: the
// main menu draws the picture at 0.8 of its size against the top of the screen, and the panels
// of the dialogs opened over the menu begin about 110 pixels down.
void Logo(ArtCanvas& canvas, const Cel& cel, bool alternative)
{
    const Rgb main = alternative ? KindColor(3) : KindColor(1);
    // The halo fades out before the picture's edges, so it never shows a straight side.
    const double glowX = cel.w * 0.12, glowY = cel.h * 0.3;
    canvas.Glow(glowX, glowY, std::min(glowX, glowY) - 2, main, 0.4);
    canvas.Blob(glowX, glowY, cel.h * 0.2, main, 0.06, 1.2, 0.8);
    canvas.Text("PetriGlow", cel.w * 0.56, cel.h * 0.28, cel.h * 0.42, TextWeight::Bold, main, 1.0);
    canvas.Text("SAGA", cel.w * 0.56, cel.h * 0.6, cel.h * 0.19, TextWeight::Bold, kRim, 0.6);
}

// The board's cell strip of a skin: cels 0 to 2 are the three looks of a cell (glass hexagons in
// the skin's colour: plain, dotted, with an inner ring), 3 to 5 the light overlays the play
// screen tints and pulses over a cell (the selection's ring, the clone target's green glow, and
// the dashed outline of jump targets, hovered cells and a bomb's area).
enum class CellCel
{
    Plain,
    Dotted,
    Ringed,
    SelectionRing,
    CloneGlow,
    TargetFill,
};

void CellGlass(ArtCanvas& canvas, const Cel& cel, const Rgb& tint, CellCel look)
{
    cairo_t* cr = canvas.Cr();
    const double cx = cel.w / 2, cy = cel.h / 2, rx = cel.w / 2 - 2, ry = cel.h / 2 - 2;
    // The looks differ in depth as well as in pattern, so neighbouring kinds stand apart.
    const double lift = look == CellCel::Plain ? 0.35 : look == CellCel::Dotted ? 0.2 : 0.5;
    canvas.Hexagon(cx, cy, rx, ry);
    cairo_pattern_t* fill = cairo_pattern_create_radial(cx - rx * 0.2, cy - ry * 0.3, 2, cx, cy, rx);
    const Rgb light = kGlass.Mix(tint, lift), deep = kDeepGlass.Mix(tint, 0.1);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, light.r, light.g, light.b, 0.85);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, deep.r, deep.g, deep.b, 0.85);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    canvas.SetColor(tint, 0.85);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
    canvas.Hexagon(cx, cy, rx - 5, ry - 5);
    canvas.SetColor(tint, 0.2);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    if (look == CellCel::Dotted)
    {
        canvas.SetColor(tint, 0.35);
        for (int i = 0; i < 6; ++i)
        {
            const double a = kPi / 3 * i + kPi / 6;
            cairo_arc(cr, cx + rx * 0.55 * std::cos(a), cy + ry * 0.55 * std::sin(a), 2.2, 0, 2 * kPi);
            cairo_fill(cr);
        }
    }
    else if (look == CellCel::Ringed)
    {
        canvas.Hexagon(cx, cy, rx * 0.5, ry * 0.5);
        canvas.SetColor(tint, 0.45);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    canvas.Specular(cx - rx * 0.3, cy - ry * 0.45, rx * 0.35, ry * 0.12, 0.35);
}

void CellOverlay(ArtCanvas& canvas, const Cel& cel, CellCel overlay)
{
    cairo_t* cr = canvas.Cr();
    const double cx = cel.w / 2, cy = cel.h / 2, rx = cel.w / 2 - 2, ry = cel.h / 2 - 2;
    const Rgb pale{0.85, 1.0, 0.95};
    switch (overlay)
    {
    case CellCel::SelectionRing:
        canvas.Hexagon(cx, cy, rx - 1, ry - 1);
        canvas.SetColor(kWhite, 0.95);
        cairo_set_line_width(cr, 3.0);
        cairo_stroke(cr);
        canvas.Hexagon(cx, cy, rx - 5, ry - 5);
        canvas.SetColor(pale, 0.35);
        cairo_set_line_width(cr, 2.0);
        cairo_stroke(cr);
        break;
    case CellCel::CloneGlow:
    {
        // A clone target glows green and carries a plus: the colony grows into it.
        const Rgb green{0.45, 1.0, 0.55};
        canvas.Hexagon(cx, cy, rx - 1, ry - 1);
        cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 2, cx, cy, rx);
        cairo_pattern_add_color_stop_rgba(glow, 0.0, green.r, green.g, green.b, 0.3);
        cairo_pattern_add_color_stop_rgba(glow, 1.0, green.r, green.g, green.b, 0.7);
        cairo_set_source(cr, glow);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(glow);
        canvas.SetColor(green.Mix(kWhite, 0.5), 0.95);
        cairo_set_line_width(cr, 3.0);
        cairo_stroke(cr);
        const double arm = ry * 0.3;
        canvas.SetColor(kWhite, 0.85);
        cairo_set_line_width(cr, 4.0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, cx - arm, cy);
        cairo_line_to(cr, cx + arm, cy);
        cairo_move_to(cr, cx, cy - arm);
        cairo_line_to(cr, cx, cy + arm);
        cairo_stroke(cr);
        break;
    }
    default:
    {
        // Jump targets, hovered cells and a bomb's area: a faint white fill inside a dashed
        // outline, white so that the play screen can tint it.
        canvas.Hexagon(cx, cy, rx - 2, ry - 2);
        canvas.SetColor(kWhite, 0.14);
        cairo_fill_preserve(cr);
        const double dashes[] = {6.0, 4.0};
        cairo_set_dash(cr, dashes, 2, 0.0);
        canvas.SetColor(kWhite, 0.9);
        cairo_set_line_width(cr, 2.0);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0.0);
        break;
    }
    }
}

void BoardCell(ArtCanvas& canvas, const Cel& cel, int skin)
{
    const auto which = static_cast<CellCel>(std::clamp(cel.index, 0, static_cast<int>(CellCel::TargetFill)));
    if (which <= CellCel::Ringed)
        CellGlass(canvas, cel, SkinColor(skin), which);
    else
        CellOverlay(canvas, cel, which);
}

enum class Tube
{
    Glass,
    Fill,
    Rest,
    Top,
};

// The test tube of the colony count: glass, its liquid, the remainder mark and its stopper.
void TestTube(ArtCanvas& canvas, const Cel& cel, Tube part, const Rgb& liquid)
{
    cairo_t* cr = canvas.Cr();
    const double m = cel.w * 0.2, w = cel.w - 2 * m;
    auto outline = [&](double inset) {
        cairo_new_path(cr);
        cairo_move_to(cr, m + inset, inset + 4);
        cairo_line_to(cr, m + inset, cel.h - w / 2 - 4);
        cairo_arc_negative(cr, cel.w / 2, cel.h - w / 2 - 4, w / 2 - inset, kPi, 0);
        cairo_line_to(cr, cel.w - m - inset, inset + 4);
    };
    switch (part)
    {
    case Tube::Glass:
        outline(0);
        canvas.SetColor(kRim, 0.12);
        cairo_fill_preserve(cr);
        canvas.SetColor(kRim, 0.8);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        canvas.SetColor(kWhite, 0.3);
        cairo_rectangle(cr, m + w * 0.15, 10, w * 0.12, cel.h - w - 10);
        cairo_fill(cr);
        break;
    case Tube::Fill:
    case Tube::Rest:
    {
        outline(3);
        cairo_close_path(cr);
        cairo_pattern_t* fill = cairo_pattern_create_linear(m, 0, cel.w - m, 0);
        const Rgb c = part == Tube::Rest ? liquid.Scaled(0.5) : liquid;
        const Rgb light = c.Mix(kWhite, 0.4);
        cairo_pattern_add_color_stop_rgba(fill, 0.0, c.r, c.g, c.b, 0.85);
        cairo_pattern_add_color_stop_rgba(fill, 0.35, light.r, light.g, light.b, 0.9);
        cairo_pattern_add_color_stop_rgba(fill, 1.0, c.r * 0.5, c.g * 0.5, c.b * 0.5, 0.85);
        cairo_set_source(cr, fill);
        cairo_fill(cr);
        cairo_pattern_destroy(fill);
        ArtRandom random("bubbles" + std::to_string(static_cast<int>(cel.h + c.r * 100)));
        for (int i = 0; i < 12; ++i)
        {
            canvas.SetColor(kWhite, 0.35);
            cairo_arc(cr, random.Range(m + 5, cel.w - m - 5), random.Range(10, cel.h - 10), random.Range(1, 3.5), 0, 2 * kPi);
            cairo_fill(cr);
        }
        break;
    }
    case Tube::Top:
        canvas.RoundedRect(cel.w * 0.12, cel.h * 0.2, cel.w * 0.76, cel.h * 0.5, 8);
        canvas.SetColor({0.25, 0.35, 0.45}, 1.0);
        cairo_fill_preserve(cr);
        canvas.SetColor(kRim, 0.8);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        canvas.Specular(cel.w * 0.35, cel.h * 0.32, cel.w * 0.2, cel.h * 0.06, 0.5);
        break;
    }
}

// A bubble flash on the map: a cluster of tiny bubbles that swell, brighten and pop, one stage
// per cel (the same bubbles in every cel, so the strip plays as one flash).
void Bulb(ArtCanvas& canvas, const Cel& cel, int which, bool big)
{
    ArtRandom random("bulb" + std::to_string(which) + (big ? "big" : "") + std::to_string(static_cast<int>(cel.w)));
    const Rgb tint = KindColor(1 + which % 8);
    const double phase = cel.count > 1 ? static_cast<double>(cel.index) / (cel.count - 1) : 0.5;
    const double swell = 0.4 + phase * 0.8;
    const double fade = phase < 0.7 ? 1.0 : (1.0 - phase) / 0.3;
    for (int i = 0; i < (big ? 14 : 8); ++i)
    {
        const double x = random.Range(6, cel.w - 6), y = random.Range(6, cel.h - 6);
        const double r = random.Range(1.5, big ? 6 : 4) * swell;
        canvas.Glow(x, y, r * 2.5, tint, 0.35 * fade);
        canvas.SetColor(tint.Mix(kWhite, 0.6), 0.9 * fade);
        cairo_set_line_width(canvas.Cr(), 1);
        cairo_arc(canvas.Cr(), x, y, r, 0, 2 * kPi);
        cairo_stroke(canvas.Cr());
    }
}

// A tube of the map's random-level panel: glass above, its lower part held in an opaque stand
// that hides the liquid below the empty mark (30 pixels down).
void RandomTube(ArtCanvas& canvas, const Cel& cel)
{
    cairo_t* cr = canvas.Cr();
    canvas.RoundedRect(3, 1, cel.w - 6, 40, 4);
    canvas.SetColor(kRim, 0.15);
    cairo_fill_preserve(cr);
    canvas.SetColor(kRim, 0.9);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    canvas.SetColor(kWhite, 0.35);
    cairo_rectangle(cr, 7, 4, 3, 24);
    cairo_fill(cr);
    canvas.RoundedRect(0, 30, cel.w, cel.h - 30, 5);
    canvas.SetColor({0.22, 0.3, 0.4}, 1.0);
    cairo_fill_preserve(cr);
    canvas.SetColor(kRim, 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// The liquid of a random-level tube: a column with a bright surface line on top.
void RandomTubeFill(ArtCanvas& canvas, const Cel& cel, const Rgb& liquid)
{
    cairo_t* cr = canvas.Cr();
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, cel.w, 0);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, liquid.r * 0.6, liquid.g * 0.6, liquid.b * 0.6, 0.95);
    cairo_pattern_add_color_stop_rgba(fill, 0.4, liquid.r, liquid.g, liquid.b, 0.95);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, liquid.r * 0.6, liquid.g * 0.6, liquid.b * 0.6, 0.95);
    cairo_rectangle(cr, 0, 1, cel.w, cel.h - 1);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    canvas.SetColor(liquid.Mix(kWhite, 0.6), 1.0);
    cairo_rectangle(cr, 0, 0, cel.w, 2);
    cairo_fill(cr);
}

// The episode's tint of the map, for its dish and its nodes (episodes of groups 1-5, 6-9,
// 10-14, 15-19, 20-24; index from 0).
Rgb EpisodeTint(int episode)
{
    return FromHue(185 + episode * 47.0, 0.55, 0.9);
}

int GroupEpisode(int group)
{
    static const int firstGroup[] = {6, 10, 15, 20};
    int episode = 0;
    for (const int first : firstGroup)
        episode += group >= first ? 1 : 0;
    return episode;
}

// The map's node of a level group: a glass place centred in its cel (the cel is twice the
// group's centre offset) in its episode's tint, lit pips for the levels done (cel k: k of
// them), the group number.
void LevelNode(ArtCanvas& canvas, const Cel& cel, int group)
{
    cairo_t* cr = canvas.Cr();
    const Rgb tint = EpisodeTint(GroupEpisode(group));
    const double cx = cel.w / 2, cy = cel.h / 2;
    const double rx = std::min(cx, 24.0) - 1, ry = std::min(cy, 24.0) - 1;
    const double r = std::min(rx, ry);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx / r, ry / r);
    canvas.GlassDisc(0, 0, r, tint, 0.7 + 0.2 * cel.index);
    cairo_restore(cr);
    canvas.Text(std::to_string(group), cx, cy - ry * 0.15, ry * 0.9, TextWeight::Bold, kWhite, 0.5);
    for (int i = 0; i < 3; ++i)
    {
        const bool lit = i < cel.index;
        cairo_arc(cr, cx + (i - 1) * 7.0, cy + ry * 0.6, 2.5, 0, 2 * kPi);
        canvas.SetColor(lit ? kGold : Rgb{0.2, 0.25, 0.3}, lit ? 1.0 : 0.8);
        cairo_fill(cr);
    }
}

void LevelMap(ArtCanvas& canvas, const Cel& cel)
{
    cairo_t* cr = canvas.Cr();
    ArtRandom random("map");
    Ground(canvas, cel, kRim);
    canvas.Agar(random, cel.w / 2, cel.h / 2, cel.w * 0.7, 1500, kRim);
    // One dish per episode, then the path through the nodes.
    for (size_t e = 0; e < gMapDishes.size(); ++e)
    {
        Dish(canvas, random, gMapDishes[e].x, gMapDishes[e].y, gMapDishes[e].radius, EpisodeTint(static_cast<int>(e)),
             300);
    }
    canvas.SetColor(kRim, 0.35);
    cairo_set_line_width(cr, 4);
    const double dashes[] = {2, 10};
    cairo_set_dash(cr, dashes, 2, 0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (size_t i = 0; i < gMapNodes.size(); ++i)
        cairo_line_to(cr, gMapNodes[i].x + gMapNodes[i].w / 2.0, gMapNodes[i].y + gMapNodes[i].h / 2.0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    for (const MapNode& node : gMapNodes)
    {
        canvas.SetColor(kDeepGlass, 0.8);
        cairo_arc(cr, node.x + node.w / 2.0, node.y + node.h / 2.0, 27, 0, 2 * kPi);
        cairo_fill_preserve(cr);
        canvas.SetColor(kRim, 0.5);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
}

void MapMenuBand(ArtCanvas& canvas, const Cel& cel)
{
    cairo_t* cr = canvas.Cr();
    cairo_pattern_t* band = cairo_pattern_create_linear(0, 0, 0, cel.h);
    cairo_pattern_add_color_stop_rgba(band, 0.0, 0.02, 0.05, 0.08, 0.0);
    cairo_pattern_add_color_stop_rgba(band, 0.35, 0.03, 0.09, 0.13, 0.92);
    cairo_pattern_add_color_stop_rgba(band, 1.0, 0.02, 0.05, 0.08, 0.96);
    cairo_set_source(cr, band);
    cairo_paint(cr);
    cairo_pattern_destroy(band);
    canvas.SetColor(kRim, 0.6);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 0, cel.h * 0.35);
    cairo_line_to(cr, cel.w, cel.h * 0.35);
    cairo_stroke(cr);
}

void Pipette(ArtCanvas& canvas, const Cel& cel)
{
    cairo_t* cr = canvas.Cr();
    canvas.RoundedRect(cel.w * 0.3, 4, cel.w * 0.4, cel.h * 0.28, 10);
    canvas.SetColor(KindColor(5).Scaled(0.8));
    cairo_fill(cr);
    cairo_move_to(cr, cel.w * 0.36, cel.h * 0.3);
    cairo_line_to(cr, cel.w * 0.64, cel.h * 0.3);
    cairo_line_to(cr, cel.w * 0.54, cel.h - 4);
    cairo_line_to(cr, cel.w * 0.46, cel.h - 4);
    cairo_close_path(cr);
    canvas.SetColor(kRim, 0.2);
    cairo_fill_preserve(cr);
    canvas.SetColor(kRim, 0.85);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    canvas.Glow(cel.w / 2, cel.h - 6, 10, KindColor(1), 0.8);
}

void Beaker(ArtCanvas& canvas, const Cel& cel)
{
    cairo_t* cr = canvas.Cr();
    const double m = 12;
    cairo_move_to(cr, m, m);
    cairo_line_to(cr, m + 6, cel.h - m);
    cairo_line_to(cr, cel.w - m - 6, cel.h - m);
    cairo_line_to(cr, cel.w - m, m);
    canvas.SetColor(kRim, 0.1);
    cairo_fill_preserve(cr);
    canvas.SetColor(kRim, 0.85);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_rectangle(cr, m + 5, cel.h * 0.45, cel.w - 2 * m - 10, cel.h * 0.55 - m - 2);
    canvas.SetColor(KindColor(1), 0.55);
    cairo_fill(cr);
}
} // namespace

void SetMapNodes(std::vector<MapNode> nodes)
{
    gMapNodes = std::move(nodes);
}

void SetMapDishes(std::vector<MapDish> dishes)
{
    gMapDishes = std::move(dishes);
}

CelPainter FindScenePainter(const std::string& name)
{
    if (int n = NumberAfter(name, "FONE"); n >= 1)
        return [n](ArtCanvas& c, const Cel& cel) { Fone(c, cel, n); };
    if (int skin = NumberAfter(name, "CELL"); skin >= 1)
        return [skin](ArtCanvas& c, const Cel& cel) { BoardCell(c, cel, skin); };
    if (int group = NumberAfter(name, "LEV_"); group >= 1)
        return [group](ArtCanvas& c, const Cel& cel) { LevelNode(c, cel, group); };
    if (name == "MAIN_MENU_BACKGROUND")
        return &MainMenu;
    if (name == "SPLASH")
        return &Title;
    if (name == "BRANDING")
        return &Branding;
    if (name == "LOGO_EN" || name == "LOGO_ALT")
    {
        const bool alternative = name == "LOGO_ALT";
        return [alternative](ArtCanvas& c, const Cel& cel) { Logo(c, cel, alternative); };
    }
    if (name == "MAP")
        return &LevelMap;
    if (name == "MAPMENU_FONE")
        return &MapMenuBand;
    if (name == "PIPETKA")
        return &Pipette;
    if (name == "STAKAN")
        return &Beaker;
    if (name == "PROBIRKA")
        return [](ArtCanvas& c, const Cel& cel) { TestTube(c, cel, Tube::Glass, KindColor(1)); };
    if (name == "RND_PROBIRKA")
        return &RandomTube;
    if (name == "PROBIRKA_FILL")
        return [](ArtCanvas& c, const Cel& cel) { TestTube(c, cel, Tube::Fill, KindColor(1)); };
    if (name == "PROBIRKA_OST")
        return [](ArtCanvas& c, const Cel& cel) { TestTube(c, cel, Tube::Rest, KindColor(1)); };
    if (name == "PROBIRKA_TOP")
        return [](ArtCanvas& c, const Cel& cel) { TestTube(c, cel, Tube::Top, KindColor(1)); };
    if (int n = NumberAfter(name, "RND_PROBIRKA_FILL"); n >= 1)
        return [n](ArtCanvas& c, const Cel& cel) { RandomTubeFill(c, cel, KindColor(n)); };
    if (StartsWith(name, "BULB_") && name.size() >= 8)
    {
        const int which = name[7] - '0';
        const bool big = name.size() > 8;
        return [which, big](ArtCanvas& c, const Cel& cel) { Bulb(c, cel, which, big); };
    }
    return {};
}
} // namespace ArtGen

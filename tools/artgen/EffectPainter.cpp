// Light for the effects: particle textures, sparks, the spotlight, the map's star and its small
// legend icons. Particles are mostly white-cored so that the particle systems can tint them.
#include "tools/artgen/ArtCatalogue.h"
#include "tools/artgen/ArtPalette.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace ArtGen
{
namespace
{
// Fifty particle textures in ten shapes, each in five colours (white first).
void Particle(ArtCanvas& canvas, const Cel& cel, int n)
{
    cairo_t* cr = canvas.Cr();
    const int shape = (n - 1) / 5, colour = (n - 1) % 5;
    const Rgb tint = colour == 0 ? kWhite : KindColor(1 + (colour - 1) * 2).Mix(kWhite, 0.3);
    const double cx = cel.w / 2, cy = cel.h / 2, r = std::min(cel.w, cel.h) / 2 - 1;
    switch (shape)
    {
    case 0: canvas.Glow(cx, cy, r, tint, 1.0); break;
    case 1: canvas.Glow(cx, cy, r, tint, 0.5); canvas.Glow(cx, cy, r * 0.35, kWhite, 1.0); break;
    case 2:
        canvas.SetColor(tint, 0.9);
        cairo_set_line_width(cr, r * 0.2);
        cairo_arc(cr, cx, cy, r * 0.7, 0, 2 * kPi);
        cairo_stroke(cr);
        canvas.Glow(cx, cy, r, tint, 0.25);
        break;
    case 3:
        canvas.Glow(cx, cy, r, tint, 0.4);
        canvas.SetColor(tint.Mix(kWhite, 0.5), 1.0);
        canvas.Star(cx, cy, r * 0.95, r * 0.18, 4, 0);
        cairo_fill(cr);
        break;
    case 4:
        canvas.Glow(cx, cy, r, tint, 0.4);
        canvas.SetColor(tint.Mix(kWhite, 0.5), 1.0);
        canvas.Star(cx, cy, r * 0.9, r * 0.4, 5, 0);
        cairo_fill(cr);
        break;
    case 5: // a bubble
        canvas.SetColor(tint, 0.25);
        cairo_arc(cr, cx, cy, r * 0.8, 0, 2 * kPi);
        cairo_fill_preserve(cr);
        canvas.SetColor(tint, 0.9);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        canvas.Specular(cx - r * 0.3, cy - r * 0.35, r * 0.3, r * 0.15, 0.9);
        break;
    case 6: canvas.Blob(cx, cy, r * 0.6, tint, 0.1, n, 0.6); break;
    case 7: // smoke
    {
        ArtRandom random("smoke" + std::to_string(n));
        for (int i = 0; i < 6; ++i)
            canvas.Glow(cx + random.Range(-r * 0.4, r * 0.4), cy + random.Range(-r * 0.4, r * 0.4), r * 0.6, tint, 0.3);
        break;
    }
    case 8: // a drop
        canvas.SetColor(tint, 0.9);
        cairo_move_to(cr, cx, cy - r * 0.8);
        cairo_curve_to(cr, cx + r * 0.7, cy, cx + r * 0.5, cy + r * 0.7, cx, cy + r * 0.7);
        cairo_curve_to(cr, cx - r * 0.5, cy + r * 0.7, cx - r * 0.7, cy, cx, cy - r * 0.8);
        cairo_fill(cr);
        canvas.Specular(cx - r * 0.15, cy + r * 0.1, r * 0.12, r * 0.25, 0.8);
        break;
    default: // a streak
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, 1.0, 0.25);
        canvas.Glow(0, 0, r, tint, 1.0);
        cairo_restore(cr);
        break;
    }
}

void Spark(ArtCanvas& canvas, const Cel& cel, int n)
{
    const Rgb tint = n == 1 ? kWhite : FromHue(n * 40.0, 0.5, 1.0);
    const double cx = cel.w / 2, cy = cel.h / 2, r = std::min(cel.w, cel.h) / 2 - 1;
    canvas.Glow(cx, cy, r * 0.8, tint, 0.6);
    canvas.SetColor(tint.Mix(kWhite, 0.6), 1.0);
    canvas.Star(cx, cy, r, r * 0.1, 4 + (n % 3) * 2, n * 0.2);
    cairo_fill(canvas.Cr());
}

// The spotlight's mask: clear in the middle, darkening towards a fully dark rim and corners.
void SpotMask(ArtCanvas& canvas, const Cel& cel)
{
    cairo_t* cr = canvas.Cr();
    const double cx = cel.w / 2, cy = cel.h / 2, r = std::min(cel.w, cel.h) / 2;
    cairo_pattern_t* dark = cairo_pattern_create_radial(cx, cy, r * 0.7, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(dark, 0.0, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(dark, 1.0, 0, 0, 0, 1.0);
    cairo_set_source(cr, dark);
    cairo_paint(cr);
    cairo_pattern_destroy(dark);
}

// A map star's twinkle: cel by cel it grows, turns a little and fades out.
void Twinkle(ArtCanvas& canvas, const Cel& cel)
{
    const double phase = cel.count > 1 ? static_cast<double>(cel.index) / (cel.count - 1) : 0.5;
    const double size = std::sin(phase * kPi) * 0.8 + 0.2;
    const double cx = cel.w / 2, cy = cel.h / 2, r = (std::min(cel.w, cel.h) / 2 - 1) * size;
    canvas.Glow(cx, cy, r * 0.9, kWhite, 0.6 * size);
    canvas.SetColor(Rgb{1.0, 0.95, 0.7}, 0.4 + 0.6 * size);
    canvas.Star(cx, cy, r, r * 0.15, 4, phase * 0.6);
    cairo_fill(canvas.Cr());
}

// The level fans' small pictures: bacteria by kind (cel = kind - 1), cells by episode, medals
// by grade, the hover glow and the line.
void MiniIcon(ArtCanvas& canvas, const Cel& cel, const std::string& what)
{
    cairo_t* cr = canvas.Cr();
    const double cx = cel.w / 2, cy = cel.h / 2, r = std::min(cel.w, cel.h) * 0.4;
    if (what == "BACS")
        canvas.Blob(cx, cy, r * 0.55, KindColor(cel.index + 1), 0.05, 0, 0.6);
    else if (what == "CELLS")
    {
        static const Rgb kEpisodes[] = {{0.94, 0.8, 0.28}, {0.3, 0.62, 0.79}, {0.83, 0.51, 1.0},
                                        {0.11, 0.65, 0.44}, {0.55, 0.5, 0.82}};
        const Rgb tint = kEpisodes[std::min(cel.index, 4)];
        canvas.Hexagon(cx, cy, r * 1.1, r);
        canvas.SetColor(tint.Scaled(0.45), 0.85);
        cairo_fill_preserve(cr);
        canvas.SetColor(tint, 1.0);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
    }
    else if (what == "GLOW")
        canvas.Glow(cx, cy, r * 1.2, kRim, 0.9);
    else if (what == "MEDALS")
    {
        const Rgb grades[] = {kBronze, kSilver, kGold};
        canvas.GlassDisc(cx, cy, r * 0.7, grades[std::min(cel.index, 2)], 1.0);
    }
    else // the line of a fan's ray
    {
        cairo_pattern_t* line = cairo_pattern_create_linear(0, 0, cel.w, 0);
        cairo_pattern_add_color_stop_rgba(line, 0.0, kRim.r, kRim.g, kRim.b, 0.0);
        cairo_pattern_add_color_stop_rgba(line, 0.5, kRim.r, kRim.g, kRim.b, 0.9);
        cairo_pattern_add_color_stop_rgba(line, 1.0, kRim.r, kRim.g, kRim.b, 0.0);
        cairo_set_source(cr, line);
        cairo_rectangle(cr, 0, cel.h / 2 - 1.5, cel.w, 3);
        cairo_fill(cr);
        cairo_pattern_destroy(line);
    }
}
} // namespace

CelPainter FindEffectPainter(const std::string& name)
{
    if (int n = NumberAfter(name, "PARTICLE"); n >= 1)
        return [n](ArtCanvas& c, const Cel& cel) { Particle(c, cel, n); };
    if (int n = NumberAfter(name, "SPARK"); n >= 1)
        return [n](ArtCanvas& c, const Cel& cel) { Spark(c, cel, n); };
    if (name == "SPOT")
        return &SpotMask;
    if (name == "STAR")
        return &Twinkle;
    if (StartsWith(name, "MINI_"))
    {
        const std::string what = name.substr(5);
        return [what](ArtCanvas& c, const Cel& cel) { MiniIcon(c, cel, what); };
    }
    return {};
}
} // namespace ArtGen

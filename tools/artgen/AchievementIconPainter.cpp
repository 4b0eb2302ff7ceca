// The level map's achievements button icon: a trophy cup with a star on its bowl and two
// sparkles beside it. The button tints its icon with its label colour (dark blue at rest, white
// under the mouse, faint grey while disabled), so the cup is drawn in white and light greys:
// the greys give it shape under any tint. The picture fills the cel, which the table sizes to sit
// centred on the button's 80 x 80 face from the icon's place 13 pixels in and 19 down.
#include "tools/artgen/ArtCatalogue.h"
#include "tools/artgen/ArtPalette.h"

#include <algorithm>

namespace ArtGen
{
namespace
{
const Rgb kShade{0.62, 0.62, 0.62};
const Rgb kInk{0.4, 0.4, 0.4};

// The bowl: a wide rim narrowing into the stem, in cel units around the centre line.
void BowlPath(cairo_t* cr, double cx, double top, double halfWidth, double depth)
{
    cairo_move_to(cr, cx - halfWidth, top);
    cairo_line_to(cr, cx + halfWidth, top);
    cairo_curve_to(cr, cx + halfWidth, top + depth * 0.75, cx + halfWidth * 0.45, top + depth, cx, top + depth);
    cairo_curve_to(cr, cx - halfWidth * 0.45, top + depth, cx - halfWidth, top + depth * 0.75, cx - halfWidth, top);
    cairo_close_path(cr);
}

// One handle: a loop from the rim's side down to the bowl's waist.
void HandlePath(cairo_t* cr, double side, double cx, double top, double halfWidth, double depth)
{
    const double x0 = cx + side * halfWidth * 0.92, reach = halfWidth * 0.42;
    cairo_move_to(cr, x0, top + depth * 0.12);
    cairo_curve_to(cr, x0 + side * reach, top + depth * 0.02, x0 + side * reach * 1.15, top + depth * 0.55,
                   x0 - side * halfWidth * 0.2, top + depth * 0.72);
}

void Sparkle(ArtCanvas& canvas, double x, double y, double r)
{
    canvas.SetColor(kWhite, 0.95);
    canvas.Star(x, y, r, r * 0.28, 4, 0);
    cairo_fill(canvas.Cr());
}

void Trophy(ArtCanvas& canvas, const Cel& cel)
{
    cairo_t* cr = canvas.Cr();
    const double cx = cel.w / 2, unit = std::min(cel.w / 54.0, cel.h / 42.0);
    const double top = 4 * unit, halfWidth = 13 * unit, depth = 19 * unit;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    // Handles behind the bowl, outlined so that they read on both faces of the button.
    for (const double side : {-1.0, 1.0})
    {
        HandlePath(cr, side, cx, top, halfWidth, depth);
        canvas.SetColor(kInk, 1.0);
        cairo_set_line_width(cr, 5.2 * unit);
        cairo_stroke_preserve(cr);
        canvas.SetColor(kWhite, 1.0);
        cairo_set_line_width(cr, 2.8 * unit);
        cairo_stroke(cr);
    }

    // Stem and the two-step base.
    const double stemTop = top + depth - unit, stemBottom = top + depth + 6 * unit;
    cairo_move_to(cr, cx - 2.2 * unit, stemTop);
    cairo_line_to(cr, cx + 2.2 * unit, stemTop);
    cairo_line_to(cr, cx + 4.5 * unit, stemBottom);
    cairo_line_to(cr, cx - 4.5 * unit, stemBottom);
    cairo_close_path(cr);
    canvas.RoundedRect(cx - 9 * unit, stemBottom, 18 * unit, 4 * unit, 1.5 * unit);
    canvas.RoundedRect(cx - 12 * unit, stemBottom + 4 * unit, 24 * unit, 5.5 * unit, 2 * unit);
    cairo_pattern_t* metal = cairo_pattern_create_linear(cx - 12 * unit, 0, cx + 12 * unit, 0);
    cairo_pattern_add_color_stop_rgb(metal, 0.0, kShade.r, kShade.g, kShade.b);
    cairo_pattern_add_color_stop_rgb(metal, 0.35, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(metal, 1.0, kShade.r, kShade.g, kShade.b);
    cairo_set_source(cr, metal);
    cairo_fill_preserve(cr);
    canvas.SetColor(kInk, 1.0);
    cairo_set_line_width(cr, 1.2 * unit);
    cairo_stroke(cr);

    // The bowl, lit from the left, with a dark rim line and the mouth's inner shadow.
    BowlPath(cr, cx, top, halfWidth, depth);
    cairo_pattern_t* bowl = cairo_pattern_create_linear(cx - halfWidth, 0, cx + halfWidth, 0);
    cairo_pattern_add_color_stop_rgb(bowl, 0.0, 0.85, 0.85, 0.85);
    cairo_pattern_add_color_stop_rgb(bowl, 0.3, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(bowl, 1.0, kShade.r, kShade.g, kShade.b);
    cairo_set_source(cr, bowl);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(bowl);
    canvas.SetColor(kInk, 1.0);
    cairo_set_line_width(cr, 1.4 * unit);
    cairo_stroke(cr);
    cairo_pattern_destroy(metal);
    cairo_save(cr);
    cairo_scale(cr, 1.0, 0.22);
    cairo_arc(cr, cx, (top + 0.6 * unit) / 0.22, halfWidth - 1.2 * unit, 0, 2 * kPi);
    cairo_restore(cr);
    canvas.SetColor(kInk, 0.85);
    cairo_fill(cr);

    // The star on the bowl, cut in the dark ink so that it shows under any tint.
    canvas.Star(cx, top + depth * 0.5, 6.2 * unit, 2.6 * unit, 5, 0);
    canvas.SetColor(kInk, 1.0);
    cairo_fill(cr);
    canvas.Specular(cx - halfWidth * 0.55, top + depth * 0.35, 2.2 * unit, 5 * unit, 0.9);

    Sparkle(canvas, 4.5 * unit, 10 * unit, 4.2 * unit);
    Sparkle(canvas, cel.w - 4.5 * unit, 22 * unit, 3.6 * unit);
    Sparkle(canvas, cel.w - 5 * unit, 4 * unit, 2.6 * unit);
}
} // namespace

CelPainter FindAchievementIconPainter(const std::string& name)
{
    if (name == "ACHIEVE_ICON")
        return &Trophy;
    return {};
}
} // namespace ArtGen

// The interface: buttons in their states, dialog panels, bars, check boxes, sliders, cursors,
// icons, medals, achievement badges and bonuses, all in dark glass with a luminous rim.
#include "tools/artgen/ArtCatalogue.h"
#include "tools/artgen/ArtPalette.h"

#include <cmath>
#include <string>

namespace ArtGen
{
namespace
{
enum class ButtonState
{
    Normal,
    Over,
    Disabled,
    Selected,
};

// The label colours the game gives every button: dark blue, white under the mouse, and the dark
// blue shade at half alpha while disabled. The faces are drawn for them: light at rest, deep
// under the mouse, grey when disabled; the selected face is a mid amber on which both read.
void Button(ArtCanvas& canvas, const Cel& cel, int style, ButtonState state)
{
    cairo_t* cr = canvas.Cr();
    static const Rgb tints[] = {{0.35, 0.8, 1.0}, {0.4, 1.0, 0.6}, {1.0, 0.72, 0.35}};
    const Rgb tint = tints[(style - 1 + 3) % 3];
    Rgb top = tint.Mix(kWhite, 0.72), bottom = tint.Mix(kWhite, 0.42), rim = tint.Scaled(0.55);
    double glow = 0.5, shine = 0.45;
    switch (state)
    {
    case ButtonState::Over:
        top = tint.Scaled(0.4), bottom = tint.Scaled(0.2), rim = tint.Mix(kWhite, 0.3), glow = 1.0, shine = 0.1;
        break;
    case ButtonState::Selected:
        top = {0.84, 0.53, 0.15}, bottom = {0.72, 0.42, 0.09}, rim = {1.0, 0.9, 0.6}, glow = 0.9, shine = 0.18;
        break;
    case ButtonState::Disabled:
        top = {0.64, 0.68, 0.72}, bottom = {0.5, 0.54, 0.58}, rim = {0.4, 0.45, 0.5}, glow = 0.0, shine = 0.2;
        break;
    case ButtonState::Normal: break;
    }
    const double m = 5, h = cel.h - 2 * m, w = cel.w - 2 * m, radius = std::min(h / 2, 14.0);
    for (int i = 3; i >= 1 && glow > 0; --i)
    {
        canvas.RoundedRect(m, m, w, h, radius);
        canvas.SetColor(state == ButtonState::Normal ? tint : rim, 0.1 * glow);
        cairo_set_line_width(cr, i * 3.0);
        cairo_stroke(cr);
    }
    canvas.RoundedRect(m, m, w, h, radius);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, m, 0, m + h);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, top.r, top.g, top.b, 1.0);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, bottom.r, bottom.g, bottom.b, 1.0);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    canvas.SetColor(rim, 1.0);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
    // Glass reflection along the top edge, kept above the label.
    canvas.RoundedRect(m + 4, m + 3, w - 8, h * 0.28, radius * 0.6);
    canvas.SetColor(kWhite, shine);
    cairo_fill(cr);
}

void Panel(ArtCanvas& canvas, const Cel& cel, const Rgb& rim, bool header, bool opaque)
{
    const double m = 10;
    if (opaque) // nothing under the panel shows through its glass
    {
        canvas.RoundedRect(m, m, cel.w - 2 * m, cel.h - 2 * m, 24);
        canvas.SetColor(kDeepGlass, 1.0);
        cairo_fill(canvas.Cr());
    }
    canvas.GlassPanel(m, m, cel.w - 2 * m, cel.h - 2 * m, 24, rim, 0.9);
    cairo_t* cr = canvas.Cr();
    // Faint colonies in the glass, and a header band.
    ArtRandom random("panel" + std::to_string(static_cast<int>(cel.w * 7 + cel.h)));
    cairo_save(cr);
    canvas.RoundedRect(m, m, cel.w - 2 * m, cel.h - 2 * m, 24);
    cairo_clip(cr);
    for (int i = 0; i < 7; ++i)
        canvas.Glow(random.Range(m, cel.w - m), random.Range(m, cel.h - m), random.Range(20, 60), rim, 0.06);
    if (header)
    {
        // The line under the end-level dialog's header, which is written 75 below the top in a
        // 32-pixel font, above the score lines that follow 10 below it.
        const double lineY = 112;
        canvas.SetColor(rim, 0.5);
        cairo_set_line_width(cr, 1.0);
        cairo_move_to(cr, m + 30, lineY);
        cairo_line_to(cr, cel.w - m - 30, lineY);
        cairo_stroke(cr);
        canvas.Glow(cel.w / 2, lineY, cel.w * 0.3, rim, 0.12);
    }
    cairo_restore(cr);
}

// The plate under the title's logo: a glass band with a row of glowing bacteria, one of each
// kind, so that it reads as a finished ornament with nothing written on it.
void TitlePlate(ArtCanvas& canvas, const Cel& cel)
{
    canvas.GlassPanel(3, 3, cel.w - 6, cel.h - 6, (cel.h - 6) / 2, kRim, 0.6);
    const int kinds = 8;
    const double step = (cel.w - cel.h) / (kinds - 1.0);
    for (int k = 0; k < kinds; ++k)
    {
        const double x = cel.h / 2.0 + k * step;
        canvas.Glow(x, cel.h / 2.0, cel.h * 0.45, KindColor(k + 1), 0.3);
        canvas.Blob(x, cel.h / 2.0, cel.h * 0.22, KindColor(k + 1), 0.08, k * 0.8, 0.8);
    }
}

void Bar(ArtCanvas& canvas, const Cel& cel, int part)
{
    // The loading bar's three pictures fit one another: the frame's outline has round ends of
    // radius 16 centred 18 pixels in from either end, and the widget draws the filling 2 pixels
    // right of and 5 below the frame's corner, with the end cap over its last 2 pixels. The liquid
    // is a band 26 pixels high with round ends of radius 13 on those same centres, so a full bar
    // fills the frame's inside and a part-filled one ends in a round cap.
    cairo_t* cr = canvas.Cr();
    if (part == 2) // the frame over the bar
    {
        canvas.RoundedRect(2, 2, cel.w - 4, cel.h - 4, (cel.h - 4) / 2);
        canvas.SetColor(kRim, 0.9);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        canvas.RoundedRect(5, 5, cel.w - 10, (cel.h - 10) * 0.45, (cel.h - 10) / 4);
        canvas.SetColor(kWhite, 0.1);
        cairo_fill(cr);
        return;
    }
    // The fill and its end: glowing green liquid.
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, cel.h);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, 0.7, 1.0, 0.8, 1);
    cairo_pattern_add_color_stop_rgba(fill, 0.5, 0.25, 0.95, 0.55, 1);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, 0.05, 0.45, 0.3, 1);
    cairo_set_source(cr, fill);
    const double radius = cel.h / 2.0;
    if (part == 1) // the right half of a disc centred on the filling's end
    {
        cairo_new_sub_path(cr);
        cairo_arc(cr, 2, radius, radius, -kPi / 2, kPi / 2);
        cairo_close_path(cr);
    }
    else // the round left end starts 3 pixels in, on the frame's left centre
        canvas.RoundedRect(3, 0, cel.w - 3 + cel.h, cel.h, radius);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
}

// The settings' check boxes: the box stands at the picture's right and low, so that it sits just
// left of its label and level with it (each label is written 58 right of the picture's corner,
// its baseline about 31 below it).
void Checkbox(ArtCanvas& canvas, const Cel& cel, bool checked)
{
    cairo_t* cr = canvas.Cr();
    constexpr double kSide = 30;
    const double x = cel.w - kSide - 4, y = cel.h - kSide - 3;
    canvas.RoundedRect(x + 3, y + 3, kSide - 6, kSide - 6, 6);
    canvas.SetColor(kDeepGlass, 0.9);
    cairo_fill_preserve(cr);
    canvas.SetColor(kRim, 0.9);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    if (!checked)
        return;
    canvas.Glow(x + kSide / 2, y + kSide / 2, kSide * 0.5, KindColor(1), 0.5);
    canvas.SetColor(KindColor(1).Mix(kWhite, 0.4));
    cairo_set_line_width(cr, kSide * 0.14);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, x + kSide * 0.25, y + kSide * 0.52);
    cairo_line_to(cr, x + kSide * 0.43, y + kSide * 0.72);
    cairo_line_to(cr, x + kSide * 0.77, y + kSide * 0.3);
    cairo_stroke(cr);
}

void Cursor(ArtCanvas& canvas, const Cel& cel, int kind)
{
    cairo_t* cr = canvas.Cr();
    const double s = cel.w / 32.0;
    cairo_scale(cr, s, s);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (kind == 0) // the arrow
    {
        cairo_move_to(cr, 2, 2);
        cairo_line_to(cr, 2, 24);
        cairo_line_to(cr, 8, 18);
        cairo_line_to(cr, 13, 28);
        cairo_line_to(cr, 17, 26);
        cairo_line_to(cr, 12, 17);
        cairo_line_to(cr, 20, 17);
        cairo_close_path(cr);
    }
    else if (kind == 1) // the pointing pipette
    {
        cairo_move_to(cr, 3, 3);
        cairo_line_to(cr, 10, 7);
        cairo_line_to(cr, 24, 21);
        cairo_arc(cr, 24, 26, 5, -kPi / 2, kPi);
        cairo_line_to(cr, 7, 10);
        cairo_close_path(cr);
    }
    else // the grip: a closed disc with four arrows
    {
        cairo_arc(cr, 16, 16, 7, 0, 2 * kPi);
        for (int i = 0; i < 4; ++i)
        {
            const double a = kPi / 2 * i;
            const double cx = 16 + 12 * std::cos(a), cy = 16 + 12 * std::sin(a);
            cairo_move_to(cr, cx + 3 * std::cos(a), cy + 3 * std::sin(a));
            cairo_line_to(cr, cx + 4 * std::cos(a + 2.2), cy + 4 * std::sin(a + 2.2));
            cairo_line_to(cr, cx + 4 * std::cos(a - 2.2), cy + 4 * std::sin(a - 2.2));
            cairo_close_path(cr);
        }
    }
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 32, 32);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, 0.85, 1.0, 1.0, 1);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, 0.2, 0.75, 0.9, 1);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    canvas.SetColor({0.01, 0.05, 0.08});
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
}

void Medal(ArtCanvas& canvas, const Cel& cel, int grade, bool small)
{
    cairo_t* cr = canvas.Cr();
    const Rgb metal = grade == 1 ? kBronze : grade == 2 ? kSilver : kGold;
    const double cx = cel.w / 2, cy = cel.h / 2, r = std::min(cel.w, cel.h) * 0.4;
    canvas.Glow(cx, cy, r * 1.3, metal, 0.5);
    canvas.SetColor(metal.Scaled(0.7));
    canvas.Star(cx, cy, r, r * 0.86, 16, 0);
    cairo_fill(cr);
    canvas.GlassDisc(cx, cy, r * 0.78, metal, 1.1);
    if (!small)
    {
        canvas.SetColor(kWhite, 0.9);
        canvas.Star(cx, cy, r * 0.42, r * 0.18, 5, 0);
        cairo_fill(cr);
    }
}

// Achievement badges: a glass hexagon with a glyph; hue and glyph vary with the number so that
// all forty differ.
void Achievement(ArtCanvas& canvas, const Cel& cel, int n)
{
    cairo_t* cr = canvas.Cr();
    const Rgb tint = FromHue(n * 137.508, 0.6, 1.0);
    const double cx = cel.w / 2, cy = cel.h / 2, r = std::min(cel.w, cel.h) * 0.45;
    canvas.Glow(cx, cy, r * 1.2, tint, 0.35);
    canvas.Hexagon(cx, cy, r, r * 0.92);
    cairo_pattern_t* fill = cairo_pattern_create_radial(cx, cy - r * 0.3, r * 0.1, cx, cy, r);
    const Rgb light = tint.Scaled(0.45);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, light.r, light.g, light.b, 1);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, kDeepGlass.r, kDeepGlass.g, kDeepGlass.b, 1);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    canvas.SetColor(tint, 0.95);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
    const int glyph = (n - 1) % 8, count = 1 + (n - 1) / 8; // count 1..5
    const Rgb ink = tint.Mix(kWhite, 0.5);
    canvas.SetColor(ink, 0.95);
    cairo_set_line_width(cr, r * 0.1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double g = r * 0.5;
    switch (glyph)
    {
    case 0: canvas.Star(cx, cy, g, g * 0.45, 4 + count, 0); cairo_fill(cr); break;
    case 1:
        for (int i = 0; i < count + 1; ++i)
        {
            cairo_arc(cr, cx, cy, g * (0.3 + 0.7 * (i + 1) / (count + 1.0)), 0, 2 * kPi);
            cairo_stroke(cr);
        }
        break;
    case 2:
        for (int i = 0; i < count + 2; ++i)
        {
            const double a = 2 * kPi * i / (count + 2);
            canvas.Blob(cx + g * 0.55 * std::cos(a), cy + g * 0.55 * std::sin(a), g * 0.3, tint, 0.05, i, 0);
        }
        break;
    case 3:
        for (int i = 0; i < count + 1; ++i)
        {
            const double x = cx - g * 0.8 + 1.6 * g * (i + 0.5) / (count + 1);
            const double h = g * (0.5 + 1.2 * (i + 1) / (count + 1));
            cairo_rectangle(cr, x - g * 0.12, cy + g * 0.8 - h, g * 0.24, h);
            cairo_fill(cr);
        }
        break;
    case 4:
        canvas.Hexagon(cx, cy, g * 0.9, g * 0.8);
        cairo_stroke(cr);
        for (int i = 0; i < count; ++i)
        {
            const double a = 2 * kPi * i / count;
            cairo_arc(cr, cx + g * 0.35 * std::cos(a) * (count > 1), cy + g * 0.35 * std::sin(a) * (count > 1), g * 0.15,
                      0, 2 * kPi);
            cairo_fill(cr);
        }
        break;
    case 5:
        cairo_move_to(cr, cx - g, cy);
        for (int i = 1; i <= 24; ++i)
            cairo_line_to(cr, cx - g + 2 * g * i / 24.0, cy + g * 0.4 * std::sin(i / 24.0 * 2 * kPi * (count * 0.5 + 0.5)));
        cairo_stroke(cr);
        break;
    case 6:
        for (int i = 0; i < count; ++i)
        {
            const double y = cy + g * 0.5 - i * g * 0.35;
            cairo_move_to(cr, cx - g * 0.6, y + g * 0.3);
            cairo_line_to(cr, cx, y - g * 0.2);
            cairo_line_to(cr, cx + g * 0.6, y + g * 0.3);
            cairo_stroke(cr);
        }
        break;
    default:
        canvas.Star(cx, cy, g, g * 0.2, 4, 0.0);
        cairo_fill(cr);
        for (int i = 0; i < count; ++i)
        {
            const double a = 2 * kPi * i / count + kPi / 4;
            cairo_arc(cr, cx + g * 0.75 * std::cos(a), cy + g * 0.75 * std::sin(a), g * 0.12, 0, 2 * kPi);
            cairo_fill(cr);
        }
        break;
    }
    canvas.Specular(cx - r * 0.3, cy - r * 0.5, r * 0.4, r * 0.15, 0.4);
}

// Bonuses: glass orbs with their sign (bomb, teleport, mine, shield); highlighted ones glow.
void Bonus(ArtCanvas& canvas, const Cel& cel, int which, bool highlighted)
{
    cairo_t* cr = canvas.Cr();
    static const Rgb tints[] = {{1.0, 0.45, 0.25}, {0.55, 0.5, 1.0}, {1.0, 0.85, 0.3}, {0.35, 1.0, 0.8}};
    const Rgb tint = tints[(which - 1 + 4) % 4];
    const double cx = cel.w / 2, cy = cel.h / 2, r = std::min(cel.w, cel.h) * 0.36;
    if (highlighted)
        canvas.Glow(cx, cy, r * 1.6, tint, 0.7);
    canvas.GlassDisc(cx, cy, r, tint, highlighted ? 1.2 : 0.9);
    canvas.SetColor(kWhite, 0.95);
    cairo_set_line_width(cr, r * 0.14);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch ((which - 1 + 4) % 4)
    {
    case 0: // bomb: a burst
        canvas.Star(cx, cy, r * 0.6, r * 0.28, 8, 0.2);
        cairo_fill(cr);
        break;
    case 1: // teleport: a spiral
        for (int i = 0; i <= 40; ++i)
        {
            const double a = i / 40.0 * 4 * kPi, d = r * 0.6 * i / 40.0;
            cairo_line_to(cr, cx + d * std::cos(a), cy + d * std::sin(a));
        }
        cairo_stroke(cr);
        break;
    case 2: // mine: a spiked dot
        cairo_arc(cr, cx, cy, r * 0.28, 0, 2 * kPi);
        cairo_fill(cr);
        for (int i = 0; i < 6; ++i)
        {
            const double a = kPi / 3 * i;
            cairo_move_to(cr, cx + r * 0.3 * std::cos(a), cy + r * 0.3 * std::sin(a));
            cairo_line_to(cr, cx + r * 0.6 * std::cos(a), cy + r * 0.6 * std::sin(a));
        }
        cairo_stroke(cr);
        break;
    default: // shield
        cairo_move_to(cr, cx, cy - r * 0.55);
        cairo_line_to(cr, cx + r * 0.45, cy - r * 0.35);
        cairo_curve_to(cr, cx + r * 0.45, cy + r * 0.2, cx + r * 0.2, cy + r * 0.45, cx, cy + r * 0.6);
        cairo_curve_to(cr, cx - r * 0.2, cy + r * 0.45, cx - r * 0.45, cy + r * 0.2, cx - r * 0.45, cy - r * 0.35);
        cairo_close_path(cr);
        cairo_stroke(cr);
        break;
    }
}

// A small line icon on a glass disc, drawn by a function of the icon's own.
template <typename Draw>
void Icon(ArtCanvas& canvas, const Cel& cel, const Rgb& tint, bool disc, Draw draw)
{
    cairo_t* cr = canvas.Cr();
    const double cx = cel.w / 2, cy = cel.h / 2, r = std::min(cel.w, cel.h) * 0.42;
    if (disc)
        canvas.GlassDisc(cx, cy, r, tint, 0.8);
    canvas.SetColor(tint.Mix(kWhite, 0.55), 0.95);
    cairo_set_line_width(cr, std::max(1.5, r * 0.14));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    draw(cr, cx, cy, r);
}

void Arrow(cairo_t* cr, double cx, double cy, double r)
{
    cairo_move_to(cr, cx - r * 0.5, cy);
    cairo_line_to(cr, cx + r * 0.45, cy);
    cairo_stroke(cr);
    cairo_move_to(cr, cx + r * 0.1, cy - r * 0.4);
    cairo_line_to(cr, cx + r * 0.5, cy);
    cairo_line_to(cr, cx + r * 0.1, cy + r * 0.4);
    cairo_stroke(cr);
}

// The level map's marker over the group to play next: pointing down at it.
void ArrowDown(cairo_t* cr, double cx, double cy, double r)
{
    cairo_move_to(cr, cx, cy - r * 0.5);
    cairo_line_to(cr, cx, cy + r * 0.45);
    cairo_stroke(cr);
    cairo_move_to(cr, cx - r * 0.4, cy + r * 0.1);
    cairo_line_to(cr, cx, cy + r * 0.5);
    cairo_line_to(cr, cx + r * 0.4, cy + r * 0.1);
    cairo_stroke(cr);
}

void Speaker(cairo_t* cr, double cx, double cy, double r, bool on)
{
    cairo_move_to(cr, cx - r * 0.55, cy - r * 0.2);
    cairo_line_to(cr, cx - r * 0.3, cy - r * 0.2);
    cairo_line_to(cr, cx, cy - r * 0.5);
    cairo_line_to(cr, cx, cy + r * 0.5);
    cairo_line_to(cr, cx - r * 0.3, cy + r * 0.2);
    cairo_line_to(cr, cx - r * 0.55, cy + r * 0.2);
    cairo_close_path(cr);
    cairo_fill(cr);
    if (on)
    {
        cairo_arc(cr, cx, cy, r * 0.35, -0.8, 0.8);
        cairo_stroke(cr);
        cairo_arc(cr, cx, cy, r * 0.6, -0.8, 0.8);
        cairo_stroke(cr);
    }
    else
    {
        cairo_move_to(cr, cx + r * 0.2, cy - r * 0.25);
        cairo_line_to(cr, cx + r * 0.65, cy + r * 0.25);
        cairo_move_to(cr, cx + r * 0.65, cy - r * 0.25);
        cairo_line_to(cr, cx + r * 0.2, cy + r * 0.25);
        cairo_stroke(cr);
    }
}

void Cross(cairo_t* cr, double cx, double cy, double r)
{
    cairo_move_to(cr, cx - r * 0.45, cy - r * 0.45);
    cairo_line_to(cr, cx + r * 0.45, cy + r * 0.45);
    cairo_move_to(cr, cx + r * 0.45, cy - r * 0.45);
    cairo_line_to(cr, cx - r * 0.45, cy + r * 0.45);
    cairo_stroke(cr);
}

void UndoArrow(cairo_t* cr, double cx, double cy, double r)
{
    cairo_arc_negative(cr, cx, cy + r * 0.1, r * 0.45, 0.2, kPi + 0.2);
    cairo_stroke(cr);
    cairo_move_to(cr, cx - r * 0.75, cy - r * 0.15);
    cairo_line_to(cr, cx - r * 0.45, cy + r * 0.25);
    cairo_line_to(cr, cx - r * 0.1, cy - r * 0.05);
    cairo_stroke(cr);
}

// The step-back tab at the screen's left edge: a glass plate, square at the edge and round on the
// right, that frames the step-back button lying on it 12 pixels in from its left and 10 down.
void StepBackTab(ArtCanvas& canvas, const Cel& cel)
{
    cairo_t* cr = canvas.Cr();
    const double radius = 16;
    canvas.RoundedRect(-radius - 2, 2, cel.w - 4 + radius, cel.h - 4, radius);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, cel.h);
    const Rgb top = kGlass.Mix(kRim, 0.25), bottom = kDeepGlass;
    cairo_pattern_add_color_stop_rgba(fill, 0.0, top.r, top.g, top.b, 0.95);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, bottom.r, bottom.g, bottom.b, 0.95);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    canvas.SetColor(kRim, 0.9);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
}

// The step-back button's icon: an undo arrow over the count of step-backs left, in white, since
// the button tints its icon with its label colour (dark on the light button, grey while
// disabled). It covers the button's face from its place 14 pixels in and 8 down.
void StepBackCounter(ArtCanvas& canvas, const Cel& cel, int count)
{
    cairo_t* cr = canvas.Cr();
    const double r = cel.w * 0.5;
    canvas.SetColor(kWhite, 1.0);
    cairo_set_line_width(cr, 5.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    UndoArrow(cr, cel.w / 2 + r * 0.15, cel.h * 0.3, r);
    canvas.Text("\xC3\x97" + std::to_string(count), cel.w / 2, cel.h * 0.76, cel.h * 0.4, TextWeight::Bold, kWhite, 0);
}

void NoMoves(ArtCanvas& canvas, const Cel& cel)
{
    canvas.GlassPanel(6, 6, cel.w - 12, cel.h - 12, (cel.h - 12) / 2, {1.0, 0.4, 0.3}, 0.9);
    Cel icon{0, 1, cel.h, cel.h};
    Icon(canvas, icon, {1.0, 0.4, 0.3}, false, [](cairo_t* cr, double cx, double cy, double r) {
        cairo_arc(cr, cx + 8, cy, r * 0.5, 0, 2 * kPi);
        cairo_stroke(cr);
        cairo_move_to(cr, cx + 8 - r * 0.35, cy + r * 0.35);
        cairo_line_to(cr, cx + 8 + r * 0.35, cy - r * 0.35);
        cairo_stroke(cr);
    });
}

CelPainter ButtonPainter(const std::string& name)
{
    const int style = name[3] - '0';
    const std::string state = name.size() > 4 ? name.substr(5) : "";
    const ButtonState s = state == "OVER"       ? ButtonState::Over
                          : state == "DISABLED" ? ButtonState::Disabled
                          : state == "SELECTED" ? ButtonState::Selected
                                                : ButtonState::Normal;
    return [style, s](ArtCanvas& c, const Cel& cel) { Button(c, cel, style, s); };
}
} // namespace

CelPainter FindInterfacePainter(const std::string& name)
{
    if (StartsWith(name, "BTN") && name.size() >= 4)
        return ButtonPainter(name);
    if (name == "PANEL_ENDLEVEL" || name == "FASTMENU_BG" || name == "TUTORIAL_BG")
    {
        const bool header = name == "PANEL_ENDLEVEL";
        // The tutorial's panel lies over the HUD's tubes and bacteria.
        const bool tutorial = name == "TUTORIAL_BG";
        const Rgb rim = tutorial ? KindColor(1) : kRim;
        return [rim, header, tutorial](ArtCanvas& c, const Cel& cel) { Panel(c, cel, rim, header, tutorial); };
    }
    if (name == "PROFHEAD")
        return &TitlePlate;
    if (name == "PROGRESS_FILL" || name == "PROGRESS_FILL_END" || name == "PROGRESS_FOREGROUND")
    {
        const int part = name == "PROGRESS_FILL" ? 0 : name == "PROGRESS_FILL_END" ? 1 : 2;
        return [part](ArtCanvas& c, const Cel& cel) { Bar(c, cel, part); };
    }
    if (name == "SETTING_CHECKBOX" || name == "SETTING_CHECKBOX_CHECK")
    {
        const bool checked = name == "SETTING_CHECKBOX_CHECK";
        return [checked](ArtCanvas& c, const Cel& cel) { Checkbox(c, cel, checked); };
    }
    if (name == "CURSOR" || name == "CURSOR_HAND" || name == "CURSOR_DRAG")
    {
        const int kind = name == "CURSOR" ? 0 : name == "CURSOR_HAND" ? 1 : 2;
        return [kind](ArtCanvas& c, const Cel& cel) { Cursor(c, cel, kind); };
    }
    if (int grade = NumberAfter(name, "MEDAL"); grade >= 1)
        return [grade](ArtCanvas& c, const Cel& cel) { Medal(c, cel, grade, false); };
    if (int grade = NumberAfter(name, "ICON_MEDAL"); grade >= 1)
        return [grade](ArtCanvas& c, const Cel& cel) { Medal(c, cel, grade, true); };
    if (int n = NumberAfter(name, "ACH"); n >= 1)
        return [n](ArtCanvas& c, const Cel& cel) { Achievement(c, cel, n); };
    if (StartsWith(name, "BONUS") && name.size() >= 6 && name != "BONUSH")
    {
        const int which = name[5] - '0';
        const bool highlighted = name.back() == 'H';
        return [which, highlighted](ArtCanvas& c, const Cel& cel) { Bonus(c, cel, which, highlighted); };
    }
    // The glow behind new achievements and the map's achievements button: it fades out within 0.3 of
    // the cel, so that drawn three times its size in the achievements viewer it ends inside its
    // icon's 120-pixel cell instead of being cut square at the cell's edge.
    if (name == "BONUSH")
        return [](ArtCanvas& c, const Cel& cel) { c.Glow(cel.w / 2, cel.h / 2, cel.w * 0.3, kGold, 0.8); };
    if (name == "BACKSTEP_FONE")
        return &StepBackTab;
    if (int n = NumberAfter(name, "BACKSTEP_X"); n >= 1)
        return [n](ArtCanvas& c, const Cel& cel) { StepBackCounter(c, cel, n); };
    if (name == "KREST")
        return [](ArtCanvas& c, const Cel& cel) { Icon(c, cel, {1.0, 0.5, 0.4}, true, &Cross); };
    if (name == "SOUND_ON" || name == "SOUND_OFF")
    {
        const bool on = name == "SOUND_ON";
        return [on](ArtCanvas& c, const Cel& cel) {
            Icon(c, cel, kRim, true, [on](cairo_t* cr, double x, double y, double r) { Speaker(cr, x, y, r, on); });
        };
    }
    if (name == "STRELKA" || name == "STRELKA_PROFILE" || name == "TUTORIAL_PT")
    {
        const Rgb tint = name == "TUTORIAL_PT" ? KindColor(1) : kRim;
        const auto shape = name == "STRELKA" ? &ArrowDown : &Arrow;
        return [tint, shape](ArtCanvas& c, const Cel& cel) {
            c.Glow(cel.w / 2, cel.h / 2, cel.w * 0.5, tint, 0.4);
            Icon(c, cel, tint, false, shape);
        };
    }
    if (name == "ICON_CELL")
        return [](ArtCanvas& c, const Cel& cel) {
            c.Hexagon(cel.w / 2, cel.h / 2, cel.w * 0.42, cel.h * 0.38);
            c.SetColor(SkinColor(1), 0.9);
            cairo_set_line_width(c.Cr(), 2);
            cairo_stroke(c.Cr());
        };
    if (name == "ICON_FONE")
        return [](ArtCanvas& c, const Cel& cel) { c.GlassDisc(cel.w / 2, cel.h / 2, cel.w * 0.4, SkinColor(4), 0.8); };
    if (name == "ICON_ROUND")
        return [](ArtCanvas& c, const Cel& cel) {
            Icon(c, cel, kRim, true, [](cairo_t* cr, double x, double y, double r) {
                cairo_arc(cr, x, y, r * 0.5, 0.5, 2 * kPi - 0.2);
                cairo_stroke(cr);
            });
        };
    if (name == "NOMOVES")
        return &NoMoves;
    return {};
}
} // namespace ArtGen

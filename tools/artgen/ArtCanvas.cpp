#include "tools/artgen/ArtCanvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace ArtGen
{
namespace
{
constexpr double kPi = 3.14159265358979323846;

std::string gFontFolder = "/usr/share/fonts/truetype/dejavu";

// The two DejaVu faces, opened once for the whole run.
struct Faces
{
    FT_Library library = nullptr;
    cairo_font_face_t* regular = nullptr;
    cairo_font_face_t* bold = nullptr;
};

cairo_font_face_t* OpenFace(FT_Library library, const std::string& file)
{
    FT_Face face = nullptr;
    if (FT_New_Face(library, (gFontFolder + "/" + file).c_str(), 0, &face) != 0)
        throw std::runtime_error("cannot open font " + gFontFolder + "/" + file);
    return cairo_ft_font_face_create_for_ft_face(face, 0);
}

Faces& GetFaces()
{
    static Faces faces = [] {
        Faces f;
        if (FT_Init_FreeType(&f.library) != 0)
            throw std::runtime_error("cannot start FreeType");
        f.regular = OpenFace(f.library, "DejaVuSans.ttf");
        f.bold = OpenFace(f.library, "DejaVuSans-Bold.ttf");
        return f;
    }();
    return faces;
}
} // namespace

Rgb FromHue(double hueDegrees, double saturation, double value)
{
    const double h = std::fmod(std::fmod(hueDegrees, 360.0) + 360.0, 360.0) / 60.0;
    const double c = value * saturation;
    const double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
    const double m = value - c;
    Rgb rgb;
    switch (static_cast<int>(h))
    {
    case 0: rgb = {c, x, 0}; break;
    case 1: rgb = {x, c, 0}; break;
    case 2: rgb = {0, c, x}; break;
    case 3: rgb = {0, x, c}; break;
    case 4: rgb = {x, 0, c}; break;
    default: rgb = {c, 0, x}; break;
    }
    return {rgb.r + m, rgb.g + m, rgb.b + m};
}

ArtRandom::ArtRandom(const std::string& seed) : mState(1469598103934665603ull)
{
    for (unsigned char c : seed)
        mState = (mState ^ c) * 1099511628211ull;
    if (mState == 0)
        mState = 1;
}

double ArtRandom::Next()
{
    mState ^= mState << 13;
    mState ^= mState >> 7;
    mState ^= mState << 17;
    return static_cast<double>(mState >> 11) / 9007199254740992.0;
}

double ArtRandom::Range(double low, double high)
{
    return low + (high - low) * Next();
}

void ArtCanvas::SetFontFolder(const std::string& folder)
{
    gFontFolder = folder;
}

ArtCanvas::ArtCanvas(int width, int height)
    : mWidth(width), mHeight(height), mSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      mCr(cairo_create(mSurface))
{
    cairo_set_antialias(mCr, CAIRO_ANTIALIAS_GOOD);
}

ArtCanvas::~ArtCanvas()
{
    cairo_destroy(mCr);
    cairo_surface_destroy(mSurface);
}

bool ArtCanvas::WritePng(const std::string& path, std::string& error)
{
    cairo_surface_flush(mSurface);
    const cairo_status_t status = cairo_surface_write_to_png(mSurface, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS)
    {
        error = "cannot write " + path + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

void ArtCanvas::SetColor(const Rgb& color, double alpha)
{
    cairo_set_source_rgba(mCr, color.r, color.g, color.b, alpha);
}

void ArtCanvas::Glow(double x, double y, double radius, const Rgb& color, double alpha)
{
    cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, 0, x, y, radius);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, color.r, color.g, color.b, alpha);
    cairo_pattern_add_color_stop_rgba(glow, 0.35, color.r, color.g, color.b, alpha * 0.45);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, color.r, color.g, color.b, 0.0);
    cairo_set_source(mCr, glow);
    cairo_arc(mCr, x, y, radius, 0, 2 * kPi);
    cairo_fill(mCr);
    cairo_pattern_destroy(glow);
}

void ArtCanvas::GlassDisc(double x, double y, double radius, const Rgb& tint, double brightness)
{
    Glow(x, y, radius * 1.35, tint, 0.35 * brightness);
    cairo_pattern_t* body = cairo_pattern_create_radial(x - radius * 0.3, y - radius * 0.35, radius * 0.1, x, y, radius);
    const Rgb light = tint.Mix({1, 1, 1}, 0.35).Scaled(brightness);
    const Rgb deep = tint.Scaled(0.22 * brightness);
    cairo_pattern_add_color_stop_rgba(body, 0.0, light.r, light.g, light.b, 0.95);
    cairo_pattern_add_color_stop_rgba(body, 0.7, deep.r, deep.g, deep.b, 0.92);
    cairo_pattern_add_color_stop_rgba(body, 1.0, tint.r * 0.5, tint.g * 0.5, tint.b * 0.5, 0.95);
    cairo_set_source(mCr, body);
    cairo_arc(mCr, x, y, radius, 0, 2 * kPi);
    cairo_fill_preserve(mCr);
    cairo_pattern_destroy(body);
    SetColor(tint.Mix({1, 1, 1}, 0.5), 0.8);
    cairo_set_line_width(mCr, std::max(1.0, radius * 0.06));
    cairo_stroke(mCr);
    Specular(x - radius * 0.3, y - radius * 0.45, radius * 0.45, radius * 0.22, 0.55);
}

void ArtCanvas::RoundedRect(double x, double y, double w, double h, double radius)
{
    radius = std::min(radius, std::min(w, h) / 2);
    cairo_new_sub_path(mCr);
    cairo_arc(mCr, x + w - radius, y + radius, radius, -kPi / 2, 0);
    cairo_arc(mCr, x + w - radius, y + h - radius, radius, 0, kPi / 2);
    cairo_arc(mCr, x + radius, y + h - radius, radius, kPi / 2, kPi);
    cairo_arc(mCr, x + radius, y + radius, radius, kPi, 3 * kPi / 2);
    cairo_close_path(mCr);
}

void ArtCanvas::GlassPanel(double x, double y, double w, double h, double radius, const Rgb& rim, double rimAlpha)
{
    // Outer glow, as widening faint strokes.
    for (int i = 4; i >= 1; --i)
    {
        RoundedRect(x, y, w, h, radius);
        SetColor(rim, 0.06 * rimAlpha);
        cairo_set_line_width(mCr, i * 3.0);
        cairo_stroke(mCr);
    }
    RoundedRect(x, y, w, h, radius);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, 0.06, 0.16, 0.21, 0.94);
    cairo_pattern_add_color_stop_rgba(fill, 0.5, 0.03, 0.08, 0.12, 0.94);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, 0.02, 0.05, 0.08, 0.96);
    cairo_set_source(mCr, fill);
    cairo_fill_preserve(mCr);
    cairo_pattern_destroy(fill);
    SetColor(rim, rimAlpha);
    cairo_set_line_width(mCr, 2.0);
    cairo_stroke(mCr);
    // The glass's reflection: a soft band along the top.
    cairo_save(mCr);
    RoundedRect(x + 3, y + 3, w - 6, std::min(h * 0.35, 60.0), radius * 0.8);
    cairo_pattern_t* shine = cairo_pattern_create_linear(0, y, 0, y + std::min(h * 0.35, 60.0));
    cairo_pattern_add_color_stop_rgba(shine, 0.0, 1, 1, 1, 0.16);
    cairo_pattern_add_color_stop_rgba(shine, 1.0, 1, 1, 1, 0.0);
    cairo_set_source(mCr, shine);
    cairo_fill(mCr);
    cairo_pattern_destroy(shine);
    cairo_restore(mCr);
}

void ArtCanvas::Hexagon(double cx, double cy, double rx, double ry)
{
    cairo_new_sub_path(mCr);
    for (int i = 0; i < 6; ++i)
    {
        const double angle = kPi / 3 * i;
        cairo_line_to(mCr, cx + rx * std::cos(angle), cy + ry * std::sin(angle));
    }
    cairo_close_path(mCr);
}

void ArtCanvas::Membrane(double cx, double cy, double r, double wobble, double phase)
{
    cairo_new_sub_path(mCr);
    constexpr int kSteps = 72;
    for (int i = 0; i < kSteps; ++i)
    {
        const double a = 2 * kPi * i / kSteps;
        const double k = 1.0 + wobble * (0.6 * std::sin(3 * a + phase) + 0.4 * std::sin(5 * a - 1.3 * phase));
        cairo_line_to(mCr, cx + r * k * std::cos(a), cy + r * k * std::sin(a));
    }
    cairo_close_path(mCr);
}

void ArtCanvas::Blob(double cx, double cy, double r, const Rgb& color, double wobble, double phase, double glow)
{
    if (glow > 0)
        Glow(cx, cy, r * 1.45, color, 0.45 * glow);
    Membrane(cx, cy, r, wobble, phase);
    cairo_pattern_t* body = cairo_pattern_create_radial(cx - r * 0.25, cy - r * 0.3, r * 0.05, cx, cy, r * 1.05);
    const Rgb light = color.Mix({1, 1, 1}, 0.55);
    const Rgb deep = color.Scaled(0.35);
    cairo_pattern_add_color_stop_rgba(body, 0.0, light.r, light.g, light.b, 1.0);
    cairo_pattern_add_color_stop_rgba(body, 0.55, color.r, color.g, color.b, 0.95);
    cairo_pattern_add_color_stop_rgba(body, 1.0, deep.r, deep.g, deep.b, 0.95);
    cairo_set_source(mCr, body);
    cairo_fill_preserve(mCr);
    cairo_pattern_destroy(body);
    SetColor(color.Mix({1, 1, 1}, 0.6), 0.9);
    cairo_set_line_width(mCr, std::max(1.0, r * 0.07));
    cairo_stroke(mCr);
    // Granules inside the cytoplasm.
    ArtRandom granules("granules" + std::to_string(static_cast<int>(r * 10)));
    for (int i = 0; i < 6; ++i)
    {
        const double a = granules.Range(0, 2 * kPi);
        const double d = granules.Range(0.2, 0.6) * r;
        SetColor(color.Scaled(0.45), 0.5);
        cairo_arc(mCr, cx + d * std::cos(a + phase * 0.1), cy + d * std::sin(a + phase * 0.1), r * 0.07, 0, 2 * kPi);
        cairo_fill(mCr);
    }
    Specular(cx - r * 0.32, cy - r * 0.45, r * 0.38, r * 0.18, 0.6);
}

void ArtCanvas::Specular(double cx, double cy, double rx, double ry, double alpha)
{
    cairo_save(mCr);
    cairo_translate(mCr, cx, cy);
    cairo_rotate(mCr, -0.35);
    cairo_scale(mCr, rx, ry);
    cairo_pattern_t* shine = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(shine, 0.0, 1, 1, 1, alpha);
    cairo_pattern_add_color_stop_rgba(shine, 1.0, 1, 1, 1, 0.0);
    cairo_set_source(mCr, shine);
    cairo_arc(mCr, 0, 0, 1, 0, 2 * kPi);
    cairo_fill(mCr);
    cairo_pattern_destroy(shine);
    cairo_restore(mCr);
}

void ArtCanvas::Star(double cx, double cy, double outer, double inner, int points, double rotation)
{
    cairo_new_sub_path(mCr);
    for (int i = 0; i < points * 2; ++i)
    {
        const double a = rotation - kPi / 2 + kPi * i / points;
        const double r = (i % 2 == 0) ? outer : inner;
        cairo_line_to(mCr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(mCr);
}

void ArtCanvas::UseFont(double size, TextWeight weight)
{
    Faces& faces = GetFaces();
    cairo_set_font_face(mCr, weight == TextWeight::Bold ? faces.bold : faces.regular);
    cairo_set_font_size(mCr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(mCr, options);
    cairo_font_options_destroy(options);
}

double ArtCanvas::TextWidth(const std::string& utf8, double size, TextWeight weight)
{
    UseFont(size, weight);
    cairo_text_extents_t extents;
    cairo_text_extents(mCr, utf8.c_str(), &extents);
    return extents.x_advance;
}

void ArtCanvas::Text(const std::string& utf8, double cx, double cy, double size, TextWeight weight, const Rgb& color,
                     double glowAlpha)
{
    UseFont(size, weight);
    cairo_text_extents_t extents;
    cairo_text_extents(mCr, utf8.c_str(), &extents);
    const double x = cx - extents.x_advance / 2;
    const double y = cy + size * 0.35;
    if (glowAlpha > 0)
    {
        for (int i = 3; i >= 1; --i)
        {
            cairo_move_to(mCr, x, y);
            cairo_text_path(mCr, utf8.c_str());
            SetColor(color, glowAlpha * 0.12);
            cairo_set_line_width(mCr, size * 0.05 * i);
            cairo_set_line_join(mCr, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke(mCr);
        }
    }
    // A dark edge keeps the letters readable over light and glow.
    cairo_move_to(mCr, x, y);
    cairo_text_path(mCr, utf8.c_str());
    SetColor(color.Scaled(0.15), 0.9);
    cairo_set_line_width(mCr, std::max(1.0, size * 0.05));
    cairo_set_line_join(mCr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(mCr);
    cairo_move_to(mCr, x, y);
    cairo_text_path(mCr, utf8.c_str());
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, y - size * 0.8, 0, y);
    const Rgb light = color.Mix({1, 1, 1}, 0.7);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, light.r, light.g, light.b, 1);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, color.r, color.g, color.b, 1);
    cairo_set_source(mCr, fill);
    cairo_fill(mCr);
    cairo_pattern_destroy(fill);
}

void ArtCanvas::Agar(ArtRandom& random, double cx, double cy, double radius, int specks, const Rgb& tint)
{
    for (int i = 0; i < specks; ++i)
    {
        const double a = random.Range(0, 2 * kPi);
        const double d = std::sqrt(random.Next()) * radius;
        const double s = random.Range(0.5, 2.2);
        SetColor(tint, random.Range(0.04, 0.16));
        cairo_arc(mCr, cx + d * std::cos(a), cy + d * std::sin(a), s, 0, 2 * kPi);
        cairo_fill(mCr);
    }
}
} // namespace ArtGen

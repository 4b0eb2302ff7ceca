// The dialogs' own pictures: each panel drawn for its dialog's layout (the header's band where
// the dialog writes its header, recessed wells under lists, light plates where dark text goes),
// the name field, the high-score rows and their rank badges. A dialog is exactly as large as its
// panel, so every place below is in the dialog's own coordinates.
#include "tools/artgen/ArtCatalogue.h"
#include "tools/artgen/ArtPalette.h"

#include <string>
#include <vector>

namespace ArtGen
{
namespace
{
struct Box
{
    double x = 0, y = 0, w = 0, h = 0;
};

constexpr double kMargin = 10;
constexpr double kRadius = 24;

struct PanelLayout
{
    Rgb rim = kRim;
    // Centre of the header's band; negative: no band.
    double headerY = -1;
    // Dark recessed areas under lists and rows.
    std::vector<Box> wells;
    // Light areas for text written in the dark label colour.
    std::vector<Box> plates;
    // A dish with colonies at the top centre, for dialogs without a header.
    bool emblem = false;
    // Where the panel's frame begins; the picture is clear above it, so that a header written
    // far below the picture's top still opens the panel.
    double frameTop = kMargin;
};


// Dark, light and rim colours of the light plates: the label colour reads on them.
const Rgb kPlateTop{0.90, 0.96, 0.99};
const Rgb kPlateBottom{0.76, 0.88, 0.94};

void FaintColonies(ArtCanvas& canvas, const Cel& cel, const Rgb& rim)
{
    ArtRandom random("dialog" + std::to_string(static_cast<int>(cel.w * 7 + cel.h)));
    for (int i = 0; i < 9; ++i)
    {
        const double x = random.Range(kMargin, cel.w - kMargin), y = random.Range(kMargin, cel.h - kMargin);
        canvas.Glow(x, y, random.Range(20, 60), rim, 0.05);
    }
}

void HeaderBand(ArtCanvas& canvas, const Cel& cel, const Rgb& rim, double centreY)
{
    cairo_t* cr = canvas.Cr();
    const double left = kMargin + 28, width = cel.w - 2 * left, height = 46;
    canvas.RoundedRect(left, centreY - height / 2, width, height, height / 2);
    cairo_pattern_t* fill = cairo_pattern_create_linear(left, 0, left + width, 0);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, rim.r, rim.g, rim.b, 0.0);
    cairo_pattern_add_color_stop_rgba(fill, 0.5, rim.r, rim.g, rim.b, 0.14);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, rim.r, rim.g, rim.b, 0.0);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    // A glowing line under the header, fading towards both ends.
    const double lineY = centreY + height / 2 + 2;
    cairo_pattern_t* line = cairo_pattern_create_linear(left, 0, left + width, 0);
    cairo_pattern_add_color_stop_rgba(line, 0.0, rim.r, rim.g, rim.b, 0.0);
    cairo_pattern_add_color_stop_rgba(line, 0.5, rim.r, rim.g, rim.b, 0.8);
    cairo_pattern_add_color_stop_rgba(line, 1.0, rim.r, rim.g, rim.b, 0.0);
    cairo_set_source(cr, line);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, left, lineY);
    cairo_line_to(cr, left + width, lineY);
    cairo_stroke(cr);
    cairo_pattern_destroy(line);
    canvas.Glow(cel.w / 2, lineY, width * 0.3, rim, 0.1);
    // Two small colonies closing the band.
    canvas.Blob(left + 14, centreY, 6, KindColor(1), 0.12, 0.4, 0.6);
    canvas.Blob(left + width - 14, centreY, 6, KindColor(1), 0.12, 2.1, 0.6);
}

void Well(ArtCanvas& canvas, const Box& box, const Rgb& rim)
{
    cairo_t* cr = canvas.Cr();
    canvas.RoundedRect(box.x, box.y, box.w, box.h, 16);
    canvas.SetColor(kDeepGlass, 0.55);
    cairo_fill_preserve(cr);
    canvas.SetColor(rim, 0.25);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // The inner shadow along the top edge.
    canvas.RoundedRect(box.x + 2, box.y + 2, box.w - 4, 10, 8);
    canvas.SetColor({0, 0, 0}, 0.25);
    cairo_fill(cr);
}

void LightPlate(ArtCanvas& canvas, const Box& box, const Rgb& rim, double radius)
{
    cairo_t* cr = canvas.Cr();
    canvas.RoundedRect(box.x, box.y, box.w, box.h, radius);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, box.y, 0, box.y + box.h);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, kPlateTop.r, kPlateTop.g, kPlateTop.b, 0.97);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, kPlateBottom.r, kPlateBottom.g, kPlateBottom.b,
                                      0.97);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    canvas.SetColor(rim.Scaled(0.7), 0.9);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    canvas.RoundedRect(box.x + 6, box.y + 2, box.w - 12, 4, 2);
    canvas.SetColor(kWhite, 0.45);
    cairo_fill(cr);
}

// A small culture dish: a glass ring with a few colonies in it.
void Emblem(ArtCanvas& canvas, double cx, double cy, double r, const Rgb& rim)
{
    cairo_t* cr = canvas.Cr();
    canvas.Glow(cx, cy, r * 1.6, rim, 0.25);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    canvas.SetColor(kDeepGlass, 0.8);
    cairo_fill_preserve(cr);
    canvas.SetColor(rim, 0.9);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, r * 0.86, 0, 2 * kPi);
    canvas.SetColor(rim, 0.35);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    canvas.Blob(cx - r * 0.3, cy + r * 0.1, r * 0.28, KindColor(1), 0.12, 0.5, 0.8);
    canvas.Blob(cx + r * 0.35, cy - r * 0.2, r * 0.22, KindColor(2), 0.14, 1.7, 0.8);
    canvas.Blob(cx + r * 0.2, cy + r * 0.42, r * 0.16, KindColor(3), 0.1, 2.9, 0.8);
    canvas.Specular(cx - r * 0.35, cy - r * 0.55, r * 0.4, r * 0.15, 0.5);
}

void Panel(ArtCanvas& canvas, const Cel& cel, const PanelLayout& layout)
{
    const double top = layout.frameTop, height = cel.h - kMargin - top;
    // Opaque under the glass: a dialog over another shows nothing of the one below.
    canvas.RoundedRect(kMargin, top, cel.w - 2 * kMargin, height, kRadius);
    canvas.SetColor(kDeepGlass, 1.0);
    cairo_fill(canvas.Cr());
    canvas.GlassPanel(kMargin, top, cel.w - 2 * kMargin, height, kRadius, layout.rim, 0.9);
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    canvas.RoundedRect(kMargin, top, cel.w - 2 * kMargin, height, kRadius);
    cairo_clip(cr);
    FaintColonies(canvas, cel, layout.rim);
    for (const Box& well : layout.wells)
        Well(canvas, well, layout.rim);
    if (layout.headerY >= 0)
        HeaderBand(canvas, cel, layout.rim, layout.headerY);
    for (const Box& plate : layout.plates)
        LightPlate(canvas, plate, layout.rim, 18);
    if (layout.emblem)
        Emblem(canvas, cel.w / 2, 58, 28, layout.rim);
    cairo_restore(cr);
}

// The header font is 26 pixels: a header written from y = top is centred about 15 below it.
constexpr double kHeaderCentre = 15;
// The frame begins this far above the header's band centre: the band with a little room above.
constexpr double kFrameAboveHeader = 52;

// The name and difficulty dialogs: header at 100, the name field at 200, OK at (380, 309); the
// difficulty's buttons at 230 and 310 with their hints above at 160.
PanelLayout EditNameLayout()
{
    PanelLayout layout;
    layout.headerY = 100 + kHeaderCentre;
    layout.frameTop = layout.headerY - kFrameAboveHeader;
    return layout;
}

// The profile list: header at 80, five slots 310 wide from (140, 150) every 65 pixels; add,
// delete and OK below them.
PanelLayout ProfileLayout()
{
    PanelLayout layout;
    layout.headerY = 80 + kHeaderCentre;
    layout.frameTop = layout.headerY - kFrameAboveHeader;
    layout.wells.push_back({120, 138, 350, 332});
    return layout;
}

// The high scores: header at 80, five rows from (57, 153) every 75 pixels, OK at (434, 525).
PanelLayout ScoresLayout()
{
    PanelLayout layout;
    layout.headerY = 80 + kHeaderCentre;
    layout.frameTop = layout.headerY - kFrameAboveHeader;
    layout.wells.push_back({45, 143, 540, 380});
    return layout;
}

// The settings: header at 23, the volume rows at 142 and 235, the two check boxes below, the
// language button at (53, 453) and OK at (374, 416).
PanelLayout SettingsLayout(const Cel& cel)
{
    PanelLayout layout;
    layout.headerY = 23 + kHeaderCentre;
    layout.wells.push_back({24, 136, cel.w - 48, 62});
    layout.wells.push_back({24, 226, cel.w - 48, 66});
    return layout;
}

// The credits: the caption on baseline 120, eight names in the label colour on baselines 160 to
// 335, OK 30 pixels above the bottom.
PanelLayout CreditsLayout(const Cel& cel)
{
    PanelLayout layout;
    layout.headerY = 108;
    layout.frameTop = layout.headerY - kFrameAboveHeader;
    layout.plates.push_back({cel.w / 2 - 150, 137, 300, 216});
    return layout;
}

// The exit question, the pause menu, the saved-game question and the tutorial's quit: no
// header; the question at 160, buttons at 110 to 358.
PanelLayout ExitLayout()
{
    PanelLayout layout;
    layout.rim = {1.0, 0.6, 0.45};
    layout.emblem = true;
    return layout;
}

// The settings' volume sliders: the track is as tall as a settings row, its groove along the
// bottom, clear of the row's label (whose baseline lies 21 below the slider's top, its descenders
// and outline 7 further); each lit segment is drawn 4 below the slider's top, so its cel carries
// the segment down into the groove, 2 pixels inside it.
constexpr double kGrooveTop = 31;
constexpr double kSegmentTop = kGrooveTop - 2;

void SliderTrack(ArtCanvas& canvas, const Cel& cel)
{
    // Short of the right end, where the row's check box stands.
    const double h = cel.h - kGrooveTop - 1;
    canvas.RoundedRect(4, kGrooveTop, 242, h, h / 2);
    canvas.SetColor(kDeepGlass, 0.95);
    cairo_fill_preserve(canvas.Cr());
    canvas.SetColor(kRim, 0.6);
    cairo_set_line_width(canvas.Cr(), 1.5);
    cairo_stroke(canvas.Cr());
}

// One lit segment; the segments grow brighter and warmer to the right.
void SliderSegment(ArtCanvas& canvas, const Cel& cel)
{
    const double t = cel.count > 1 ? static_cast<double>(cel.index) / (cel.count - 1) : 0.0;
    const Rgb color = KindColor(1).Mix(KindColor(3), t);
    canvas.RoundedRect(2, kSegmentTop, cel.w - 5, 16, 3);
    canvas.SetColor(color, 0.95);
    cairo_fill(canvas.Cr());
    canvas.Specular(cel.w * 0.4, kSegmentTop + 5, cel.w * 0.3, 2.5, 0.5);
}

// The name field, stretched 1.7 times across by the dialog: drawn narrow so that its corners
// come out round once stretched.
void NameField(ArtCanvas& canvas, const Cel& cel)
{
    constexpr double kStretch = 1.7;
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_scale(cr, 1 / kStretch, 1);
    const double w = cel.w * kStretch, h = cel.h;
    canvas.RoundedRect(2, 2, w - 4, h - 4, 10);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 2, 0, h - 2);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, 0.86, 0.92, 0.95, 1);
    cairo_pattern_add_color_stop_rgba(fill, 0.3, 0.97, 0.99, 1.0, 1);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, 0.93, 0.97, 0.99, 1);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    canvas.SetColor(kRim.Scaled(0.75), 1);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// A row of the high-score table: a light plate (names and scores are written on it in violet)
// with the rank badge's seat at the left and a divider between name and score.
void ScoreRow(ArtCanvas& canvas, const Cel& cel)
{
    cairo_t* cr = canvas.Cr();
    const Rgb rim{0.62, 0.55, 0.95};
    canvas.RoundedRect(2, 2, cel.w - 4, cel.h - 4, 16);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 2, 0, cel.h - 2);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, 0.96, 0.95, 1.0, 0.97);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, 0.84, 0.84, 0.95, 0.97);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    canvas.SetColor(rim, 0.95);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // The badge's seat (the badge is drawn 11 right and 19 below the row's corner).
    cairo_arc(cr, 25, 33, 18, 0, 2 * kPi);
    canvas.SetColor(rim, 0.22);
    cairo_fill(cr);
    // The divider between the name's column (centred on 159) and the score's (on 369).
    canvas.SetColor(rim, 0.5);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, 264, 10);
    cairo_line_to(cr, 264, cel.h - 10);
    cairo_stroke(cr);
    canvas.RoundedRect(10, 4, cel.w - 20, 5, 2.5);
    canvas.SetColor(kWhite, 0.45);
    cairo_fill(cr);
}

// The rank badges: gold, silver and bronze discs for the first three, pale blue for the others,
// each with its number in dark ink.
void RankBadge(ArtCanvas& canvas, const Cel& cel, int rank)
{
    cairo_t* cr = canvas.Cr();
    const Rgb metal = rank == 1 ? kGold : rank == 2 ? kSilver : rank == 3 ? kBronze : Rgb{0.6, 0.72, 1.0};
    const double cx = cel.w / 2, cy = cel.h / 2, r = cel.w / 2 - 1.5;
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    const Rgb light = metal.Mix(kWhite, 0.45), deep = metal.Scaled(0.8);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, cy - r, 0, cy + r);
    cairo_pattern_add_color_stop_rgba(fill, 0.0, light.r, light.g, light.b, 1);
    cairo_pattern_add_color_stop_rgba(fill, 1.0, deep.r, deep.g, deep.b, 1);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    canvas.SetColor(metal.Scaled(0.45), 1);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    canvas.Text(std::to_string(rank), cx, cy, cel.h * 0.62, TextWeight::Bold, {0.16, 0.1, 0.3}, 0);
}
} // namespace

CelPainter FindDialogPainter(const std::string& name)
{
    if (name == "EDIT_NAME_BACKGROUND")
        return [](ArtCanvas& c, const Cel& cel) { Panel(c, cel, EditNameLayout()); };
    if (name == "PROFILE_DIALOG_BG")
        return [](ArtCanvas& c, const Cel& cel) { Panel(c, cel, ProfileLayout()); };
    if (name == "PNL_SCORES_BG")
        return [](ArtCanvas& c, const Cel& cel) { Panel(c, cel, ScoresLayout()); };
    if (name == "SETTINGS_BG")
        return [](ArtCanvas& c, const Cel& cel) { Panel(c, cel, SettingsLayout(cel)); };
    if (name == "PNL_CREDITS")
        return [](ArtCanvas& c, const Cel& cel) { Panel(c, cel, CreditsLayout(cel)); };
    if (name == "PANEL_EXIT")
        return [](ArtCanvas& c, const Cel& cel) { Panel(c, cel, ExitLayout()); };
    if (name == "SETTING_SLIDER_TRACK")
        return &SliderTrack;
    if (name == "SETTING_SLIDER_THUMB")
        return &SliderSegment;
    if (name == "EDIT_ITEM")
        return &NameField;
    if (name == "PNL_SCORES")
        return &ScoreRow;
    if (int rank = NumberAfter(name, "PNL_SCORES"); rank >= 1)
        return [rank](ArtCanvas& c, const Cel& cel) { RankBadge(c, cel, rank); };
    return {};
}
} // namespace ArtGen

#include "tools/artgen/ArtCatalogue.h"

#include <cctype>

namespace ArtGen
{
bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

int NumberAfter(const std::string& name, const std::string& prefix)
{
    if (!StartsWith(name, prefix) || name.size() == prefix.size())
        return -1;
    int value = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i)
    {
        if (!std::isdigit(static_cast<unsigned char>(name[i])) || value > 100000)
            return -1;
        value = value * 10 + (name[i] - '0');
    }
    return value;
}

CelPainter FindPainter(const std::string& name)
{
    for (auto find : {&FindCreaturePainter, &FindDialogPainter, &FindInterfacePainter, &FindScenePainter,
                      &FindEffectPainter, &FindComicPainter, &FindAchievementIconPainter})
        if (CelPainter painter = find(name))
            return painter;
    return {};
}

bool PaintImage(ArtCanvas& canvas, const ImageJob& job)
{
    const CelPainter painter = FindPainter(job.name);
    if (!painter)
        return false;
    Cel cel;
    cel.count = job.cols * job.rows;
    cel.w = static_cast<double>(job.width / job.cols);
    cel.h = static_cast<double>(job.height / job.rows);
    cairo_t* cr = canvas.Cr();
    for (cel.index = 0; cel.index < cel.count; ++cel.index)
    {
        cairo_save(cr);
        cairo_translate(cr, (cel.index % job.cols) * cel.w, (cel.index / job.cols) * cel.h);
        cairo_rectangle(cr, 0, 0, cel.w, cel.h);
        cairo_clip(cr);
        painter(canvas, cel);
        cairo_restore(cr);
    }
    return true;
}
} // namespace ArtGen

#pragma once
// Emitter paths and masks drawn from a few lines of the text form instead of written point by
// point. ExpandPathLines turns these lines into the plain "path", "mask", "path_time" and
// "lifetime" lines of PsiText; every other line passes through unchanged.
//
//   curve <from> <to> <bend> [<least>]  a smooth arc from one point to the other, each point a
//                                       pixel's step (across, down or both) from the one
//                                       before; its middle is pushed up the screen by
//                                       bend x the distance, and by at least <least> pixels
//                                       (a negative bend bows it down)
//   loop <centre> <radius> <turns>      circles around the centre, starting on its right
//   path_speed <pixels per second>      the path time: each point takes 1/speed of a second
//   dwell <seconds>                     the emitter rests on the last point that long before
//                                       the path ends (needs path_speed)
//   lifetime_after_path <seconds>       lifetime = path time + seconds (needs path_speed)
//   mask_hole <point> <radius>          the mask: the whole 1024 x 768 screen but a round hole
//                                       at the point; an emitter that enters the hole has left
//                                       the mask
//
// A point is "x,y" or "node:N", the centre of the level map's group N in the map's coordinates
// file (a label and the node's rectangle a line). "$NAME" words are replaced by defined values
// before anything is read.
#include "game/scene/ParticleFile.h"

#include <map>
#include <string>
#include <vector>

struct PathContext
{
    // The centres of the map's group nodes, group 1 first.
    std::vector<ParticlePoint> nodes;
    std::map<std::string, std::string> defines;
};

// The node centres of a map coordinates file; false with a message when a line does not read.
bool ReadMapNodes(const std::string& text, std::vector<ParticlePoint>& nodes, std::string& error);

// The text with its path lines expanded; false with a message naming the line when it cannot.
bool ExpandPathLines(const std::string& text, const PathContext& context, std::string& out, std::string& error);

#pragma once
// The software rasteriser's textured, texel-alpha-blended, colour-tinted triangle routine that
// particle meshes draw with, installed for every destination format.

// Stores each format's own blended, tinted, textured routine as that entry of the rasteriser's
// table (the routine the table holds there by default).
void InstallParticleSpanRoutines();

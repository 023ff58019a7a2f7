#pragma once
// A one-page picture of what the canvas draws for the grid: edges, grid lines of two widths,
// cell text in colours and alignments, the dotted sizing line, and the editor's buttons.
#include "gfx/Graphics.h"

namespace plumb {

constexpr Integer ShowcaseWidth = 780;
constexpr Integer ShowcaseHeight = 600;

void PaintShowcase(TCanvas& Canvas);

}  // namespace plumb

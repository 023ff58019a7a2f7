#pragma once
// The generic grid's storm: a text grid on a headless form, driven by random user input (keys
// with every shift combination, typed text, clicks, double clicks, drags across the sizing
// zone, scroll-bar messages) mixed with random host changes (counts, fixed counts, widths,
// heights and line widths, options, bounds, focus, EditorMode, Reset). After every step it
// checks that a shown editor lies on the current cell and holds that cell's text, that every
// write went to the cell the editor was loaded from, and that counts and positions are in range.
#include <cstdint>
#include <string>

namespace plumb::test {

// Runs one seed for Steps steps; empty when everything held, else a report that names the seed
// and the step.
std::string RunGridStorm(uint64_t Seed, int Steps);

}  // namespace plumb::test

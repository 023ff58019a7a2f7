#pragma once
// The record grid's storm: a TPlumbGrid on a form, bound to an SQLite table, driven by random
// user input (keys with every shift combination, typed text, clicks, drags across the sizing
// zone and the editor's button, double clicks, wheel notches, focus changes, resizes), host
// actions (columns added, deleted, moved, indented, collapsed and expanded; their settings
// changed; menus, fields and the data source freed; Reset) and data actions (moves, insert,
// delete, edit, post, cancel, close and reopen, another connection writing the table). After
// every step it checks that the rows are the visible columns, that positions are in range and
// the scroll bar agrees, that a shown editor sits on the current cell with that row's text,
// that text went only to the column it was typed for, and that no column refers to anything
// freed.
#include <cstdint>
#include <string>

namespace plumb::test {

// Runs one seed for Steps steps; empty when everything held, else a report that names the seed
// and the step.
std::string RunRecordStorm(uint64_t Seed, int Steps);

}  // namespace plumb::test

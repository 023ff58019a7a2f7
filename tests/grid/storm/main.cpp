// Long storms of the generic grid (see tests/storm/StormMain.h for the options).
#include "../../storm/StormMain.h"
#include "GridStorm.h"

int main(int argc, char** argv) {
  return plumb::test::StormMain(argc, argv, "plumb_grid_storm", plumb::test::RunGridStorm);
}

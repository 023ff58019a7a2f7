// Long storms of the record grid (see tests/storm/StormMain.h for the options).
#include "../../storm/StormMain.h"
#include "RecordStorm.h"

int main(int argc, char** argv) {
  return plumb::test::StormMain(argc, argv, "plumb_record_storm", plumb::test::RunRecordStorm);
}

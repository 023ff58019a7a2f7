// A TPlumbGrid on a table of an SQLite file: the grid shows the first record, one row per
// field, on a form laid out on the headless desktop, and the form is written to a PNG.
//
//   customer-grid DATABASE TABLE PICTURE.png
#include <exception>
#include <iostream>

#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "data/SQLiteDataSet.h"
#include "recordgrid/uPlumbGrid.h"

using namespace plumb;

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: customer-grid DATABASE TABLE PICTURE.png\n";
    return 2;
  }
  THeadlessDesktop Desktop(480, 360);
  TForm Form(nullptr);  // owns everything below and frees it
  try {
    Form.SetBounds(0, 0, 480, 360);
    Form.SetCaption("Customers");

    auto* Table = new TSQLiteDataSet(&Form);
    Table->SetDatabaseName(argv[1]);
    Table->SetTableName(argv[2]);
    auto* Source = new TDataSource(&Form);
    Source->SetDataSet(Table);

    auto* Grid = new TPlumbGrid(&Form);
    Grid->SetParent(&Form);
    Grid->SetAlign(alClient);
    Grid->SetDataSource(Source);
    Table->Open();
    for (Integer I = 0; I < Table->GetFieldCount(); ++I)
      Grid->GetColumns()->Add()->SetFieldName(Table->GetField(I)->GetFieldName());

    Form.Show();
    if (!Desktop.SnapshotWindow(Form.GetHandle(), argv[3])) {
      std::cerr << "customer-grid: cannot write " << argv[3] << "\n";
      return 1;
    }
    std::cout << Table->GetFieldCount() << " fields of " << Table->GetRecordCount()
              << " records; the first is in " << argv[3] << "\n";
    return 0;
  } catch (const std::exception& E) {
    std::cerr << "customer-grid: " << E.what() << "\n";
    return 1;
  }
}

#pragma once
// The demo's customer form: a record grid on one customer of the sample database, its rows
// grouped into contact, account and notes.
#include <string>

#include "controls/Forms.h"
#include "data/SQLiteDataSet.h"
#include "recordgrid/uPlumbGrid.h"

namespace demo {

constexpr plumb::Integer FormWidth = 720, FormHeight = 520;

// The user's own copy of the sample database, made from the pristine sample (found beside
// the program) when it is missing or when Fresh is set; empty with Error set when it cannot.
std::string WorkingDatabase(bool Fresh, std::string& Error);

// A form owning the data set ("Customers"), its source and the grid ("Grid").
plumb::TForm* MakeCustomerForm(const std::string& DatabasePath);

}  // namespace demo

#include "DefaultForm.h"

#include <nlohmann/json.hpp>

#include "apps/common/CustomerParts.h"

namespace designer {

namespace {

// The data sets are open at design time, so that the grid shows a record and a column's
// FieldName offers the table's field names.
const char* const FormTemplate = R"json({
  "class": "TForm", "name": "CustomerForm",
  "properties": {"Left": 0, "Top": 0, "Width": 470, "Height": 430},
  "components": [
    {"class": "TSQLiteDataSet", "name": "Countries",
     "properties": {"DatabaseName": @DB@, "TableName": "countries", "Active": true}},
    {"class": "TSQLiteDataSet", "name": "Customers",
     "properties": {"DatabaseName": @DB@, "TableName": "customers", "Active": true}},
    @LOOKUP@
    {"class": "TDataSource", "name": "CustomerSource", "properties": {"DataSet": "Customers"}},
    {"class": "TPlumbGrid", "name": "Grid",
     "properties": {
       "Align": "alClient", "DataSource": "CustomerSource", "ColWidths": [140, 326],
       @COLUMNS@}}
  ]
})json";

}  // namespace

std::string DefaultFormStream(const std::string& DatabasePath) {
  std::string Text = apps::WithCustomerParts(FormTemplate);
  const std::string Quoted = nlohmann::json(DatabasePath).dump();
  for (size_t At = 0; (At = Text.find("@DB@", At)) != std::string::npos; At += Quoted.size())
    Text.replace(At, 4, Quoted);
  return Text;
}

}  // namespace designer

#pragma once
// The customer form's parts that the demo and the designer share: the country as a lookup
// field into the countries table, and the grid's rows grouped into contact, account and notes.
// Both are pieces of a form stream, spliced where @LOOKUP@ and @COLUMNS@ stand.
#include <string>

namespace apps {

inline const char* const CustomerLookupField =
    R"json({"class": "TField", "name": "CustomersCountry",
     "properties": {"FieldName": "country", "FieldKind": "fkLookup", "KeyFields": "country_id",
                    "LookupDataSet": "Countries", "LookupKeyFields": "id",
                    "LookupResultField": "name", "DataSet": "Customers"}},)json";

inline const char* const CustomerGridColumns = R"json("Columns": [
         {"Title": "Contact", "IDCode": "Contact", "Expanded": true},
         {"FieldName": "name", "Title": "Name", "IndentLevel": 1},
         {"FieldName": "email", "Title": "E-mail", "IndentLevel": 1},
         {"FieldName": "country", "Title": "Country", "IndentLevel": 1},
         {"Title": "Account", "IDCode": "Account", "Expanded": true},
         {"FieldName": "id", "Title": "Customer no.", "IndentLevel": 1, "ReadOnly": true},
         {"FieldName": "balance", "Title": "Balance", "IndentLevel": 1},
         {"FieldName": "joined", "Title": "Joined", "IndentLevel": 1,
          "EditMask": "0000-00-00;1;_"},
         {"FieldName": "active", "Title": "Active", "IndentLevel": 1,
          "PickList": ["True", "False"]},
         {"FieldName": "age", "Title": "Age", "IndentLevel": 1},
         {"Title": "Notes", "IDCode": "Notes", "Expanded": true},
         {"FieldName": "notes", "Title": "Remarks", "IndentLevel": 1},
         {"FieldName": "photo", "Title": "Photo", "IndentLevel": 1}
       ])json";

// Text with @LOOKUP@ and @COLUMNS@ replaced by the pieces above.
inline std::string WithCustomerParts(std::string Text) {
  for (auto [Mark, Part] : {std::pair<const char*, const char*>{"@LOOKUP@", CustomerLookupField},
                            {"@COLUMNS@", CustomerGridColumns}})
    if (size_t At = Text.find(Mark); At != std::string::npos)
      Text.replace(At, std::string(Mark).size(), Part);
  return Text;
}

}  // namespace apps

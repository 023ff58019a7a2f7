#pragma once
// The form the designer opens when it is given none: customers of the sample database in a
// record grid, the rows grouped into contact, account and notes.
#include <string>

namespace designer {

// The form stream, its data sets reading the database at DatabasePath.
std::string DefaultFormStream(const std::string& DatabasePath);
// Where the designer saves that form unless told otherwise: in the current folder.
inline constexpr const char* DefaultFormFile = "CustomerForm.json";

}  // namespace designer

#pragma once
// The data layer in one include: fields, data sets, data sources and links, and the two
// storages (memory and SQLite).
#include "DataSet.h"
#include "DataSource.h"
#include "DateTime.h"
#include "Field.h"
#include "FieldTypes.h"
#include "MemDataSet.h"
#include "SQLiteDataSet.h"

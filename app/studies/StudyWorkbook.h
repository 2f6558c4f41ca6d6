#pragma once

// A study's result tables as a workbook (.xlsx): one worksheet per table,
// named after it, with its heading row in bold; numbers as numbers.

#include "StudyOutput.h"

#include <string>

// Throws EInOutError when the file cannot be written.
void SaveStudyWorkbook(const TCsvTables& tables, const std::string& fileName);

#pragma once

#include <string>
#include <vector>

// One record of a CTableWidget: the cells as the caller gave them (UTF-8, one
// per column; a missing cell reads as empty), the check state per check-box
// column (element 0 is the record's check state) and the selected index per
// combo-box column (element 0 is the record's combo selection).
struct TableRecord
{
    std::vector<std::string> cells;
    std::vector<bool> checks;
    std::vector<int> comboIndexes;
};

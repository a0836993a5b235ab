#pragma once

// Where the navigation keys move the selection of a list of rows: Up and Down
// by one row, Page Up and Page Down by one page of rows, Home and End to the
// first and the last row, always clamped to the rows.
class RowKeyNavigation
{
public:
    // The row `key` selects among `count` rows shown `page` at a time, when
    // row `current` is selected (-1: none, and the move starts at
    // `firstVisible`); -1 for a key that does not move the selection or an
    // empty list.
    static int target(int key, int current, int count, int page, int firstVisible);
};

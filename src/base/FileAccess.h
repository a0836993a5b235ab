#pragma once

namespace KO {

// How a FileStream opens its file; the C runtime mode in brackets. Any other
// value opens for reading.
enum ENUM_FILE_ACCESS : int
{
    FILE_ACCESS_READ = 0,       // "rb"
    FILE_ACCESS_WRITE = 1,      // "wb": create or truncate
    FILE_ACCESS_WRITE_READ = 2, // "wb+": create or truncate
    FILE_ACCESS_APPEND_READ = 3 // "ab+": create if missing, writes go to the end
};

} // namespace KO

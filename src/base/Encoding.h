#pragma once

namespace KO {

// Text encoding of a file. The underlying type is fixed so that any stored
// number (a settings value, say) converts without undefined behaviour;
// values without an enumerator are handled by the file operations.
enum ENUM_ENCODING : int
{
    ENCODING_ANSI = 0,   // the thread's ANSI code page (UTF-8 on POSIX); no byte-order mark
    ENCODING_UTF8 = 1,   // byte-order mark EF BB BF
    ENCODING_UTF16LE = 2 // byte-order mark FF FE
};

} // namespace KO

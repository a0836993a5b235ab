#pragma once

#include <string>

// One entry of the string or the pixmap pool, read from an `s` element of a
// resource XML file. Texts are UTF-8; x and y are a position in the parent
// widget, -1 for none.
struct ResourceEntry
{
    std::string text;   // the element's text
    std::string object; // object name for the style sheets
    std::string image;  // image resource path (pixmap pool only)
    int x = -1;
    int y = -1;
};

#pragma once

#include <string>

// One catalogue entry: a record category or a tool. Texts are UTF-8.
struct SafeToolItem
{
    int id = -1;
    std::string showText; // "title,subtitle"; the subtitle is optional
    std::string FileName; // program file, relative to the application directory
    std::string imgPath;  // icon resource path, registered by the host
};

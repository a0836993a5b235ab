#pragma once

#include <QStringList>

// What this machine tells about itself for a program-start report: the
// sixteen endpoint fields in the order of the record (last active time, IP
// and MAC address, CPU, memory, disk, disk serial number, CPU, memory and
// disk usage, operating system, system bits, mainboard, sound card, graphics
// card, optical drive). A field the system does not tell is "unknown".
class EndpointInfo
{
public:
    static constexpr int kFieldCount = 16;

    static QStringList Collect();
};

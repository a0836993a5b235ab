#pragma once

#include <chrono>

// How long CommonUtils::sendMessage waits for the service: for a free pipe
// instance when connecting, and between two of its five write attempts.
struct PipeMessageTimeouts
{
    std::chrono::milliseconds connect{5000};
    std::chrono::milliseconds writePause{500};
};

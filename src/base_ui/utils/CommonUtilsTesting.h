#pragma once

#include "base_ui/utils/PipeMessageTimeouts.h"

// Seams for the tests of CommonUtils; production code never includes this
// header, so the utilities always run with their defaults there.
namespace CommonUtilsTesting {

// The time-outs that sendMessage and clientWriteToServer use from now on
// (PipeMessageTimeouts{} restores the defaults). Safe to call while messages
// are sent on other threads; a message already on its way keeps the values
// it started with.
void SetPipeMessageTimeouts(const PipeMessageTimeouts& timeouts);
PipeMessageTimeouts GetPipeMessageTimeouts();

} // namespace CommonUtilsTesting

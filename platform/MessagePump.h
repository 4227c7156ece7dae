#pragma once
// "Process pending messages": lets the window toolkit handle events between script lines and
// around commands. A no-op until the GUI installs its pump.
#include <functional>

namespace quorvex::platform {

void processPendingMessages();
void setMessagePump(std::function<void()> pump); // empty function restores the no-op

} // namespace quorvex::platform

#pragma once
// Makes platform::processPendingMessages() run QCoreApplication::processEvents().
namespace quorvex::platform {

void installQtMessagePump();

} // namespace quorvex::platform

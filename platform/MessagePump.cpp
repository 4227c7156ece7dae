#include "platform/MessagePump.h"

#include <utility>

namespace quorvex::platform {

namespace {
std::function<void()>& pump()
{
    static std::function<void()> p;
    return p;
}
} // namespace

void processPendingMessages()
{
    if (pump())
        pump()();
}

void setMessagePump(std::function<void()> p)
{
    pump() = std::move(p);
}

} // namespace quorvex::platform

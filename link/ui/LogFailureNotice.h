#pragma once
// The program tells the operator when the exchange log cannot be written: once when it starts
// failing, on standard error at once and in a message box as soon as the exchange in flight
// has ended (a box inside the exchange would let the operator start another command).
namespace quorvex::link {
class Link;
}

namespace quorvex::ui {

void tellLogFailures(link::Link& link);

} // namespace quorvex::ui

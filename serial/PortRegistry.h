#pragma once
// Port names -> line factories. Virtual ports (the in-process emulated registrars) register by
// name; every other name goes to the fallback, which on a desktop build is the real serial line.
#include "serial/SerialLine.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::serial {

using LineFactory = std::function<std::unique_ptr<SerialLine>(const std::string& name, int baud)>;
// A factory that says why it failed: on nullptr, `failure` holds one line for the user.
using ExplainingLineFactory = std::function<std::unique_ptr<SerialLine>(
    const std::string& name, int baud, std::string& failure)>;

class PortRegistry {
public:
    // Registers or replaces a named virtual port; names are matched exactly.
    void addVirtualPort(const std::string& name, LineFactory factory);
    void removeVirtualPort(const std::string& name);
    void setFallback(ExplainingLineFactory factory);
    // Names of the virtual ports in registration order.
    [[nodiscard]] std::vector<std::string> virtualPortNames() const;
    // Opens the line for a name; nullptr when it cannot be opened, and then, when `failure` is
    // given, why (one line for the user).
    [[nodiscard]] std::unique_ptr<SerialLine> open(const std::string& name, int baud,
                                                   std::string* failure = nullptr) const;

private:
    struct Entry {
        std::string name;
        LineFactory factory;
    };
    std::vector<Entry> m_virtual;
    ExplainingLineFactory m_fallback;
};

// The process's registry, used by the process's link.
PortRegistry& portRegistry();

} // namespace quorvex::serial

#include "serial/PortRegistry.h"

#include <algorithm>

namespace quorvex::serial {

void PortRegistry::addVirtualPort(const std::string& name, LineFactory factory)
{
    removeVirtualPort(name);
    m_virtual.push_back({name, std::move(factory)});
}

void PortRegistry::removeVirtualPort(const std::string& name)
{
    std::erase_if(m_virtual, [&](const Entry& e) { return e.name == name; });
}

void PortRegistry::setFallback(LineFactory factory) { m_fallback = std::move(factory); }

std::vector<std::string> PortRegistry::virtualPortNames() const
{
    std::vector<std::string> names;
    for (const Entry& e : m_virtual)
        names.push_back(e.name);
    return names;
}

std::unique_ptr<SerialLine> PortRegistry::open(const std::string& name, int baud) const
{
    auto it = std::find_if(m_virtual.begin(), m_virtual.end(),
                           [&](const Entry& e) { return e.name == name; });
    if (it != m_virtual.end())
        return it->factory(name, baud);
    if (m_fallback)
        return m_fallback(name, baud);
    return nullptr;
}

PortRegistry& portRegistry()
{
    static PortRegistry registry;
    return registry;
}

}  // namespace quorvex::serial

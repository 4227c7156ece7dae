#include "serial/PortRegistry.h"

#include "serial/OpenFailure.h"

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

void PortRegistry::setFallback(ExplainingLineFactory factory)
{
    m_fallback = std::move(factory);
}

std::vector<std::string> PortRegistry::virtualPortNames() const
{
    std::vector<std::string> names;
    for (const Entry& e : m_virtual)
        names.push_back(e.name);
    return names;
}

std::unique_ptr<SerialLine> PortRegistry::open(const std::string& name, int baud,
                                               std::string* failure) const
{
    std::string why;
    std::unique_ptr<SerialLine> line;
    auto it = std::find_if(m_virtual.begin(), m_virtual.end(),
                           [&](const Entry& e) { return e.name == name; });
    if (it != m_virtual.end())
        line = it->factory(name, baud);
    else if (m_fallback)
        line = m_fallback(name, baud, why);
    else
        why = openFailureText(OpenFailure::NoSuchPort, name);
    if (!line && failure)
        *failure = why.empty() ? openFailureText(OpenFailure::Other, name) : why;
    return line;
}

PortRegistry& portRegistry()
{
    static PortRegistry registry;
    return registry;
}

} // namespace quorvex::serial

#include "serial/win32/Win32PortList.h"

#include "serial/ComPortNames.h"

#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>

#include <array>
#include <cstring>
#include <optional>

namespace quorvex::serial {

namespace {

using OpenDevNodeKey = CONFIGRET(WINAPI*)(DEVINST, REGSAM, ULONG, REGDISPOSITION, PHKEY, ULONG);

// The configuration manager's CM_Open_DevNode_Key, looked up by name: on a system without it
// no device's key can be read, and the devices are skipped instead of the program failing.
class ConfigManager {
public:
    ConfigManager() : m_library(LoadLibraryA("cfgmgr32.dll"))
    {
        if (m_library) {
            // Through the generic function type, which GCC accepts as a cast to any other.
            const auto entry =
                reinterpret_cast<void (*)()>(GetProcAddress(m_library, "CM_Open_DevNode_Key"));
            m_openKey = reinterpret_cast<OpenDevNodeKey>(entry);
        }
    }
    ~ConfigManager()
    {
        if (m_library)
            FreeLibrary(m_library);
    }
    ConfigManager(const ConfigManager&) = delete;
    ConfigManager& operator=(const ConfigManager&) = delete;

    // The device's hardware key, or nullptr when it cannot be opened.
    [[nodiscard]] HKEY openHardwareKey(DEVINST device) const
    {
        HKEY key = nullptr;
        if (!m_openKey || m_openKey(device, KEY_QUERY_VALUE, 0, RegDisposition_OpenExisting, &key,
                                    CM_REGISTRY_HARDWARE) != CR_SUCCESS)
            return nullptr;
        return key;
    }

private:
    HMODULE m_library;
    OpenDevNodeKey m_openKey = nullptr;
};

// A text value of at most 200 bytes; nullopt when it is missing, of another type or longer.
std::optional<std::string> textValue(HKEY key, const char* valueName)
{
    std::array<char, 200> buffer{};
    DWORD type = 0;
    DWORD size = buffer.size() - 1;
    if (RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::string(buffer.data(), strnlen(buffer.data(), size));
}

std::optional<std::string> devicePortName(const ConfigManager& configManager, DEVINST device)
{
    HKEY key = configManager.openHardwareKey(device);
    if (!key)
        return std::nullopt;
    std::optional<std::string> name = textValue(key, "PortName");
    RegCloseKey(key);
    return name;
}

// The name read for each present device of the setup class "Ports", every class GUID the
// name stands for in turn.
std::vector<std::optional<std::string>> portClassDeviceNames()
{
    std::array<GUID, 20> classes{};
    DWORD classCount = 0;
    if (!SetupDiClassGuidsFromNameA("Ports", classes.data(), classes.size(), &classCount))
        return {};
    const ConfigManager configManager;
    std::vector<std::optional<std::string>> names;
    for (DWORD i = 0; i < classCount && i < classes.size(); ++i) {
        HDEVINFO devices = SetupDiGetClassDevsA(&classes[i], nullptr, nullptr, DIGCF_PRESENT);
        if (devices == INVALID_HANDLE_VALUE)
            continue;
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index)
            names.push_back(devicePortName(configManager, device.DevInst));
        SetupDiDestroyDeviceInfoList(devices);
    }
    return names;
}

// The port names of the registry's serial-port map, one value per port.
std::vector<std::string> serialCommMapNames()
{
    HKEY map = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                      &map) != ERROR_SUCCESS)
        return {};
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        std::array<char, 256> valueName{};
        DWORD valueNameSize = valueName.size();
        std::array<char, 200> data{};
        DWORD dataSize = data.size() - 1;
        DWORD type = 0;
        const LONG result = RegEnumValueA(map, index, valueName.data(), &valueNameSize, nullptr,
                                          &type, reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS && type == REG_SZ && data[0] != '\0')
            names.emplace_back(data.data(), strnlen(data.data(), dataSize));
    }
    RegCloseKey(map);
    return names;
}

} // namespace

std::vector<std::string> win32SerialPortNames()
{
    std::vector<std::string> names = comPortNames(portClassDeviceNames());
    for (std::string& name : serialCommMapNames())
        names.push_back(std::move(name));
    return names;
}

} // namespace quorvex::serial

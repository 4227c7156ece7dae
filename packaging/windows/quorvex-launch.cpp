// Starts Quorvex from the Start menu. The program reads fpinit.ini from the folder it starts in
// and keeps its exchange log there, and the installation folder is not the user's to write, so
// it starts in a folder of the user's own, %LOCALAPPDATA%\Quorvex; the folder and an empty
// fpinit.ini are created when missing, an existing one is left as it is. Arguments are passed on.
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::wstring environmentVariable(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::vector<wchar_t> value(size);
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    return length > 0 && length < size ? std::wstring(value.data(), length) : std::wstring();
}

// %LOCALAPPDATA%\Quorvex, or the same under %USERPROFILE% when the variable is missing.
std::wstring userFolder()
{
    std::wstring base = environmentVariable(L"LOCALAPPDATA");
    if (base.empty()) {
        base = environmentVariable(L"USERPROFILE");
        if (base.empty())
            return {};
        base += L"\\AppData\\Local";
    }
    return base + L"\\Quorvex";
}

// The folder this launcher was started from, where quorvex.exe lies beside it.
std::wstring programFolder()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            const std::wstring file(path.data(), length);
            const std::wstring::size_type slash = file.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::wstring() : file.substr(0, slash);
        }
        path.resize(path.size() * 2);
    }
}

bool createFolders(const std::wstring& folder)
{
    // The parent first: %LOCALAPPDATA% itself exists on every Windows, the fallback may not.
    const std::wstring::size_type slash = folder.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 2)
        createFolders(folder.substr(0, slash));
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// An empty fpinit.ini unless one is there.
bool ensureSettingsFile(const std::wstring& folder)
{
    HANDLE file = CreateFileW((folder + L"\\fpinit.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(file);
    return true;
}

int showFailure(const std::wstring& text)
{
    MessageBoxW(nullptr, text.c_str(), L"Quorvex", MB_OK | MB_ICONERROR);
    return 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int)
{
    const std::wstring folder = userFolder();
    if (folder.empty() || !createFolders(folder) || !ensureSettingsFile(folder))
        return showFailure(L"Не удалось создать папку настроек Quorvex: " + folder);

    const std::wstring program = programFolder() + L"\\quorvex.exe";
    std::wstring commandLine = L"\"" + program + L"\"";
    if (arguments && *arguments)
        commandLine += L" " + std::wstring(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return showFailure(L"Не удалось запустить " + program);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

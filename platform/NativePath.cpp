#include "platform/NativePath.h"

#include <algorithm>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace quorvex::platform {

namespace fs = std::filesystem;

#ifdef _WIN32

namespace {

constexpr UINT kProgramCodePage = 1251;

std::wstring wide(const std::string& text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(kProgramCodePage, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kProgramCodePage, 0, text.data(), size, out.data(), length);
    return out;
}

std::string narrow(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(kProgramCodePage, 0, text.data(), size, nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kProgramCodePage, 0, text.data(), size, out.data(), length, "?", nullptr);
    return out;
}

} // namespace

fs::path filePath(const std::string& text)
{
    return fs::path(wide(text));
}

std::string pathText(const fs::path& path)
{
    return narrow(path.native());
}

std::FILE* openFile(const std::string& text, const char* mode)
{
    return _wfopen(filePath(text).c_str(), wide(mode).c_str());
}

#else

fs::path filePath(const std::string& text)
{
    std::string native = text;
    std::replace(native.begin(), native.end(), '\\', '/');
    return fs::path(native);
}

std::string pathText(const fs::path& path)
{
    return path.string();
}

std::FILE* openFile(const std::string& text, const char* mode)
{
    return std::fopen(filePath(text).c_str(), mode);
}

#endif

std::string currentDirectory()
{
    std::error_code error;
    const fs::path directory = fs::current_path(error);
    return error ? std::string() : pathText(directory);
}

} // namespace quorvex::platform

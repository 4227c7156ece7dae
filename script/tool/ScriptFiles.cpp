#include "script/tool/ScriptFiles.h"

#include "platform/FileReplace.h"

#include <cerrno>
#include <fstream>
#include <random>
#include <sstream>

namespace quorvex::script {

namespace fs = std::filesystem;

namespace {

// A script from a pipe longer than this is refused rather than filling the temporary folder.
constexpr std::uintmax_t kMaxCopiedBytes = std::uintmax_t{256} << 20;

std::string reasonOf(int error)
{
    return platform::reasonText(std::error_code(error != 0 ? error : EIO, std::generic_category()));
}

fs::path temporaryName()
{
    std::random_device random;
    std::ostringstream name;
    name << "quorvex-run-script-" << std::hex << random() << random() << ".txt";
    std::error_code error;
    const fs::path folder = fs::temp_directory_path(error);
    return (error ? fs::path(".") : folder) / name.str();
}

} // namespace

ScriptFiles::ScriptFiles(const std::vector<std::string>& names)
{
    for (const std::string& name : names)
        m_files.push_back(prepare(name));
}

ScriptFiles::~ScriptFiles()
{
    for (const fs::path& copy : m_copies) {
        std::error_code ignored;
        fs::remove(copy, ignored);
    }
}

ScriptFile ScriptFiles::prepare(const std::string& name)
{
    std::error_code error;
    const fs::file_status status = fs::status(name, error);
    if (error)
        return {name, {}, "cannot read the script file " + name + ": " + reasonOf(error.value())};
    if (fs::is_directory(status))
        return {name, {}, "the script " + name + " is a folder, not a file"};
    if (fs::is_regular_file(status)) {
        errno = 0;
        if (!std::ifstream(name, std::ios::binary))
            return {name, {}, "cannot read the script file " + name + ": " + reasonOf(errno)};
        return {name, name, {}};
    }
    std::string problem;
    std::string copy = copyOf(name, problem);
    return {name, std::move(copy), std::move(problem)};
}

// Reads a pipe or a device to its end into a temporary file.
std::string ScriptFiles::copyOf(const std::string& name, std::string& problem)
{
    errno = 0;
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        problem = "cannot read the script file " + name + ": " + reasonOf(errno);
        return {};
    }
    const fs::path copy = temporaryName();
    std::ofstream out(copy, std::ios::binary | std::ios::trunc);
    m_copies.push_back(copy);
    char block[65536];
    std::uintmax_t copied = 0;
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        copied += static_cast<std::uintmax_t>(in.gcount());
        if (copied > kMaxCopiedBytes) {
            problem = "the script " + name + " is longer than 256 MB";
            return {};
        }
        out.write(block, in.gcount());
    }
    out.close();
    if (in.bad() || !out) {
        problem = "cannot copy the script " + name + " to " + copy.string();
        return {};
    }
    return copy.string();
}

} // namespace quorvex::script

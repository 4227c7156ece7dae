#pragma once
// The script files of a run made ready before it starts. The engine reads a script line by line
// and jumps back for its loops, so a script that cannot be repositioned (a pipe, /dev/stdin) is
// first copied to a temporary file; a folder or a file that cannot be read is named with the
// reason and not run.
#include <filesystem>
#include <string>
#include <vector>

namespace quorvex::script {

struct ScriptFile {
    std::string name;    // as given on the command line
    std::string path;    // what the engine opens; empty when the script cannot run
    std::string problem; // why it cannot run, one line; empty when it can
};

class ScriptFiles {
public:
    explicit ScriptFiles(const std::vector<std::string>& names);
    ~ScriptFiles(); // removes the copies
    ScriptFiles(const ScriptFiles&) = delete;
    ScriptFiles& operator=(const ScriptFiles&) = delete;

    [[nodiscard]] const std::vector<ScriptFile>& files() const { return m_files; }

private:
    ScriptFile prepare(const std::string& name);
    std::string copyOf(const std::string& name, std::string& problem);

    std::vector<ScriptFile> m_files;
    std::vector<std::filesystem::path> m_copies;
};

} // namespace quorvex::script

// Every quorvex-run and quorvex-emu example of the README and the manual pages, read from the
// documents themselves and run against the emulated registrars with the files they name: each
// must succeed (exit status 0). Devices stand for emulators: /dev/ttyUSB0 and $REGISTRAR for
// EMU1, /dev/ttyUSB1 for EMU2, /dev/pts/N for the quorvex-emu the example before started.
#include "QuorvexRunTool.h"
#include "tests/serial/qt/PtyEmulatorProcess.h"
#include "tests/support/ScopedRuntimeDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

namespace quorvex::script::testing {
namespace {

namespace fs = std::filesystem;

struct Example {
    std::string source; // file:line
    std::string text;   // the command as documented
};

std::vector<std::string> linesOf(const fs::path& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

bool startsCommand(const std::string& text)
{
    return text.rfind("build/script/quorvex-run", 0) == 0 ||
           text.rfind("build/emulator/quorvex-emu", 0) == 0;
}

// Command lines inside the README's code blocks, with their continuation lines (a trailing
// backslash, or the next line's options in YAML) and without comments.
std::vector<Example> readmeExamples(const fs::path& path)
{
    const std::vector<std::string> lines = linesOf(path);
    std::vector<Example> examples;
    bool inBlock = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = trimmed(lines[i]);
        if (line.rfind("```", 0) == 0) {
            inBlock = !inBlock;
            continue;
        }
        if (line.rfind("- ", 0) == 0)
            line = line.substr(2);
        if (!inBlock || !startsCommand(line))
            continue;
        Example example{"README.md:" + std::to_string(i + 1), line.substr(0, line.find(" #"))};
        while (i + 1 < lines.size() &&
               (example.text.back() == '\\' || trimmed(lines[i + 1]).rfind("--", 0) == 0)) {
            if (example.text.back() == '\\')
                example.text.pop_back();
            example.text += " " + trimmed(lines[++i]);
        }
        examples.push_back(example);
    }
    return examples;
}

// The arguments of a troff request line: split at blanks outside quotes, "\-" read as "-".
std::vector<std::string> troffArguments(const std::string& line)
{
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (std::size_t at = line.find(' ') + 1; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any)
                arguments.push_back(current);
            current.clear();
            any = false;
        } else {
            if (line.compare(at, 2, "\\-") == 0)
                ++at;
            current += line[at];
            any = true;
        }
    }
    if (any)
        arguments.push_back(current);
    return arguments;
}

// The bold command lines of a manual page's EXAMPLES: ".B" arguments joined by blanks, ".BI"
// (bold and italic by turns) joined as they are.
std::vector<Example> manExamples(const fs::path& path)
{
    const std::vector<std::string> lines = linesOf(path);
    std::vector<Example> examples;
    bool inExamples = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind(".SH", 0) == 0)
            inExamples = line == ".SH EXAMPLES";
        const bool bold = line.rfind(".B ", 0) == 0;
        if (!inExamples || (!bold && line.rfind(".BI ", 0) != 0))
            continue;
        std::string text;
        for (const std::string& argument : troffArguments(line))
            text += (bold && !text.empty() ? " " : "") + argument;
        if (text.rfind("quorvex-", 0) == 0)
            examples.push_back({path.filename().string() + ":" + std::to_string(i + 1), text});
    }
    return examples;
}

// Runs examples in a folder of their own that holds the files they name.
class ExampleRunner {
public:
    ExampleRunner()
        : m_dir(fs::temp_directory_path() /
                ("quorvex-examples-" + std::to_string(::getpid()) + "-" + std::to_string(++s_runs)))
    {
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        write("test.txt",
              joinLines({"%DeclareBeg", "%New i", "%DeclareEnd", "%Set i = \"0\"", "%While (i < 3)",
                         "%RunCommand (74)", "%Oper (i, 1, 0, i)", "%EndWhile", "%Print i"}));
        write("smoke.txt", "4AW\n3E\n5A0\n");
        write("receipts.txt", "%DeclareBeg\n%DeclareEnd\n%RunCommand (70, \"100.00\")\n");
        write("soak.txt", "4AW\n4AW\n4AW\n");
        // The recording the replay examples start from, made a moment before they run.
        const ToolResult recorded =
            runTool("--log " + (m_dir / "Brelox.log").string() + " " + path("smoke.txt") + " " +
                    path("receipts.txt") + " " + path("test.txt"));
        EXPECT_EQ(recorded.exitCode, 0) << recorded.err;
        fs::copy_file(m_dir / "Brelox.log", m_dir / "golden.log");
        nextSecond();
    }
    ~ExampleRunner()
    {
        m_emulator.reset();
        fs::remove_all(m_dir);
    }

    void run(const Example& example)
    {
        SCOPED_TRACE(example.source + ": " + example.text);
        std::istringstream words(example.text);
        std::string program;
        words >> program;
        const bool emulator = program.find("quorvex-emu") != std::string::npos;
        std::vector<std::string> args;
        for (std::string word; words >> word;) {
            if (word != "&")
                args.push_back(stand_in(word));
        }
        if (emulator && std::find(args.begin(), args.end(), "--help") == args.end()) {
            m_emulator.reset();
            m_emulator = std::make_unique<quorvex::testing::PtyEmulatorProcess>(
                QUORVEX_EMU_PATH, args, m_runtime.path().string());
            EXPECT_FALSE(m_emulator->devicePath().empty());
            return;
        }
        std::string line;
        for (const std::string& arg : args)
            line += " " + arg;
        const ToolResult result =
            emulator
                ? ToolResult{WEXITSTATUS(std::system(
                                 (std::string(QUORVEX_EMU_PATH) + line + " >/dev/null").c_str())),
                             {},
                             {}}
                : runTool(line.substr(1));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        // A recording and the comparison that follows it never share their clock's second.
        if (example.text.find("--log") != std::string::npos)
            nextSecond();
    }

private:
    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    void write(const std::string& name, const std::string& text) const
    {
        std::ofstream(m_dir / name, std::ios::binary) << text;
    }
    static void nextSecond() { std::this_thread::sleep_for(std::chrono::milliseconds(1100)); }

    std::string stand_in(std::string word) const
    {
        if (!word.empty() && word.front() == '"')
            word = word.substr(1, word.size() - 2);
        if (word == "/dev/ttyUSB0" || word == "$REGISTRAR")
            return "EMU1";
        if (word == "/dev/ttyUSB1")
            return "EMU2";
        if (word.rfind("/dev/pts/", 0) == 0)
            return m_emulator ? m_emulator->devicePath() : word;
        if (word.front() != '-' && word.find('.') != std::string::npos &&
            word.find('/') == std::string::npos)
            return path(word);
        return word;
    }

    static inline int s_runs = 0;
    fs::path m_dir;
    test_support::ScopedRuntimeDirectory m_runtime{"quorvex-examples-"};
    std::unique_ptr<quorvex::testing::PtyEmulatorProcess> m_emulator;
};

TEST(DocumentedExamples, EveryExampleRunsAgainstTheEmulator)
{
    const fs::path source = QUORVEX_SOURCE_DIR;
    const struct {
        std::vector<Example> examples;
        std::size_t atLeast;
    } documents[] = {
        {readmeExamples(source / "README.md"), 12},
        {manExamples(source / "packaging" / "man" / "quorvex-run.1"), 4},
        {manExamples(source / "packaging" / "man" / "quorvex-emu.1"), 4},
    };
    for (const auto& document : documents) {
        ASSERT_GE(document.examples.size(), document.atLeast);
        ExampleRunner runner;
        for (const Example& example : document.examples)
            runner.run(example);
    }
}

} // namespace
} // namespace quorvex::script::testing

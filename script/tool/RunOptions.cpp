#include "script/tool/RunOptions.h"

#include <charconv>

namespace quorvex::script {

namespace {

constexpr std::size_t kMaxBaudDigits = 7;

std::optional<int> parseBaud(const std::string& text)
{
    if (text.empty() || text.size() > kMaxBaudDigits ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(text);
    return value > 0 ? std::optional<int>(value) : std::nullopt;
}

// Walks the arguments; the first problem stops it with a message.
class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : m_args(args) {}

    ParsedRunOptions parse()
    {
        for (m_at = 0; m_at < m_args.size() && m_out.error.empty(); ++m_at) {
            if (!option(m_args[m_at]))
                break;
        }
        if (m_out.error.empty() && !m_out.options.help) {
            if (m_out.options.scripts.empty())
                m_out.error = "no script file given";
            else if (m_out.options.secondPort && m_out.options.secondLog)
                m_out.error = "--second and --second-log both name the second registrar";
        }
        return m_out;
    }

private:
    // False when parsing is over (help asked for).
    bool option(const std::string& arg)
    {
        RunOptions& o = m_out.options;
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            return false;
        }
        if (arg == "--port")
            text(arg, o.port);
        else if (arg == "--speed")
            baud(arg, o.speed);
        else if (arg == "--second")
            text(arg, o.secondPort);
        else if (arg == "--second-speed")
            baud(arg, o.secondSpeed);
        else if (arg == "--second-log")
            text(arg, o.secondLog);
        else if (arg == "--compare-all")
            o.compareAll = true;
        else if (arg == "--ignore")
            ignore(arg);
        else if (arg == "--log")
            text(arg, o.logFile);
        else if (arg == "--answer-end")
            answerEnd(arg);
        else if (arg == "--busy-limit")
            busyLimit(arg);
        else if (arg == "--report")
            text(arg, o.reportFile);
        else if (arg == "--junit")
            text(arg, o.junitFile);
        else if (arg == "--quiet")
            o.quiet = true;
        else if (arg == "--trace")
            o.trace = true;
        else if (arg.size() > 1 && arg[0] == '-')
            m_out.error = "unknown option " + arg;
        else
            o.scripts.push_back(arg);
        return true;
    }

    std::optional<std::string> value(const std::string& option)
    {
        if (m_at + 1 >= m_args.size()) {
            m_out.error = "option " + option + " needs a value";
            return std::nullopt;
        }
        return m_args[++m_at];
    }

    template <typename Target> void text(const std::string& option, Target& target)
    {
        if (const auto v = value(option))
            target = *v;
    }

    void baud(const std::string& option, int& target)
    {
        const auto v = value(option);
        if (!v)
            return;
        if (const auto speed = parseBaud(*v))
            target = *speed;
        else
            m_out.error = "option " + option + ": not a speed in baud: " + *v;
    }

    void answerEnd(const std::string& option)
    {
        const auto v = value(option);
        if (!v)
            return;
        if (const auto mode = link::parseAnswerEnd(*v))
            m_out.options.answerEnd = *mode;
        else
            m_out.error = "option " + option + ": not quiet or etx: " + *v;
    }

    void busyLimit(const std::string& option)
    {
        const auto v = value(option);
        if (!v)
            return;
        const std::optional<int> seconds = positiveNumber(*v);
        if (seconds)
            m_out.options.busyLimitSeconds = *seconds;
        else
            m_out.error = "option " + option + ": not a number of seconds above 0: " + *v;
    }

    static std::optional<int> positiveNumber(const std::string& text)
    {
        int number = 0;
        const char* end = text.data() + text.size();
        const auto [at, error] = std::from_chars(text.data(), end, number);
        if (error != std::errc() || at != end || number <= 0)
            return std::nullopt;
        return number;
    }

    void ignore(const std::string& option)
    {
        const auto v = value(option);
        if (!v)
            return;
        if (const auto rule = parseIgnoreRule(*v))
            m_out.options.ignore.add(*rule);
        else
            m_out.error = "option " + option + ": not a command code or CODE:FIELD: " + *v;
    }

    const std::vector<std::string>& m_args;
    std::size_t m_at = 0;
    ParsedRunOptions m_out;
};

} // namespace

ParsedRunOptions parseRunOptions(const std::vector<std::string>& args)
{
    return Parser(args).parse();
}

} // namespace quorvex::script

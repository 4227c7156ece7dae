#pragma once
// Runs the quorvex-emu program as a child process for end-to-end tests and benchmarks: reads
// the device path it prints, and stops it with SIGTERM when done. Its announcements go to a
// private directory so they never reach other programs of the user.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace quorvex::testing {

class PtyEmulatorProcess {
public:
    // announceDir: where the child's XDG_RUNTIME_DIR points (must exist); errorPath, when
    // given, the file its standard error goes to.
    PtyEmulatorProcess(const std::string& program, const std::vector<std::string>& options,
                       const std::string& announceDir, const std::string& errorPath = {})
    {
        int out[2];
        if (::pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, out[1]);
        if (!errorPath.empty())
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);

        std::vector<std::string> args{program};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env{"XDG_RUNTIME_DIR=" + announceDir};
        for (char** e = environ; *e; ++e)
            if (std::string(*e).rfind("XDG_RUNTIME_DIR=", 0) != 0)
                env.emplace_back(*e);
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);

        if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        m_stdout = out[0];
        if (m_pid > 0)
            m_devicePath = readFirstLine(std::chrono::seconds(5));
    }

    ~PtyEmulatorProcess()
    {
        stop();
        if (m_stdout >= 0)
            ::close(m_stdout);
    }

    PtyEmulatorProcess(const PtyEmulatorProcess&) = delete;
    PtyEmulatorProcess& operator=(const PtyEmulatorProcess&) = delete;

    // Empty when the program did not start or printed no path.
    [[nodiscard]] const std::string& devicePath() const { return m_devicePath; }

    // SIGTERM and wait; the exit status, or -1 when there was no child.
    int stop()
    {
        if (m_pid <= 0)
            return -1;
        ::kill(m_pid, SIGTERM);
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    std::string readFirstLine(std::chrono::milliseconds limit)
    {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd pfd{m_stdout, POLLIN, 0};
            if (::poll(&pfd, 1, 100) <= 0)
                continue;
            char c = 0;
            if (::read(m_stdout, &c, 1) != 1)
                break;
            if (c == '\n')
                return line;
            line += c;
        }
        return {};
    }

    pid_t m_pid = -1;
    int m_stdout = -1;
    std::string m_devicePath;
};

} // namespace quorvex::testing

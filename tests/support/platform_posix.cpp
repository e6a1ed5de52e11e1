// The operating-system part of the test support: starting programs with limits, named pipes,
// environment variables.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "scoped_environment.h"
#include "test_support.h"

extern char** environ;

namespace testsupport {

namespace fs = std::filesystem;

void setEnvironment(const char* name, const char* value) {
    if (value != nullptr) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
}

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// The environment of the child: ours, and under a sanitizer a resident-memory limit, since the
// sanitizer's shadow memory rules out an address-space limit.
std::vector<std::string> childEnvironment(const RunLimits& limits) {
    std::vector<std::string> environment;
    std::string asanOptions;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "ASAN_OPTIONS=", 13) == 0) {
            asanOptions = *e + 13;
        } else {
            environment.emplace_back(*e);
        }
    }
    if (kSanitized && limits.memoryBytes > 0) {
        asanOptions += (asanOptions.empty() ? "" : ":") + std::string("hard_rss_limit_mb=") +
                       std::to_string(limits.memoryBytes >> 20);
    }
    if (!asanOptions.empty()) {
        environment.push_back("ASAN_OPTIONS=" + asanOptions);
    }
    return environment;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& t : texts) result.push_back(t.data());
    result.push_back(nullptr);
    return result;
}

}  // namespace

LimitedResult runLimited(const fs::path& program, const std::vector<std::string>& args,
                         const RunLimits& limits) {
    // Output goes to temporary files, so a chatty program never blocks on a full pipe.
    TempDir scratch;
    const fs::path outFile = scratch / "stdout";
    const fs::path errFile = scratch / "stderr";
    std::vector<std::string> argvTexts{program.string()};
    argvTexts.insert(argvTexts.end(), args.begin(), args.end());
    std::vector<char*> argv = pointers(argvTexts);
    std::vector<std::string> environmentTexts = childEnvironment(limits);
    std::vector<char*> environment = pointers(environmentTexts);
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        FILE* out = std::fopen(outFile.c_str(), "wb");
        FILE* err = std::fopen(errFile.c_str(), "wb");
        if (out == nullptr || err == nullptr) _exit(127);
        ::dup2(fileno(out), 1);
        ::dup2(fileno(err), 2);
        if (!kSanitized && limits.memoryBytes > 0) {
            const rlimit memory{limits.memoryBytes, limits.memoryBytes};
            ::setrlimit(RLIMIT_AS, &memory);
        }
        ::execvpe(argv[0], argv.data(), environment.data());
        _exit(127);
    }
    LimitedResult result;
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = ::wait4(pid, &status, WNOHANG, &usage);
        if (done == pid) break;
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (!result.timedOut && limits.seconds > 0 && elapsed > limits.seconds) {
            ::kill(pid, SIGKILL);
            result.timedOut = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.peakMemoryBytes = static_cast<std::size_t>(usage.ru_maxrss) * 1024;
    result.output = readFile(outFile);
    result.errors = readFile(errFile);
    return result;
}

CommandResult run(const fs::path& program, const std::vector<std::string>& args) {
    return runLimited(program, args, RunLimits{});
}

bool makeFifo(const fs::path& file) {
    return ::mkfifo(file.c_str(), 0600) == 0;
}

fs::path endlessDevice() {
    return "/dev/zero";
}

}  // namespace testsupport

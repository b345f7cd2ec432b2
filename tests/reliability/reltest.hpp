// Helpers of the reliability tests, besides the shared database fixture (they run on an
// SQLite file, since several connections and processes must share it, and PostgreSQL
// when KELDATOM_PG_URL is set): how many rounds a loop runs (fewer under
// AddressSanitizer, which is slow), work done in forked child processes that report a
// small result back through a pipe, and one-way signals between processes. Every wait
// is bounded.
#pragma once

#include "db/keldbexc.hpp"
#include "kernel/kelkexc.hpp"

#include "tests/admin/admintest.hpp"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

// The full count normally, a quarter (at least 1) under AddressSanitizer.
constexpr int RelScaled(int full)
{
#if defined(__SANITIZE_ADDRESS__)
    return full / 4 > 0 ? full / 4 : 1;
#else
    return full;
#endif
}

// A one-way signal between processes: Post writes a byte into a pipe, Wait reads one.
class RelSignal {
public:
    RelSignal()
    {
        if (pipe(_fd) != 0) throw std::runtime_error("pipe");
    }
    ~RelSignal()
    {
        close(_fd[0]);
        close(_fd[1]);
    }
    RelSignal(RelSignal const&) = delete;
    RelSignal& operator=(RelSignal const&) = delete;
    void Post()
    {
        char c = 1;
        if (write(_fd[1], &c, 1) != 1) throw std::runtime_error("signal lost");
    }
    // False when nothing came within the limit.
    bool Wait(std::chrono::milliseconds limit)
    {
        pollfd p{_fd[0], POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(limit.count())) != 1) return false;
        char c;
        return read(_fd[0], &c, 1) == 1;
    }

private:
    int _fd[2];
};

// The text of the exception in flight, for a child's report.
inline std::string RelExceptionText()
{
    try {
        throw;
    } catch (KelException const& e) {
        return e.What();
    } catch (std::exception const& e) {
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}

// Work done by a forked child process. The child runs body and writes its Result (a
// trivially copyable struct) or the text of the exception that stopped it into a pipe,
// then ends with _exit, so that nothing of the parent (test framework, open connections,
// static objects) runs or closes twice. The parent collects the report with Join; a
// child that outlives the object is killed by its pid and reaped.
template <class Result>
class RelChild {
    static_assert(std::is_trivially_copyable<Result>::value, "a report crosses a pipe as bytes");

public:
    explicit RelChild(std::function<Result()> const& body)
    {
        if (pipe(_fd) != 0) throw std::runtime_error("pipe");
        std::fflush(nullptr);
        _pid = fork();
        if (_pid < 0) throw std::runtime_error("fork");
        if (_pid == 0) {
            close(_fd[0]);
            Report report{};
            try {
                report.value = body();
                report.ok = true;
            } catch (...) {
                std::snprintf(report.error, sizeof report.error, "%s", RelExceptionText().c_str());
            }
            char const* p = reinterpret_cast<char const*>(&report);
            std::size_t left = sizeof report;
            while (left > 0) {
                ssize_t n = write(_fd[1], p, left);
                if (n <= 0) break;
                p += n;
                left -= static_cast<std::size_t>(n);
            }
            _exit(0);
        }
        close(_fd[1]);
    }
    ~RelChild()
    {
        if (_pid > 0) {
            kill(_pid, SIGKILL);
            waitpid(_pid, nullptr, 0);
        }
        close(_fd[0]);
    }
    RelChild(RelChild const&) = delete;
    RelChild& operator=(RelChild const&) = delete;

    // Waits until the deadline for the child's report; false with error set when the
    // child failed, died or did not finish in time (it is then killed).
    bool Join(std::chrono::steady_clock::time_point deadline, Result& result, std::string& error)
    {
        Report report{};
        char* p = reinterpret_cast<char*>(&report);
        std::size_t got = 0;
        while (got < sizeof report) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd fd{_fd[0], POLLIN, 0};
            if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) != 1) {
                error = "the child did not finish in time";
                return false;
            }
            ssize_t n = read(_fd[0], p + got, sizeof report - got);
            if (n <= 0) {
                error = "the child died without a report";
                return false;
            }
            got += static_cast<std::size_t>(n);
        }
        waitpid(_pid, nullptr, 0);
        _pid = -1;
        if (!report.ok) {
            error = report.error;
            return false;
        }
        result = report.value;
        return true;
    }

private:
    struct Report {
        bool ok;
        char error[1024];
        Result value;
    };
    pid_t _pid;
    int _fd[2];
};

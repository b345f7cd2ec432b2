// Helpers of the reliability tests: PostgreSQL sessions to end, loop counts (fewer under
// AddressSanitizer), forked children that leave a small result in shared memory, and
// one-way signals between processes. Every wait is bounded.
#pragma once

#include "db/keldbexc.hpp"
#include "db/keldrv.hpp"
#include "kernel/kelkexc.hpp"

#include "tests/admin/admintest.hpp"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <type_traits>

// The URL or conninfo with an application name by which a second connection finds it.
inline std::string WithApplicationName(std::string const& url, std::string const& name)
{
    if (url.find("://") == std::string::npos) return url + " application_name=" + name;
    return url + (url.find('?') == std::string::npos ? "?" : "&") + "application_name=" + name;
}

// Ends the PostgreSQL sessions of that application name; returns how many it ended.
inline int RelTerminateSessions(std::string const& url, std::string const& name)
{
    std::unique_ptr<KelDrvConnection> killer = KelDrvOpen(url);
    auto stmt =
        killer->Prepare("SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity WHERE application_name = $1", "");
    stmt->BindText(1, KelString(name));
    int killed = 0;
    while (stmt->Step()) killed += stmt->ColumnInt32(0);
    stmt->Reset();
    return killed;
}

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

// Work done by a forked child process. The child runs body and leaves its Result (a
// trivially copyable struct) or the text of the exception that stopped it in memory shared
// with the parent, then ends with _exit, so that nothing of the parent (test framework,
// open connections, static objects) runs or closes twice. The parent collects the report
// with Join; a child that outlives the object is killed by its pid and reaped.
template <class Result>
class RelChild {
    static_assert(std::is_trivially_copyable<Result>::value, "a report is left in shared memory");

public:
    explicit RelChild(std::function<Result()> const& body)
    {
        void* shared = mmap(nullptr, sizeof(Report), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (shared == MAP_FAILED) throw std::runtime_error("mmap");
        _report = new (shared) Report{};
        std::fflush(nullptr);
        _pid = fork();
        if (_pid < 0) throw std::runtime_error("fork");
        if (_pid == 0) {
            try {
                _report->value = body();
                _report->ok = true;
            } catch (KelException const& e) {
                std::snprintf(_report->error, sizeof _report->error, "%s", e.What().c_str());
            } catch (std::exception const& e) {
                std::snprintf(_report->error, sizeof _report->error, "%s", e.what());
            }
            _exit(0);
        }
    }
    ~RelChild()
    {
        if (_pid > 0) {
            kill(_pid, SIGKILL);
            waitpid(_pid, nullptr, 0);
        }
        munmap(_report, sizeof(Report));
    }
    RelChild(RelChild const&) = delete;
    RelChild& operator=(RelChild const&) = delete;

    // Waits until the deadline for the child to end; false with error set when the child
    // failed, died or did not finish in time (it is then killed).
    bool Join(std::chrono::steady_clock::time_point deadline, Result& result, std::string& error)
    {
        while (waitpid(_pid, nullptr, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                error = "the child did not finish in time";
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        _pid = -1;
        if (!_report->ok) {
            error = _report->error[0] ? _report->error : "the child died without a report";
            return false;
        }
        result = _report->value;
        return true;
    }

private:
    struct Report {
        bool ok;
        char error[1024];
        Result value;
    };
    Report* _report;
    pid_t _pid;
};

// Joins the child into result; a failure is reported with the child's error.
template <class Result>
bool RelJoin(RelChild<Result>& child, std::chrono::steady_clock::time_point deadline, Result& result)
{
    std::string error;
    if (child.Join(deadline, result, error)) return true;
    ADD_FAILURE() << error;
    return false;
}

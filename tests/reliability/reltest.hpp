// Reliability helpers: sessions to end, scaled loop counts, forked children; every wait is bounded.
#pragma once

#include "db/keldbexc.hpp"
#include "db/keldrv.hpp"
#include "kernel/kelkexc.hpp"

#include "tests/admin/admintest.hpp"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <new>
#include <stdexcept>
#include <thread>

// A fresh PostgreSQL schema's URL, named for RelTerminateSessions; empty without a server.
inline std::string RelFreshPostgres(std::string const& name)
{
    std::string const url = ResolveUrl("postgresql");
    if (url.empty()) return url;
    KelDatabase::Open(url)->DropSchema();
    KelDatabase::Open(url)->CreateSchema();
    if (url.find("://") == std::string::npos) return url + " application_name=" + name;
    return url + (url.find('?') == std::string::npos ? "?" : "&") + "application_name=" + name;
}

// Ends the PostgreSQL sessions of that application name; returns how many it ended.
inline int RelTerminateSessions(std::string const& name)
{
    std::unique_ptr<KelDrvConnection> killer = KelDrvOpen(ResolveUrl("postgresql"));
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

// A forked child leaves body's (trivially copyable) Result or error in shared memory, _exits; killed if it outlives us.
template <class Result>
class RelChild {
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

    // Waits until the deadline for the child; a failure, death or timeout is a test failure.
    bool Join(std::chrono::steady_clock::time_point deadline, Result& result)
    {
        while (waitpid(_pid, nullptr, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "the child did not finish in time";
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        _pid = -1;
        if (!_report->ok) ADD_FAILURE() << (_report->error[0] ? _report->error : "the child died without a report");
        result = _report->value;
        return _report->ok;
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

// KelDBException: the one exception of the database layer. A driver maps its own error
// codes to a category in one function; the accessor that ran the statement adds the
// key of the row it was reading or writing before the exception is raised (traced at
// level 1, category 0x2, component 0x4, then thrown by value). Deadlocks, lock timeouts
// and busy databases are retryable: the caller may roll back and run the transaction
// again. Copies are independent values.
#pragma once

#include "kernel/kelkexc.hpp"
#include "kernel/kelkstr.hpp"

#include <cstdint>
#include <iosfwd>
#include <string>

struct KelDBErrorCategory {
    enum Type : std::int32_t {
        ConnectionLost = 1,
        ConstraintViolation = 2,
        DeadlockOrLockTimeout = 3,
        Busy = 4,
        ReadOnly = 5,
        Other = 6,
        // The connection was lost while COMMIT was in flight: the transaction may or may
        // not have been committed, and only a look at the data can tell.
        OutcomeUnknown = 7,
        // A stored row that breaks its table's rules (an OID of the wrong length, a time
        // that is not a time, a text over its limit), written by some other program.
        BadRow = 8,
    };
    // "connection lost", "constraint violation", "deadlock or lock timeout", "busy",
    // "read-only", "other", "outcome unknown", "bad row".
    static char const* Name(Type category);
};

// Trace level and component of a raised database exception.
constexpr long KEL_DB_TRACE_LEVEL = KelTraceLevel::Database;
constexpr unsigned long KEL_DB_TRACE_COMPONENT = KelTraceComponent::Database;

class KelDBException : public KelException {
public:
    KelDBException(KelOrigin const& origin, KelDBErrorCategory::Type category, std::int64_t nativeCode,
                   std::string sqlState, std::string message, std::string statement = std::string(),
                   std::string table = std::string());

    KelDBErrorCategory::Type Category() const { return _category; }
    // True for deadlocks, lock timeouts and a busy database.
    bool IsRetryable() const;
    std::int64_t NativeCode() const { return _nativeCode; }
    // Empty when the database gives none.
    std::string const& SqlState() const { return _sqlState; }
    std::string const& Message() const { return _message; }
    std::string const& Statement() const { return _statement; }
    std::string const& Table() const { return _table; }
    std::string const& Key() const { return _key; }

    void SetTable(std::string table) { _table = std::move(table); }
    void SetKey(std::string key) { _key = std::move(key); }

protected:
    // "KelDBException, Category=<name>, Retryable=<yes|no>, NativeCode=<n>, SQLState=<s>,
    // Message=<m>, Statement=<sql>, Table=<t>, Key=<k>".
    void PrintOn(std::ostream& os) const override;

private:
    KelDBErrorCategory::Type _category;
    std::int64_t _nativeCode;
    std::string _sqlState;
    std::string _message;
    std::string _statement;
    std::string _table;
    std::string _key;
};

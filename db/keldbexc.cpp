#include "db/keldbexc.hpp"

#include <ostream>

char const* KelDBErrorCategory::Name(Type category)
{
    switch (category) {
    case ConnectionLost: return "connection lost";
    case ConstraintViolation: return "constraint violation";
    case DeadlockOrLockTimeout: return "deadlock or lock timeout";
    case Busy: return "busy";
    case ReadOnly: return "read-only";
    case OutcomeUnknown: return "outcome unknown";
    case BadRow: return "bad row";
    case Other: break;
    }
    return "other";
}

KelDBException::KelDBException(KelOrigin const& origin, KelDBErrorCategory::Type category, std::int64_t nativeCode,
                               std::string sqlState, std::string message, std::string statement, std::string table)
    : KelException(origin),
      _category(category),
      _nativeCode(nativeCode),
      _sqlState(std::move(sqlState)),
      _message(std::move(message)),
      _statement(std::move(statement)),
      _table(std::move(table))
{
}

bool KelDBException::IsRetryable() const
{
    return _category == KelDBErrorCategory::DeadlockOrLockTimeout || _category == KelDBErrorCategory::Busy;
}

void KelDBException::PrintOn(std::ostream& os) const
{
    os << "KelDBException, Category=" << KelDBErrorCategory::Name(_category)
       << ", Retryable=" << (IsRetryable() ? "yes" : "no") << ", NativeCode=" << _nativeCode
       << ", SQLState=" << _sqlState << ", Message=" << _message << ", Statement=" << _statement << ", Table=" << _table
       << ", Key=" << _key;
}

#include "db/keldb.hpp"

#include "db/keldacc.hpp"
#include "db/keldbexc.hpp"
#include "db/keldrv.hpp"

namespace {
// Raises a database exception that left one of the database's own operations.
template <class Body>
auto Raised(Body&& body) -> decltype(body())
{
    try {
        return body();
    } catch (KelDBException& e) {
        KelRaise(e, KEL_DB_TRACE_LEVEL, KEL_DB_TRACE_COMPONENT);
    }
}
}  // namespace

std::unique_ptr<KelDatabase> KelDatabase::Open(std::string const& url)
{
    std::unique_ptr<KelDrvConnection> conn = Raised([&] { return KelDrvOpen(url); });
    KelSetRtDbType(conn->Type());
    return std::unique_ptr<KelDatabase>(new KelDatabase(std::move(conn)));
}

KelDatabase::KelDatabase(std::unique_ptr<KelDrvConnection> conn)
    : _conn(std::move(conn)),
      _svrInstanceState(std::make_unique<SvrInstanceState>(*_conn)),
      _systemState(std::make_unique<SystemState>(*_conn)),
      _systemLog(std::make_unique<SystemLog>(*_conn)),
      _errorLog(std::make_unique<ErrorLog>(*_conn)),
      _person(std::make_unique<Person>(*_conn)),
      _role(std::make_unique<Role>(*_conn)),
      _system(std::make_unique<System>(*_conn)),
      _server(std::make_unique<Server>(*_conn)),
      _domain(std::make_unique<Domain>(*_conn)),
      _accessors{_svrInstanceState.get(), _systemState.get(), _systemLog.get(),
                 _errorLog.get(),         _person.get(),      _role.get(),
                 _system.get(),           _server.get(),      _domain.get()}
{
}

// Accessors (and their statements) go before the connection they use.
KelDatabase::~KelDatabase() = default;

KelDBType::Type KelDatabase::Type() const { return _conn->Type(); }

void KelDatabase::Begin()
{
    Raised([&] { _conn->Begin(); });
    _beginStamp = _conn->writes;
}

void KelDatabase::BeginReadOnly()
{
    Raised([&] { _conn->BeginReadOnly(); });
    _beginStamp = _conn->writes;
}

void KelDatabase::Commit()
{
    Raised([&] {
        try {
            _conn->Commit();
        } catch (KelDBException& e) {
            if (e.Category() == KelDBErrorCategory::OutcomeUnknown) NameLastWrite(e);
            throw;
        }
    });
}

void KelDatabase::NameLastWrite(KelDBException& e) const
{
    KelDBAccessor const* last = nullptr;
    for (KelDBAccessor const* accessor : _accessors)
        if (accessor->LastWriteStamp() > _beginStamp && (!last || accessor->LastWriteStamp() > last->LastWriteStamp()))
            last = accessor;
    if (!last) return;
    e.SetTable(last->TableName());
    e.SetKey(last->LastWrittenKey());
}

void KelDatabase::Rollback()
{
    Raised([&] { _conn->Rollback(); });
}

bool KelDatabase::InTransaction() const { return _conn->InTransaction(); }

bool KelDatabase::CanReconnect() const { return _conn->CanReconnect(); }

void KelDatabase::Reconnect()
{
    Raised([&] { _conn->Reconnect(); });
}

void KelDatabase::CreateSchema()
{
    Raised([&] {
        bool const own = !_conn->InTransaction();
        std::unique_ptr<KelDrvTransaction> txn;
        if (own) txn = std::make_unique<KelDrvTransaction>(*_conn);
        _conn->LockSchema();
        for (KelDBAccessor* accessor : _accessors)
            for (std::string const& sql : accessor->SchemaSql()) _conn->Execute(sql);
        if (txn) txn->Commit();
    });
}

void KelDatabase::DropSchema()
{
    Raised([&] {
        for (KelDBAccessor* accessor : _accessors) accessor->Discard();
        bool const own = !_conn->InTransaction();
        std::unique_ptr<KelDrvTransaction> txn;
        if (own) txn = std::make_unique<KelDrvTransaction>(*_conn);
        for (KelDBAccessor* accessor : _accessors)
            _conn->Execute(std::string("DROP TABLE IF EXISTS ") + accessor->TableName());
        if (txn) txn->Commit();
    });
}

void KelDatabase::SetLockTimeout(std::chrono::milliseconds timeout)
{
    Raised([&] { _conn->SetLockTimeout(timeout); });
}

std::map<std::string, KelDBCallCounts> KelDatabase::Statistics() const
{
    std::map<std::string, KelDBCallCounts> counts;
    for (KelDBAccessor const* accessor : _accessors) counts[accessor->TableName()] = accessor->Stats();
    return counts;
}

void KelDatabase::ResetStatistics()
{
    for (KelDBAccessor* accessor : _accessors) accessor->ResetStats();
}

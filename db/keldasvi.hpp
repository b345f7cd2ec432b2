// KelDatabase::SvrInstanceState: the accessor of the server instance state table, one
// row per server instance keyed by its OID. Its cursors read the instances of one
// system, by the system's name (through the system table) or by the system's OID, the
// latter also for update.
#pragma once

#include "db/keldb.hpp"
#include "db/keldtab.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"

struct KEL_SVR_INSTANCE_STATE;

class KelDatabase::SvrInstanceState : public KelDBTable<KEL_SVR_INSTANCE_STATE, KelOID> {
public:
    explicit SvrInstanceState(KelDrvConnection& conn);

    bool selSystemNameOpenFetch(KelString const& systemName, KEL_SVR_INSTANCE_STATE& row) const;
    bool selSystemNameFetch(KEL_SVR_INSTANCE_STATE& row) const;
    void selSystemNameClose() const;

    // `systemOid` holds the 16 bytes of the system's OID.
    bool selSystemOIDOpenFetch(KelBinary const& systemOid, KEL_SVR_INSTANCE_STATE& row) const;
    bool selSystemOIDFetch(KEL_SVR_INSTANCE_STATE& row) const;
    void selSystemOIDClose() const;

    bool selupdSystemOIDOpenFetch(KelBinary const& systemOid, KEL_SVR_INSTANCE_STATE& row);
    bool selupdSystemOIDFetch(KEL_SVR_INSTANCE_STATE& row);
    void selupdSystemOIDClose();

private:
    std::size_t _selSystemName, _selSystemOid, _selupdSystemOid;
};

extern template class KelDBTable<KEL_SVR_INSTANCE_STATE, KelOID>;

template <>
struct KelTypeName<KelDatabase::SvrInstanceState> {
    static constexpr char const* value = "KelDatabase::SvrInstanceState";
};

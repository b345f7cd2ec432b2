// KelTOMForSystemLogRecords: the object manager of system log records. Caches
// KelSystemLogRecord objects over the system log table for one transaction. Its
// conversions join the record's parameters into the row's one parameter text (";"
// between parameters, no escaping) and split it back, and write the user ID's name only
// (the system group is read back from the row's system group column).
#pragma once

#include "db/keldaslg.hpp"
#include "db/keldsdf.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "objects/kelmtadm.hpp"
#include "tom/keldtprm.hpp"
#include "tom/keldtqry.hpp"

#include <vector>

// The manager's parameters: a new record needs its OID (the key) alone.
struct KelTOMForSystemLogRecordParms : KelTomKeyParms<KelOID> {};

template <>
struct KelTypeName<KelTOMForSystemLogRecordParms> {
    static constexpr char const* value = "KelTOMForSystemLogRecordParms";
};

class KelTOMForSystemLogRecords
    : public KelTomForServerClassQry<KelSystemLogRecord, KEL_SYSTEM_LOG, KelDatabase::SystemLog,
                                     KelTOMForSystemLogRecordParms> {
public:
    using KelTomForServerClassQry::KelTomForServerClassQry;

    // A record of the OID alone, every other member null.
    KelSystemLogRecord* CreateNewServerObject(CreateInpParm const& parm) override;
    KelSystemLogRecord* CreateMaterializedServerObject(MaterializeInpParm const& parm,
                                                       KEL_SYSTEM_LOG const& row) override;
    KEL_SYSTEM_LOG* CreateTupleObject(KelSystemLogRecord const& record) override;

    // Appends the system log records of the named system, for reading.
    void MaterializeSystemLogRecordsForRead(KelString const& systemName,
                                            std::vector<KelSystemLogRecord const*>& result);
};

// KelTOMForErrorLogRecords: the object manager of error log records. Caches
// KelErrorLogRecord objects over the error log table for one transaction; adds the three
// conversions and the reads of the records of one system or of one system log record.
#pragma once

#include "db/keldaerl.hpp"
#include "db/keldsdf.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkoid.hpp"
#include "objects/kelmtadm.hpp"
#include "tom/keldtprm.hpp"
#include "tom/keldtqry.hpp"

#include <vector>

// The manager's parameters: a new record needs its OID (the key) alone.
struct KelTOMForErrorLogRecordParms : KelTomKeyParms<KelOID> {};

template <>
struct KelTypeName<KelTOMForErrorLogRecordParms> {
    static constexpr char const* value = "KelTOMForErrorLogRecordParms";
};

class KelTOMForErrorLogRecords : public KelTomForServerClassQry<KelErrorLogRecord, KEL_ERROR_LOG, KelDatabase::ErrorLog,
                                                                KelTOMForErrorLogRecordParms> {
public:
    using KelTomForServerClassQry::KelTomForServerClassQry;

    // A record of the OID alone, every other member null.
    KelErrorLogRecord* CreateNewServerObject(CreateInpParm const& parm) override;
    KelErrorLogRecord* CreateMaterializedServerObject(MaterializeInpParm const& parm,
                                                      KEL_ERROR_LOG const& row) override;
    KEL_ERROR_LOG* CreateTupleObject(KelErrorLogRecord const& record) override;

    // Appends the error log records of the system, or of the system log record, for reading.
    void MaterializeErrorLogRecordsForRead(KelString const& systemName, std::vector<KelErrorLogRecord const*>& result);
    void MaterializeErrorLogRecordsForRead(KelOID const& systemLogOid, std::vector<KelErrorLogRecord const*>& result);

private:
    template <class OpenFetch, class Fetch, class Close>
    void ReadRecords(std::vector<KelErrorLogRecord const*>& result, OpenFetch open, Fetch fetch, Close close);
};

#include "db/keldaper.hpp"

#include "db/keldsper.hpp"
#include "db/keldtabi.hpp"

template class KelDBTable<KEL_PERSON, KelString>;
template class KelDBNamedTable<KEL_PERSON, KelString>;

KelDatabase::Person::Person(KelDrvConnection& conn) : KelDBNamedTable(conn, KEL_PERSON::Definition())
{
    _selByOid = AddStatement("SELECT {cols} FROM {table} t WHERE t.oid = $1");
}

bool KelDatabase::Person::seluidOID(KelBinary const& oid, KEL_PERSON& row) const
{
    ++_counts.other;
    return SelectOne(_selByOid, oid, row);
}

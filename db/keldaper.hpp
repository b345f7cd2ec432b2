// KelDatabase::Person: the accessor of the person table, one row per user keyed by the
// user name, with the person's OID unique as well. Besides the operations of the named
// tables it finds a person by OID, which is how a lock holder is looked up.
#pragma once

#include "db/keldb.hpp"
#include "db/keldtab.hpp"
#include "kernel/kelkfun.hpp"
#include "kernel/kelkstr.hpp"

struct KEL_PERSON;

class KelDatabase::Person : public KelDBNamedTable<KEL_PERSON, KelString> {
public:
    explicit Person(KelDrvConnection& conn);

    // The person whose OID holds the 16 bytes of `oid`; false when there is none.
    bool seluidOID(KelBinary const& oid, KEL_PERSON& row) const;

private:
    std::size_t _selByOid;
};

extern template class KelDBTable<KEL_PERSON, KelString>;
extern template class KelDBNamedTable<KEL_PERSON, KelString>;

template <>
struct KelTypeName<KelDatabase::Person> {
    static constexpr char const* value = "KelDatabase::Person";
};

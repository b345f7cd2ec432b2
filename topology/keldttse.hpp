// The two search objects of the object manager: each holds only the transaction's
// database and finds, through the tables' lock-holder cursors, the objects a user holds
// locked: persons and roles (KelTOMForSearch), systems and servers
// (KelTOMForTopologySearch). Results are appended; the caches are not touched.
#pragma once

#include "kernel/kelienti.hpp"
#include "kernel/kelmusid.hpp"

#include <vector>

class KelDatabase;

class KelTOMForSearch {
public:
    explicit KelTOMForSearch(KelDatabase& database) : _database(database) {}
    virtual ~KelTOMForSearch();
    // Appends one entity per person and per role that lockHolder holds locked.
    void LockedBy(KelUserID const& lockHolder, std::vector<KelEntity>& entities) const;

private:
    KelDatabase& _database;
};

class KelTOMForTopologySearch {
public:
    explicit KelTOMForTopologySearch(KelDatabase& database) : _database(database) {}
    virtual ~KelTOMForTopologySearch();
    // Appends one entity per system and per server that lockHolder holds locked.
    void LockedBy(KelUserID const& lockHolder, std::vector<KelEntity>& entities) const;

private:
    KelDatabase& _database;
};

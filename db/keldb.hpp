// KelDatabase: one connection to the database of one administration server and one
// accessor object per table. The embedding server owns the transaction (Begin, Commit,
// Rollback); the object caches reach the tables only through the accessors.
#pragma once

class KelDatabase {
public:
    class SvrInstanceState;
    class SystemState;
    class SystemLog;
    class ErrorLog;
    class Person;
    class Role;
    class System;
    class Server;
    class Domain;
};

// KelEntity: one object of a given type that a search found (its name, system ID or
// server ID), with further members that this library only carries. KelPeaID is one of
// them. Assignment keeps the target's third text, system, server and PEA IDs where the
// source's are null.
#pragma once

#include "kernel/kelkstr.hpp"
#include "kernel/kelktim.hpp"
#include "kernel/kelmsvid.hpp"
#include "kernel/kelmsyst.hpp"

#include <cstdint>
#include <iosfwd>

struct KelEntityType {
    enum Type : std::int32_t {
        Unknown = 0,
        Person = 1,
        Role = 2,
        Organization = 3,
        Level = 4,
        Domain = 10,
        SystemGroup = 11,
        System = 12,
        Server = 13,
    };
};

class KelPeaID {
public:
    KelPeaID() : _number(0) {}
    KelPeaID(std::int32_t number, KelString const& first, KelString const& second, KelString const& third)
        : _number(number), _first(first), _second(second), _third(third)
    {
    }
    KelPeaID(KelPeaID const&) = default;
    KelPeaID& operator=(KelPeaID const& other);
    bool IsNull() const { return _number == 0 || _first.IsNull() || _third.IsNull(); }
    std::int32_t Number() const { return _number; }

private:
    std::int32_t _number;
    KelString _first;
    KelString _second;
    KelString _third;
};

class KelEntity {
public:
    // REQUIRES (kelkAssert): the given name or ID is not null.
    KelEntity(KelString const& name, KelEntityType::Type type);
    KelEntity(KelSystemID const& systemID, KelEntityType::Type type);
    KelEntity(KelServerID const& serverID, KelEntityType::Type type);
    KelEntity(KelEntity const&) = default;
    KelEntity& operator=(KelEntity const& other);

    KelString const& Name() const { return _name; }
    KelString const& SecondText() const { return _secondText; }
    KelEntityType::Type Type() const { return _type; }
    KelTimeStamp const& TimeStamp() const { return _timeStamp; }
    KelString const& ThirdText() const { return _thirdText; }
    KelSystemID const& SystemID() const { return _systemID; }
    KelServerID const& ServerID() const { return _serverID; }
    KelPeaID const& PeaID() const { return _peaID; }

private:
    KelString _name;
    KelString _secondText;
    KelEntityType::Type _type;
    KelTimeStamp _timeStamp;
    KelString _thirdText;
    KelSystemID _systemID;
    KelServerID _serverID;
    KelPeaID _peaID;
};

std::ostream& operator<<(std::ostream& os, KelEntity const& e);

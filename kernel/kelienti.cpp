#include "kernel/kelienti.hpp"

#include "kernel/kelkcon.hpp"

#include <ostream>

KelPeaID& KelPeaID::operator=(KelPeaID const& other)
{
    if (this != &other) {
        _number = other._number;
        _first = other._first;
        _second = other._second;
        _third = other._third;
    }
    return *this;
}

KelEntity::KelEntity(KelString const& name, KelEntityType::Type type)
    : _name(name), _secondText(""), _type(type), _thirdText("")
{
    kelkAssert(!name.IsNull());
}

KelEntity::KelEntity(KelSystemID const& systemID, KelEntityType::Type type)
    : _name(""), _secondText(""), _type(type), _thirdText(""), _systemID(systemID)
{
    kelkAssert(!systemID.IsNull());
}

KelEntity::KelEntity(KelServerID const& serverID, KelEntityType::Type type)
    : _name(""), _secondText(""), _type(type), _thirdText(""), _serverID(serverID)
{
    kelkAssert(!serverID.IsNull());
}

KelEntity& KelEntity::operator=(KelEntity const& other)
{
    if (this == &other) return *this;
    _name = other._name;
    _secondText = other._secondText;
    _type = other._type;
    _timeStamp = other._timeStamp;
    if (!other._thirdText.IsNull()) _thirdText = other._thirdText;
    if (!other._systemID.IsNull()) _systemID = other._systemID;
    if (!other._serverID.IsNull()) _serverID = other._serverID;
    if (!other._peaID.IsNull()) _peaID = other._peaID;
    return *this;
}

std::ostream& operator<<(std::ostream& os, KelEntity const& e)
{
    os << "type: " << e.Type();
    if (!e.SystemID().IsNull()) return os << ", system " << e.SystemID();
    if (!e.ServerID().IsNull()) return os << ", server " << e.ServerID();
    return os << ", name: " << e.Name();
}

#include "kernel/kelkexc.hpp"

#include <ostream>

std::ostream& operator<<(std::ostream& os, KelOrigin const& origin)
{
    return os << "File=" << origin.File() << ", Line=" << origin.Line() << ", Function=" << origin.Function();
}

KelException::~KelException() = default;

std::string KelException::What() const
{
    std::ostringstream os;
    os << *this;
    return os.str();
}

std::ostream& operator<<(std::ostream& os, KelException const& e)
{
    e.PrintOn(os);
    return os << ", Origin=" << e.GetOrigin();
}

void KelIntExcInvalidCase::PrintOn(std::ostream& os) const
{
    os << "KelIntExcInvalidCase"
       << ", Value=" << _value;
}

void KelTOMNotFoundException::PrintOn(std::ostream& os) const
{
    os << "KelTOMNotFoundException"
       << ", KeyValues=" << _keyValues;
}

void KelTOMNotUniqueException::PrintOn(std::ostream& os) const
{
    os << "KelTOMNotUniqueException"
       << ", KeyValues=" << _keyValues;
}

void KelTOMLockholderNotFoundException::PrintOn(std::ostream& os) const { os << _text << std::endl; }

void KelTOMNotLockedException::PrintOn(std::ostream& os) const { os << _text << std::endl; }

void KelTOMNotLockedByThisException::PrintOn(std::ostream& os) const { os << _text << std::endl; }

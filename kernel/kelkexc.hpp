// The library's exceptions. Each carries the origin where it was raised (file, line,
// full function name) and prints itself in a fixed form:
//   "<PrintOn text>, Origin=File=<file>, Line=<line>, Function=<function>".
// Every raise goes through KelRaise, which traces "THROW_INT, " and the printed
// exception behind its switch and then throws a copy by value. None is recoverable.
#pragma once

#include "kernel/kelknam.hpp"
#include "kernel/kelkstr.hpp"
#include "kernel/kelktrc.hpp"
#include "kernel/kelmusid.hpp"

#include <cstdint>
#include <iosfwd>
#include <sstream>

class KelOrigin {
public:
    KelOrigin(KelString const& file, std::uint32_t line, KelString const& function)
        : _file(file), _line(line), _function(function)
    {
    }
    KelString const& File() const { return _file; }
    std::uint32_t Line() const { return _line; }
    KelString const& Function() const { return _function; }

private:
    KelString _file;
    std::uint32_t _line;
    KelString _function;
};

// "File=" file ", Line=" line ", Function=" function; a null string prints "<null>".
std::ostream& operator<<(std::ostream& os, KelOrigin const& origin);

class KelException {
public:
    explicit KelException(KelOrigin const& origin) : _origin(origin) {}
    KelException(KelException const&) = default;
    virtual ~KelException();
    KelOrigin const& GetOrigin() const { return _origin; }
    // The printed form, as operator<< writes it.
    std::string What() const;

protected:
    virtual void PrintOn(std::ostream& os) const = 0;
    friend std::ostream& operator<<(std::ostream& os, KelException const& e);

private:
    KelOrigin _origin;
};

// PrintOn, then ", Origin=" and the origin.
std::ostream& operator<<(std::ostream& os, KelException const& e);

class KelIntException : public KelException {
public:
    using KelException::KelException;
    virtual bool IsRecoverable() const { return false; }
};

class KelIntExcInvalidCase : public KelIntException {
public:
    KelIntExcInvalidCase(KelOrigin const& origin, std::int32_t value) : KelIntException(origin), _value(value) {}
    std::int32_t Value() const { return _value; }

protected:
    void PrintOn(std::ostream& os) const override;

private:
    std::int32_t _value;
};

class KelTOMNotFoundException : public KelIntException {
public:
    KelTOMNotFoundException(KelOrigin const& origin, KelString const& keyValues)
        : KelIntException(origin), _keyValues(keyValues)
    {
    }
    KelString const& KeyValues() const { return _keyValues; }

protected:
    void PrintOn(std::ostream& os) const override;

private:
    KelString _keyValues;
};

class KelTOMNotUniqueException : public KelIntException {
public:
    KelTOMNotUniqueException(KelOrigin const& origin, KelString const& keyValues)
        : KelIntException(origin), _keyValues(keyValues)
    {
    }
    KelString const& KeyValues() const { return _keyValues; }

protected:
    void PrintOn(std::ostream& os) const override;

private:
    KelString _keyValues;
};

class KelTOMLockholderNotFoundException : public KelIntException {
public:
    KelTOMLockholderNotFoundException(KelOrigin const& origin, KelString const& text)
        : KelIntException(origin), _text(text)
    {
    }
    KelString const& Text() const { return _text; }

protected:
    void PrintOn(std::ostream& os) const override;

private:
    KelString _text;
};

class KelTOMNotLockedException : public KelIntException {
public:
    KelTOMNotLockedException(KelOrigin const& origin, KelString const& text) : KelIntException(origin), _text(text) {}
    KelString const& Text() const { return _text; }

protected:
    void PrintOn(std::ostream& os) const override;

private:
    KelString _text;
};

class KelTOMNotLockedByThisException : public KelIntException {
public:
    KelTOMNotLockedByThisException(KelOrigin const& origin, KelString const& text, KelUserID const& lockHolder)
        : KelIntException(origin), _lockHolder(lockHolder), _text(text)
    {
    }
    KelUserID const& LockHolder() const { return _lockHolder; }
    KelString const& Text() const { return _text; }

protected:
    void PrintOn(std::ostream& os) const override;

private:
    KelUserID _lockHolder;
    KelString _text;
};

// Traces the raise ("THROW_INT, " and the printed exception, category 0x2, at the given
// level and component) and throws a copy of the exception; a trace that fails is lost, the
// exception is thrown all the same.
template <class E>
[[noreturn]] void KelRaise(E const& e, long level, unsigned long component)
{
    if (KelTrace::IsOn(level, KelTraceCategory::Raise, component)) {
        try {
            std::ostringstream text;
            text << "THROW_INT, " << e << '\0';
            KelOrigin const& o = e.GetOrigin();
            KelTrace::Trace(o.File().IsNull() ? "<null>" : o.File().C_str(), static_cast<int>(o.Line()),
                            o.Function().IsNull() ? "<null>" : o.Function().C_str(), level, KelTraceCategory::Raise,
                            component, text);
        } catch (...) {
            // No memory for the record.
        }
    }
    throw e;
}

// The key-values text or message of an exception, composed in a string stream.
template <class... Parts>
KelString KelComposeText(Parts const&... parts)
{
    std::ostringstream text;
    (text << ... << parts);
    return KelString::FromBuffer(text);
}

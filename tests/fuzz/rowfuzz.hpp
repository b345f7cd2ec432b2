// Bytes become rows (or token lists) sent to an object and back: refused by a check or unchanged. Reads fix the corpus.
#pragma once

#include "admin/keldatom.hpp"
#include "db/keldb.hpp"
#include "kernel/kelkcon.hpp"
#include "kernel/kelkexc.hpp"
#include "kernel/kelktrc.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

// Reads the input front to back; past its end every read gives zeros.
class KelFuzzBytes {
public:
    KelFuzzBytes(std::uint8_t const* data, std::size_t size) : _data(data), _size(size), _pos(0) {}

    std::uint8_t Byte() { return _pos < _size ? _data[_pos++] : 0; }
    // Little-endian, read in sequence so every compiler reads an input alike.
    std::uint32_t Bytes(int n)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v |= std::uint32_t(Byte()) << (8 * i);
        return v;
    }
    std::int16_t Int16() { return static_cast<std::int16_t>(Bytes(2)); }
    std::int32_t Int32() { return static_cast<std::int32_t>(Bytes(4)); }
    std::size_t Length()  // 0 to 65535, high byte first
    {
        std::size_t n = Byte();
        return n << 8 | Byte();
    }
    std::int16_t Indicator()
    {
        std::uint8_t const mode = Byte() % 4;
        return mode == 0 ? std::int16_t(-1) : mode == 3 ? Int16() : std::int16_t(0);
    }
    std::string Raw(std::size_t n)
    {
        std::string s(n, '\0');
        for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(_pos < _size ? _data[_pos++] : i * 31 + 7);
        return s;
    }
    KelBinary Oid()
    {
        std::uint8_t const mode = Byte() % 8;
        if (mode == 0) return KelBinary();
        std::string const bytes = Raw(mode == 7 ? Byte() % 40 : 16);
        return KelBinary(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    }
    // Null, a timestamp, any text up to 2100 bytes, or (mostly) one that fits `limit`.
    KelString Text(std::size_t limit)
    {
        std::uint8_t const mode = Byte() % 8;
        if (mode == 0) return KelString();
        if (mode == 1) return KelString(Timestamp());
        if (mode == 7) return KelString(Raw(Length() % 2100));
        return KelString(Raw(Length() % (limit + 1)));
    }
    KelString Time()
    {
        std::uint8_t const mode = Byte() % 8;
        if (mode == 0) return KelString();
        if (mode == 7) return KelString(Raw(Byte() % 40));
        return KelString(Timestamp());
    }

private:
    std::string Timestamp()
    {
        int const year = Byte() % 100 * 100 + Byte() % 100;
        int const month = 1 + Byte() % 12, day = 1 + Byte() % 31, hour = Byte() % 25, minute = Byte() % 60;
        int const second = Byte() % 60, micros = static_cast<int>(Length() * 15 % 1000000);
        char text[40];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d-%02d.%02d.%02d.%06d", year, month, day, hour, minute, second,
                      micros);
        std::string s(text, 26);
        std::uint8_t const damage = Byte();
        if (damage % 8 == 0) s[damage % s.size()] = static_cast<char>(Byte());
        return s;
    }

    std::uint8_t const* _data;
    std::size_t _size;
    std::size_t _pos;
};

class KelFuzzRowTarget {
public:
    KelFuzzRowTarget() : _db(KelDatabase::Open("sqlite::memory:")), _tom(*_db) {}

    // Runs one input; returns the first round-trip difference, or an empty text.
    std::string Run(std::uint8_t const* data, std::size_t size)
    {
        KelFuzzBytes in(data, size);
        std::uint8_t const choice = in.Byte();
        std::unique_ptr<KelTraceCapture> trace;
        if (choice & 0x80) trace = std::make_unique<KelTraceCapture>(9);
        KelContractRecorder recorder;
        _difference.clear();
        try {
            switch (choice % 5) {
            case 0: Instance(in, recorder); break;
            case 1: State(in, recorder); break;
            case 2: SystemLog(in, recorder); break;
            case 3: ErrorLog(in, recorder); break;
            default: Tokens(in); break;
            }
        } catch (KelContractViolation const&) {  // a check that cannot go on
        } catch (KelException const&) {          // the library's own answers
        }
        return _difference;
    }

    std::size_t RoundTrips(int kind) const { return _roundTrips[kind]; }

private:
    template <class A, class B>
    void Same(char const* what, A const& a, B const& b)
    {
        if (_difference.empty() && !(a == b)) _difference = std::string(what) + " changed in the round trip";
    }

    static std::vector<std::int16_t*> Indicators(KEL_SVR_INSTANCE_STATE& r)
    {
        return {&r._iLastStateChange, &r._iRequestType};
    }
    static std::vector<std::int16_t*> Indicators(KEL_SYSTEM_STATE& r) { return {&r._iAdminSvrStart}; }
    static std::vector<std::int16_t*> Indicators(KEL_SYSTEM_LOG& r)
    {
        return {&r._iMessageType,     &r._iSvrKind, &r._iSvrState,         &r._iException,
                &r._iEventIdentifier, &r._iUserId,  &r._iMessageParameters};
    }
    static std::vector<std::int16_t*> Indicators(KEL_ERROR_LOG& r)
    {
        return {&r._iServicePack, &r._iExceptionType, &r._iMessageType, &r._iErrorFile, &r._iErrorLine};
    }
    // The printed columns (a null one as its bare name), without the row's address.
    template <class Row>
    static std::vector<std::string> Columns(Row const& row)
    {
        std::ostringstream os;
        row.PrintMembers(os);
        std::vector<std::string> lines;
        std::istringstream in(os.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return std::vector<std::string>(lines.begin() + 2, lines.end());
    }

    // Row to object and back: a valid row comes back as it went, a negative indicator as -1, any other as 0.
    template <class Row, class Manager>
    void RoundTrip(Manager& manager, Row row, KelContractRecorder& recorder, int kind)
    {
        auto* const made = manager.CreateMaterializedServerObject({}, row);
        std::unique_ptr<std::remove_pointer_t<decltype(made)>> object(made);
        bool const valid = recorder.Empty();
        std::unique_ptr<Row> back(manager.CreateTupleObject(*object));
        if (!valid || !recorder.Empty()) return;
        ++_roundTrips[kind];
        if constexpr (std::is_same_v<Row, KEL_SYSTEM_LOG>) {
            // Parameters are split only under indicator 0; a positive one writes "".
            if (row._iMessageParameters > 0) row._messageParameters = KelString("");
            row._errorFlag = row._errorFlag != 0;
        }
        std::vector<std::int16_t> in, out;
        for (std::int16_t* i : Indicators(row)) in.push_back(*i = *i < 0 ? -1 : 0);
        for (std::int16_t* i : Indicators(*back)) out.push_back(*i);
        Same("a null indicator", out, in);
        std::vector<std::string> const wrote = Columns(row), read = Columns(*back);
        for (std::size_t c = 0; c < wrote.size() && _difference.empty(); ++c) Same(wrote[c].c_str(), read[c], wrote[c]);
    }

    void Instance(KelFuzzBytes& in, KelContractRecorder& recorder)
    {
        RoundTrip(_tom.ForSvrInstances(),
                  KEL_SVR_INSTANCE_STATE{in.Oid(), in.Time(), in.Oid(), in.Int32(), in.Int32(), in.Time(),
                                         in.Indicator(), in.Int32(), in.Indicator()},
                  recorder, 0);
    }

    void State(KelFuzzBytes& in, KelContractRecorder& recorder)
    {
        RoundTrip(_tom.ForSystemStates(), KEL_SYSTEM_STATE{in.Oid(), in.Time(), in.Indicator(), in.Int32()}, recorder,
                  1);
    }

    void SystemLog(KelFuzzBytes& in, KelContractRecorder& recorder)
    {
        RoundTrip(
            _tom.ForSystemLogs(),
            KEL_SYSTEM_LOG{in.Oid(),    in.Time(),      in.Text(8),     in.Text(8),     in.Int32(),  in.Int32(),
                           in.Int32(),  in.Int32(),     in.Indicator(), in.Int16(),     in.Int32(),  in.Indicator(),
                           in.Int32(),  in.Indicator(), in.Int32(),     in.Indicator(), in.Text(32), in.Indicator(),
                           in.Text(32), in.Indicator(), in.Text(1024),  in.Indicator()},
            recorder, 2);
    }

    void ErrorLog(KelFuzzBytes& in, KelContractRecorder& recorder)
    {
        RoundTrip(
            _tom.ForErrorLogs(),
            KEL_ERROR_LOG{in.Oid(),       in.Time(),      in.Text(8),     in.Text(8),     in.Oid(),     in.Int32(),
                          in.Int32(),     in.Int32(),     in.Int32(),     in.Indicator(), in.Int32(),   in.Int32(),
                          in.Int32(),     in.Indicator(), in.Int32(),     in.Indicator(), in.Time(),    in.Text(16),
                          in.Indicator(), in.Int32(),     in.Indicator(), in.Text(32),    in.Text(1024)},
            recorder, 3);
    }

    // Two lists (one by SetList): no token holds the delimiter, the walk ends, both flags set give the list back.
    void Tokens(KelFuzzBytes& in)
    {
        char const delimiter[2] = {static_cast<char>(in.Byte()), 0};
        char const used = delimiter[0] ? delimiter[0] : ';';
        bool const keepEmpty = in.Byte() & 1, trailing = in.Byte() & 1;
        KelString list = in.Text(1024);
        KelString::Tokenizer tokens(list, delimiter, keepEmpty, trailing);
        for (int round = 0; round < 2; ++round) {
            std::int32_t const length = list.IsNull() ? 0 : list.Length();
            std::string joined;
            int count = 0;
            for (KelString token = tokens.Next(); !token.IsNull(); token = tokens.Next()) {
                if (++count > length + 2) {
                    _difference = "the tokenizer does not end";
                    return;
                }
                std::string const text = token.Str();
                if (text.find(used) != std::string::npos) _difference = "a token holds the delimiter";
                joined += (count > 1 ? std::string(1, used) : std::string()) + text;
            }
            if (keepEmpty && trailing) {
                Same("the joined tokens", joined, list.Str());
                ++_roundTrips[4];
            }
            list = in.Text(1024);
            tokens.SetList(list);
        }
    }

    std::unique_ptr<KelDatabase> _db;
    KelTOMForAdminServer _tom;
    std::string _difference;
    std::size_t _roundTrips[5] = {};
};

// KelValueSequence<T, Bound>: an ordered, copyable sequence of values that is built
// empty, appended to and walked in order; the parameters of a system log record are a
// KelValueSequence<KelString, -100>. Bound governs the size: a positive Bound is the
// most elements the sequence may hold (Append checks it); zero or a negative Bound means
// no limit (room grows with the elements, so a record with three parameters stays small).
// Copies are independent (the elements themselves may be shared handles).
#pragma once

#include "kernel/kelkblk.hpp"
#include "kernel/kelkcon.hpp"

#include <cstddef>
#include <utility>
#include <vector>

template <class T, int Bound>
class KelValueSequence {
public:
    using const_iterator = typename std::vector<T, KelSmallBlockAllocator<T>>::const_iterator;

    KelValueSequence() = default;

    // REQUIRES: Bound <= 0, or fewer than Bound elements are held.
    void Append(T const& value)
    {
        if (Bound > 0) kelkRequire(Size() < std::size_t(Bound));
        // The first element brings room for a few: most sequences stay that short.
        if (_values.capacity() == 0) _values.reserve(firstRoom);
        _values.push_back(value);
    }
    void Append(T&& value)
    {
        if (Bound > 0) kelkRequire(Size() < std::size_t(Bound));
        if (_values.capacity() == 0) _values.reserve(firstRoom);
        _values.push_back(std::move(value));
    }
    void Clear() { _values.clear(); }

    std::size_t Size() const { return _values.size(); }
    bool IsEmpty() const { return _values.empty(); }
    // REQUIRES: index < Size().
    T const& operator[](std::size_t index) const
    {
        if (index >= _values.size())
            KelContract::FailHard(KelContractKind::Require, "index < Size()", __FILE__, __LINE__);
        return _values[index];
    }
    const_iterator begin() const { return _values.begin(); }
    const_iterator end() const { return _values.end(); }

    friend bool operator==(KelValueSequence const& a, KelValueSequence const& b) { return a._values == b._values; }
    friend bool operator!=(KelValueSequence const& a, KelValueSequence const& b) { return !(a == b); }

private:
    static constexpr std::size_t firstRoom = Bound > 0 && Bound < 4 ? std::size_t(Bound) : 4;
    // Its block is one of the small ones kept for reuse (KelSmallBlocks).
    std::vector<T, KelSmallBlockAllocator<T>> _values;
};

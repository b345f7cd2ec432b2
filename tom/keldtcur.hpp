// Walks one accessor cursor: opens it with the first fetch, hands every fetched row to
// the body, fetches each next row into a fresh buffer (an entry may keep the previous
// one), and closes the cursor once in every case, also after a false first fetch or an
// exception. The body receives ownership of the row buffer and may keep it.
#pragma once

#include <memory>

template <class R, class OpenFetch, class Fetch, class Close, class Body>
void KelWalkCursor(OpenFetch openFetch, Fetch fetch, Close close, Body body)
{
    struct Closer {
        Close& close;
        ~Closer() { close(); }
    } closer{close};
    auto row = std::make_unique<R>();
    for (bool found = openFetch(*row); found; found = fetch(*row)) {
        body(row);
        row = std::make_unique<R>();
    }
}

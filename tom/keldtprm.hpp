// The parameter classes that the managers share. KelTomNoParm is every manager's
// MaterializeInpParm (materializing takes no parameter). KelTomKeyParms<K> is the
// parameter class of a manager whose new object needs nothing but its key K: its
// CreateInpParm holds the key. A manager's parameter class derives from it, so that it
// keeps a name of its own (KelTypeName) for the managers' texts.
#pragma once

template <class K>
class KelTomKeyParm {
public:
    explicit KelTomKeyParm(K const& key) : _key(key) {}
    K const& Key() const { return _key; }

private:
    K _key;
};

class KelTomNoParm {
public:
    KelTomNoParm() {}
};

template <class K>
struct KelTomKeyParms {
    using CreateInpParm = KelTomKeyParm<K>;
    using MaterializeInpParm = KelTomNoParm;
};

#include "tom/keltinyom.hpp"

KelTinyObjectManager::KelTinyObjectManager(KelDatabase& db) : _isSuspended(false), _db(db) {}

KelTinyObjectManager::~KelTinyObjectManager() = default;

void KelTinyObjectManager::Suspend() { _isSuspended = true; }

void KelTinyObjectManager::Resume() { _isSuspended = false; }

void KelTinyObjectManager::TxnHasBeenCommitted() {}

// Reading back what the game wrote into game.db, for tests of the whole game.
#pragma once

#include <cstdint>
#include <string>

#include "save/play_database.h"

// The record in the database at path and the fingerprint it names; false when there is none.
inline bool ReadDatabaseRecord(const std::string& path, PlayRecord& record, std::uint64_t* fingerprint = nullptr) {
    PlayDatabase database;
    std::uint64_t named = 0;
    if (database.OpenToRead(path) != DatabaseFault::Opened || !database.LoadRecord(record, named)) return false;
    if (fingerprint) *fingerprint = named;
    return true;
}

inline BestTimes ReadDatabaseBestTimes(const std::string& path) {
    PlayDatabase database;
    return database.OpenToRead(path) == DatabaseFault::Opened ? database.LoadBestTimes() : BestTimes{};
}

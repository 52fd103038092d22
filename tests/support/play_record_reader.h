// Reading back what the game wrote into game.db, for tests of the whole game.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "save/records/play_database.h"

// The record in the database at path and the fingerprint it names; false when there is none.
inline bool ReadDatabaseRecord(const std::string& path, PlayRecord& record,
                               std::uint64_t* fingerprint = nullptr) {
    PlayDatabase database;
    std::uint64_t named = 0;
    if (database.OpenToRead(path) != DatabaseFault::Opened || !database.LoadRecord(record, named))
        return false;
    if (fingerprint) *fingerprint = named;
    return true;
}

// What SQLite's integrity check says of the database at path ("ok" when whole).
inline std::string DatabaseIntegrity(const std::string& path) {
    sqlite3* db = nullptr;
    std::string answer;
    const auto keep = [](void* out, int, char** values, char**) {
        return *static_cast<std::string*>(out) += values[0], 0;
    };
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK)
        sqlite3_exec(db, "PRAGMA integrity_check", keep, &answer, nullptr);
    sqlite3_close(db);
    return answer;
}

inline BestTimes ReadDatabaseBestTimes(const std::string& path) {
    PlayDatabase database;
    return database.OpenToRead(path) == DatabaseFault::Opened ? database.LoadBestTimes() : BestTimes{};
}

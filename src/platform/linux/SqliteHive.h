// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <optional>

#include "platform/Registry.h"

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// One registry hive in an SQLite database file: keys by their case-folded path, values by key and
// case-folded name. SQLite makes every write atomic and durable (a kill at any moment leaves the
// old or the new value). The file is opened at first use; a file that is not a hive of ours (not
// a database, a damaged one, a directory in its place) is moved aside, kept, and reported on
// standard error in one line, and a new hive takes its place.
class SqliteHive {
public:
    // Runs once, in the transaction that makes a new hive, to give it the keys it starts with.
    using Seed = std::function<void(SqliteHive&)>;

    // directoryMode: the permissions of the hive's directory when this program creates it.
    SqliteHive(QString filePath, int directoryMode, Seed seed = {});
    ~SqliteHive();
    SqliteHive(const SqliteHive&) = delete;
    SqliteHive& operator=(const SqliteHive&) = delete;

    QString FilePath() const { return filePath_; }

    // The key's id; nothing when it is missing or the hive cannot be used.
    std::optional<std::int64_t> FindKey(const QStringList& names);
    // The key's id, made with its missing parents in one transaction.
    std::optional<std::int64_t> CreateKey(const QStringList& names);
    std::optional<RegistryData> Query(std::int64_t key, const QString& name);
    bool Set(std::int64_t key, const QString& name, const RegistryData& value);
    bool Delete(std::int64_t key, const QString& name);

    // One transaction for the writes that follow, until Commit or Rollback: a kill before the
    // commit leaves the hive as it was. False when the hive cannot be used or one is open.
    bool Begin();
    bool Commit();
    void Rollback();

    // Differs whenever the file may have changed: its identity, size and modification time
    // (every commit, by any process, writes to it), and this object's own writes. One stat(2).
    std::uint64_t ChangeStamp() const;

private:
    enum class Outcome { Ready, NotAHive, Unusable };
    enum class State { Closed, Opening, Open, GaveUp };  // given up: reported once, out of use for this run

    bool EnsureOpen();
    Outcome TryOpen();
    bool PrepareDirectory() const;
    bool MoveAside();
    void Close();
    bool Execute(const char* sql);
    bool CreateSchema();
    bool MakeSchema();
    bool PrepareStatements();

    QString filePath_;
    int directoryMode_;
    Seed seed_;
    State state_ = State::Closed;
    bool changing_ = false;  // between Begin and Commit or Rollback
    std::uint64_t writes_ = 0;
    // Keys are never removed, so a key found once keeps its id: the refresh that opens the same
    // key every second then costs one query per value, not two.
    std::unordered_map<QString, std::int64_t> knownKeys_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* findKey_ = nullptr;
    sqlite3_stmt* insertKey_ = nullptr;
    sqlite3_stmt* query_ = nullptr;
    sqlite3_stmt* set_ = nullptr;
    sqlite3_stmt* delete_ = nullptr;
};

}  // namespace platform

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/SqliteHive.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <mutex>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/PrivateDirectory.h"

namespace platform {
namespace {

constexpr int kApplicationId = 0x4d6e5850;  // "MnXP" in the database header: a hive of ours
constexpr int kBusyTimeoutMs = 5000;        // another process saving at the same moment
constexpr int kDwordType = 4;               // the registry's own type numbers
constexpr int kStringType = 1;

constexpr const char* kSchema = R"(
CREATE TABLE keys(id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE, name TEXT NOT NULL);
CREATE TABLE key_values(key INTEGER NOT NULL REFERENCES keys(id), folded TEXT NOT NULL, name TEXT NOT NULL,
                        type INTEGER NOT NULL, data NOT NULL, PRIMARY KEY(key, folded)) WITHOUT ROWID;
INSERT INTO keys(path, name) VALUES('', '');
PRAGMA application_id = 1299077200;
)";
static_assert(kApplicationId == 1299077200);

// A hive is a few pages read a handful of times a run: each connection's page cache grows a page
// at a time instead of starting with a block of twenty, and takes no lookaside arena. Together
// they were some 170 KB per open hive, resident for the program's whole life in the tray. This
// has to come before SQLite's first use in the process; where it came too late, the defaults stay.
void KeepSqliteSmall()
{
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
        sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0);
    });
}

void Report(const QString& line)
{
    std::fprintf(stderr, "Mnemora XP: %s\n", line.toLocal8Bit().constData());
}

bool IsDamage(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

void Bind(sqlite3_stmt* statement, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

// Leaves a prepared statement ready for its next use, whatever path the caller leaves by.
class Reuse {
public:
    explicit Reuse(sqlite3_stmt* statement) : statement_(statement) {}
    ~Reuse()
    {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    Reuse(const Reuse&) = delete;
    Reuse& operator=(const Reuse&) = delete;

private:
    sqlite3_stmt* statement_;
};

// The first column of a one-row answer; the SQLite result code when there is none.
struct Answer {
    int code = SQLITE_OK;
    QString text;
    std::int64_t number = 0;
};

Answer AskOne(sqlite3* db, const char* sql)
{
    Answer answer;
    sqlite3_stmt* statement = nullptr;
    answer.code = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (answer.code == SQLITE_OK) {
        answer.code = sqlite3_step(statement);
        if (answer.code == SQLITE_ROW) {
            answer.code = SQLITE_OK;
            answer.number = sqlite3_column_int64(statement, 0);
            answer.text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        }
    }
    sqlite3_finalize(statement);
    return answer;
}

}  // namespace

SqliteHive::SqliteHive(QString filePath, int directoryMode, Seed seed)
    : filePath_(std::move(filePath)), directoryMode_(directoryMode), seed_(std::move(seed))
{
}

SqliteHive::~SqliteHive()
{
    Close();
}

void SqliteHive::Close()
{
    for (sqlite3_stmt** statement : {&findKey_, &insertKey_, &query_, &set_, &delete_}) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
    }
    sqlite3_close_v2(db_);
    db_ = nullptr;
    knownKeys_.clear();
}

bool SqliteHive::EnsureOpen()
{
    if (state_ != State::Closed)
        return state_ != State::GaveUp;
    state_ = State::GaveUp;
    if (!PrepareDirectory()) {
        Report(QStringLiteral("the folder of %1 is missing or others can write to it; settings are not kept").arg(filePath_));
        return false;
    }
    state_ = State::Opening;
    Outcome outcome = TryOpen();
    if (outcome == Outcome::NotAHive) {
        Close();
        state_ = State::GaveUp;
        if (!MoveAside())
            return false;
        state_ = State::Opening;
        outcome = TryOpen();
    }
    if (outcome != Outcome::Ready) {
        Report(QStringLiteral("%1 cannot be used: %2").arg(filePath_, db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString()));
        Close();
        state_ = State::GaveUp;
        return false;
    }
    state_ = State::Open;
    return true;
}

bool SqliteHive::PrepareDirectory() const
{
    const QByteArray directory = QFile::encodeName(QFileInfo(filePath_).absolutePath());
    if (!QFileInfo::exists(QString::fromLocal8Bit(directory))) {
        QDir().mkpath(QString::fromLocal8Bit(directory));
        ::chmod(directory.constData(), static_cast<mode_t>(directoryMode_));
    }
    // Whoever can write to the folder can put any file in the hive's place.
    struct stat status {};
    return ::stat(directory.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           PrivateDirectory::Problem(status, ::geteuid(), true).isEmpty();
}

SqliteHive::Outcome SqliteHive::TryOpen()
{
    const QByteArray path = QFile::encodeName(filePath_);
    struct stat status {};
    if (::lstat(path.constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return Outcome::NotAHive;
    KeepSqliteSmall();
    int code = sqlite3_open_v2(path.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW,
                               nullptr);
    if (code != SQLITE_OK)
        return IsDamage(code) ? Outcome::NotAHive : Outcome::Unusable;
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    if (!Execute("PRAGMA synchronous = FULL; PRAGMA trusted_schema = OFF"))
        return IsDamage(sqlite3_errcode(db_)) ? Outcome::NotAHive : Outcome::Unusable;

    const Answer check = AskOne(db_, "PRAGMA quick_check");
    if (check.code != SQLITE_OK)
        return IsDamage(check.code) ? Outcome::NotAHive : Outcome::Unusable;
    if (check.text != QLatin1String("ok"))
        return Outcome::NotAHive;
    const Answer tables = AskOne(db_, "SELECT count(*) FROM sqlite_master");
    if (tables.code != SQLITE_OK)
        return Outcome::Unusable;
    if (tables.number == 0)
        return CreateSchema() ? Outcome::Ready : Outcome::Unusable;
    if (AskOne(db_, "PRAGMA application_id").number != kApplicationId)
        return Outcome::NotAHive;
    return PrepareStatements() ? Outcome::Ready : Outcome::NotAHive;
}

bool SqliteHive::PrepareStatements()
{
    const auto prepare = [this](const char* sql, sqlite3_stmt** statement) {
        return sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, statement, nullptr) == SQLITE_OK;
    };
    return prepare("SELECT id FROM keys WHERE path = ?1", &findKey_) &&
           prepare("INSERT OR IGNORE INTO keys(path, name) VALUES(?1, ?2)", &insertKey_) &&
           prepare("SELECT type, data FROM key_values WHERE key = ?1 AND folded = ?2", &query_) &&
           prepare("INSERT INTO key_values(key, folded, name, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
                   "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data",
                   &set_) &&
           prepare("DELETE FROM key_values WHERE key = ?1 AND folded = ?2", &delete_);
}

bool SqliteHive::CreateSchema()
{
    // A new hive holds nothing yet that could be lost: its making is not waited for on the disk
    // (a first start would otherwise wait for eight flushes). Should the machine go down before
    // the system writes it out, the next start finds a damaged file and makes the hive again.
    Execute("PRAGMA synchronous = OFF");
    const bool made = MakeSchema();
    Execute("PRAGMA synchronous = FULL");
    return made;
}

bool SqliteHive::MakeSchema()
{
    // Two first starts at once: the second finds the tables the first made.
    if (!Execute("BEGIN IMMEDIATE"))
        return false;
    const Answer tables = AskOne(db_, "SELECT count(*) FROM sqlite_master");
    bool made = tables.code == SQLITE_OK;
    if (made && tables.number == 0) {
        made = Execute(kSchema) && PrepareStatements();
        if (made && seed_)
            seed_(*this);
    } else if (made) {
        made = AskOne(db_, "PRAGMA application_id").number == kApplicationId && PrepareStatements();
    }
    if (made && Execute("COMMIT"))
        return true;
    Execute("ROLLBACK");
    return false;
}

bool SqliteHive::MoveAside()
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = filePath_ + QStringLiteral(".unreadable-") + stamp;
    struct stat status {};
    for (int n = 2; ::lstat(QFile::encodeName(aside).constData(), &status) == 0; ++n)
        aside = filePath_ + QStringLiteral(".unreadable-") + stamp + QLatin1Char('-') + QString::number(n);
    if (::rename(QFile::encodeName(filePath_).constData(), QFile::encodeName(aside).constData()) != 0) {
        Report(QStringLiteral("%1 is not a readable settings store and cannot be moved aside; settings are not kept")
                   .arg(filePath_));
        return false;
    }
    // A journal left beside the old file belongs to it; next to a new hive it would be played
    // back into it.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QByteArray companion = QFile::encodeName(filePath_ + QLatin1String(suffix));
        if (::lstat(companion.constData(), &status) == 0)
            ::rename(companion.constData(), QFile::encodeName(aside + QLatin1String(suffix)).constData());
    }
    Report(QStringLiteral("%1 was not a readable settings store; it was moved to %2").arg(filePath_, aside));
    return true;
}

bool SqliteHive::Execute(const char* sql)
{
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::optional<std::int64_t> SqliteHive::FindKey(const QStringList& names)
{
    if (!EnsureOpen())
        return std::nullopt;
    const QString path = IRegistry::Folded(names.join(QLatin1Char('\\')));
    if (const auto known = knownKeys_.find(path); known != knownKeys_.end())
        return known->second;
    const Reuse reuse(findKey_);
    Bind(findKey_, 1, path);
    if (sqlite3_step(findKey_) != SQLITE_ROW)
        return std::nullopt;
    const std::int64_t id = sqlite3_column_int64(findKey_, 0);
    // Inside the transaction that makes a key, the key may yet be rolled back.
    if (sqlite3_get_autocommit(db_) != 0)
        knownKeys_.emplace(path, id);
    return id;
}

std::optional<std::int64_t> SqliteHive::CreateKey(const QStringList& names)
{
    if (const std::optional<std::int64_t> existing = FindKey(names))
        return existing;
    if (state_ == State::GaveUp)
        return std::nullopt;
    // Inside the seed the creating transaction is already open.
    const bool ownTransaction = sqlite3_get_autocommit(db_) != 0;
    if (ownTransaction && !Execute("BEGIN IMMEDIATE"))
        return std::nullopt;
    bool inserted = true;
    for (qsizetype depth = 1; inserted && depth <= names.size(); ++depth) {
        const QString path = names.first(depth).join(QLatin1Char('\\'));
        const Reuse reuse(insertKey_);
        Bind(insertKey_, 1, IRegistry::Folded(path));
        Bind(insertKey_, 2, path);
        inserted = sqlite3_step(insertKey_) == SQLITE_DONE;
    }
    if (ownTransaction && !(inserted && Execute("COMMIT"))) {
        Execute("ROLLBACK");
        return std::nullopt;
    }
    return inserted ? FindKey(names) : std::nullopt;
}

std::optional<RegistryData> SqliteHive::Query(std::int64_t key, const QString& name)
{
    if (!EnsureOpen())
        return std::nullopt;
    const Reuse reuse(query_);
    sqlite3_bind_int64(query_, 1, key);
    Bind(query_, 2, IRegistry::Folded(name));
    if (sqlite3_step(query_) != SQLITE_ROW)
        return std::nullopt;
    if (sqlite3_column_int(query_, 0) == kDwordType && sqlite3_column_type(query_, 1) == SQLITE_INTEGER)
        return static_cast<std::int32_t>(sqlite3_column_int64(query_, 1));
    // Any other kind of value reads as text, which a number reader refuses.
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query_, 1)));
}

bool SqliteHive::Set(std::int64_t key, const QString& name, const RegistryData& value)
{
    if (!EnsureOpen())
        return false;
    ++writes_;
    const Reuse reuse(set_);
    sqlite3_bind_int64(set_, 1, key);
    Bind(set_, 2, IRegistry::Folded(name));
    Bind(set_, 3, name);
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        sqlite3_bind_int(set_, 4, kDwordType);
        sqlite3_bind_int64(set_, 5, *number);
    } else {
        sqlite3_bind_int(set_, 4, kStringType);
        Bind(set_, 5, std::get<QString>(value));
    }
    return sqlite3_step(set_) == SQLITE_DONE;
}

bool SqliteHive::Delete(std::int64_t key, const QString& name)
{
    if (!EnsureOpen())
        return false;
    ++writes_;
    const Reuse reuse(delete_);
    sqlite3_bind_int64(delete_, 1, key);
    Bind(delete_, 2, IRegistry::Folded(name));
    return sqlite3_step(delete_) == SQLITE_DONE;
}

std::uint64_t SqliteHive::ChangeStamp() const
{
    struct stat status {};
    if (::stat(QFile::encodeName(filePath_).constData(), &status) != 0)
        status = {};
    std::uint64_t stamp = 14695981039346656037ULL;  // FNV-1a over the fields
    for (const std::uint64_t field : {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                                      static_cast<std::uint64_t>(status.st_size), static_cast<std::uint64_t>(status.st_mtim.tv_sec),
                                      static_cast<std::uint64_t>(status.st_mtim.tv_nsec), writes_})
        stamp = (stamp ^ field) * 1099511628211ULL;
    return stamp;
}

bool SqliteHive::Begin()
{
    if (changing_ || !EnsureOpen() || sqlite3_get_autocommit(db_) == 0)
        return false;
    // Immediate: the write lock is taken now (waiting for another saving process), so no write
    // inside can fail for want of it.
    changing_ = Execute("BEGIN IMMEDIATE");
    return changing_;
}

bool SqliteHive::Commit()
{
    if (!changing_)
        return false;
    changing_ = false;
    if (Execute("COMMIT"))
        return true;
    Rollback();
    return false;
}

void SqliteHive::Rollback()
{
    changing_ = false;
    if (db_ != nullptr && sqlite3_get_autocommit(db_) == 0)
        Execute("ROLLBACK");
}

}  // namespace platform

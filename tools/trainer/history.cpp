#include "history.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>

namespace trainer {

namespace {

constexpr char kSqliteMagic[] = "SQLite format 3";  // and its terminating zero
constexpr int kSqliteHeader = 100;

// The first version of the schema; later versions are steps from it, so a
// new file takes the same path as an old one.
const char* const kVersion1[] = {
    "CREATE TABLE reviews(id INTEGER PRIMARY KEY, time INTEGER NOT NULL,"
    " range_file TEXT NOT NULL, spot TEXT NOT NULL, hand TEXT NOT NULL,"
    " cards TEXT NOT NULL, answer TEXT NOT NULL, correct INTEGER NOT NULL,"
    " mode TEXT NOT NULL, roll INTEGER)",
    "CREATE TABLE cards(range_file TEXT NOT NULL, spot TEXT NOT NULL, hand TEXT NOT NULL,"
    " mix TEXT NOT NULL, repetitions INTEGER NOT NULL, easiness REAL NOT NULL,"
    " interval_days INTEGER NOT NULL, due INTEGER NOT NULL,"
    " PRIMARY KEY(range_file, spot, hand))",
};
// Version 2: the time each answer took, and an index that serves the
// statistics from the index alone.
const char* const kVersion2[] = {
    "ALTER TABLE reviews ADD COLUMN answer_ms INTEGER",
    "CREATE INDEX reviews_by_card ON reviews(range_file, spot, hand, correct)",
};

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Qt binds a null string as NULL; the columns hold text.
QString notNull(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

}  // namespace

QString cardKey(const QString& spot, const QString& hand) {
    return spot + QLatin1Char('/') + hand;
}

History::History()
    : connection_(QStringLiteral("trainer-history-%1").arg(reinterpret_cast<quintptr>(this))) {}

History::~History() {
    close();
}

void History::close() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isOpen()) db.close();
    }
    if (QSqlDatabase::contains(connection_)) QSqlDatabase::removeDatabase(connection_);
    if (state_ == HistoryState::Open) state_ = HistoryState::Off;
}

QString History::stateText() const {
    switch (state_) {
        case HistoryState::Off:
            return QStringLiteral("History off.");
        case HistoryState::Open:
            return QStringLiteral("History: %1").arg(path_);
        case HistoryState::Corrupt:
            return QStringLiteral(
                       "The history %1 is damaged (%2); it is left untouched and answers "
                       "are not kept.")
                .arg(path_, error_);
        case HistoryState::Newer:
            return QStringLiteral(
                       "The history %1 comes from a newer trainer; it is left untouched "
                       "and answers are not kept.")
                .arg(path_);
        case HistoryState::Foreign:
            return QStringLiteral(
                       "%1 is not a trainer history; it is left untouched and answers "
                       "are not kept.")
                .arg(path_);
        case HistoryState::Failed:
            return QStringLiteral("The history %1 cannot be used: %2").arg(path_, error_);
    }
    return {};
}

bool History::exec(const QString& sql) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (query.exec(sql)) return true;
    error_ = QStringLiteral("%1: %2").arg(sql, query.lastError().text());
    return false;
}

HistoryState History::open(const QString& path) {
    close();
    path_ = path;
    error_.clear();
    const QFileInfo info(path);
    if (info.exists()) {
        QFile file(path);
        if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
            error_ = file.errorString();
            return state_ = HistoryState::Failed;
        }
        // A file that is not SQLite at all is refused before SQLite sees it.
        const QByteArray head = file.read(kSqliteHeader);
        if (info.size() > 0 &&
            (head.size() < kSqliteHeader || !head.startsWith(QByteArray(kSqliteMagic, 16)))) {
            error_ = QStringLiteral("not an SQLite database");
            return state_ = HistoryState::Corrupt;
        }
    } else if (!QDir().mkpath(info.absolutePath())) {
        error_ = QStringLiteral("cannot create %1").arg(info.absolutePath());
        return state_ = HistoryState::Failed;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        if (!db.isValid()) {
            error_ = QStringLiteral("Qt's SQLite driver is not installed (libqt6sql6-sqlite)");
            state_ = HistoryState::Failed;
        } else {
            db.setDatabaseName(path);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
            if (!db.open()) {
                error_ = db.lastError().text();
                state_ = HistoryState::Failed;
            } else {
                state_ = inspect();
            }
        }
    }
    if (state_ == HistoryState::Open &&
        !(exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(kBusyTimeoutMs)) && enterWal() &&
          exec(QStringLiteral("PRAGMA synchronous=FULL")) && migrate())) {
        if (state_ == HistoryState::Open) state_ = HistoryState::Failed;
    }
    if (state_ != HistoryState::Open) {
        const HistoryState reason = state_;
        close();
        state_ = reason;
    }
    return state_;
}

// SQLite does not wait for a lock when it changes the journal mode (a
// second trainer reading the new file makes the change fail at once), so
// the wait is ours, as long as the busy timeout.
bool History::enterWal() {
    QElapsedTimer waited;
    waited.start();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    for (;;) {
        if (query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) && query.next() &&
            query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
            return true;
        if (waited.elapsed() > kBusyTimeoutMs) {
            error_ = QStringLiteral("cannot enter WAL mode: %1").arg(query.lastError().text());
            return false;
        }
        query.finish();
        QThread::msleep(2);
    }
}

// Reads only: whether the file may be written at all.
HistoryState History::inspect() {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("PRAGMA quick_check(1)")) || !query.next()) {
        error_ = query.lastError().text();
        return HistoryState::Corrupt;
    }
    if (query.value(0).toString() != QLatin1String("ok")) {
        error_ = query.value(0).toString();
        return HistoryState::Corrupt;
    }
    // One statement, so one snapshot: another trainer may be creating the
    // tables right now.
    if (!query.exec(QStringLiteral("SELECT (SELECT application_id FROM pragma_application_id),"
                                   " (SELECT user_version FROM pragma_user_version),"
                                   " (SELECT count(*) FROM sqlite_master)")) ||
        !query.next()) {
        error_ = query.lastError().text();
        return HistoryState::Corrupt;
    }
    const qint64 application = query.value(0).toLongLong();
    const qint64 version = query.value(1).toLongLong();
    const qint64 tables = query.value(2).toLongLong();
    if (application != kApplicationId && (application != 0 || tables > 0))
        return HistoryState::Foreign;
    if (version > kSchemaVersion) return HistoryState::Newer;
    return HistoryState::Open;
}

// Brings the schema to the current version in one transaction; a second
// trainer opening the same file waits for it and then finds nothing to do.
bool History::migrate() {
    if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        error_ = query.lastError().text();
        exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    int version = query.value(0).toInt();
    query.finish();
    bool ok = true;
    if (version > kSchemaVersion) {
        exec(QStringLiteral("ROLLBACK"));
        state_ = HistoryState::Newer;
        return false;
    }
    if (version < 1) {
        for (const char* sql : kVersion1) ok = ok && exec(QString::fromLatin1(sql));
        ok = ok && exec(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId));
        version = 1;
    }
    if (ok && version < 2) {
        for (const char* sql : kVersion2) ok = ok && exec(QString::fromLatin1(sql));
        version = 2;
    }
    ok = ok && exec(QStringLiteral("PRAGMA user_version=%1").arg(version)) &&
         exec(QStringLiteral("COMMIT"));
    if (!ok) {
        const QString reason = error_;
        exec(QStringLiteral("ROLLBACK"));
        error_ = reason;
    }
    return ok;
}

HistoryState History::startFresh() {
    if (path_.isEmpty() || state_ == HistoryState::Open) return state_;
    close();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString kept = QStringLiteral("%1.unused-%2").arg(path_, stamp);
    if (QFileInfo::exists(path_) && !QFile::rename(path_, kept)) {
        error_ = QStringLiteral("cannot move it aside to %1").arg(kept);
        return state_ = HistoryState::Failed;
    }
    // Its journal files belong to it, not to the new file.
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        const QString companion = path_ + QLatin1String(suffix);
        if (QFileInfo::exists(companion)) QFile::rename(companion, kept + QLatin1String(suffix));
    }
    return open(path_);
}

bool History::record(const Review& review, const StoredCard& card) {
    if (!isOpen()) return false;
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) return false;
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral(
        "INSERT INTO reviews(time, range_file, spot, hand, cards, answer, correct, mode, roll,"
        " answer_ms) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    insert.addBindValue(qint64(review.timeMs));
    insert.addBindValue(notNull(review.rangeFile));
    insert.addBindValue(notNull(review.spot));
    insert.addBindValue(notNull(review.hand));
    insert.addBindValue(notNull(review.cards));
    insert.addBindValue(notNull(review.answer));
    insert.addBindValue(review.right ? 1 : 0);
    insert.addBindValue(modeKey(review.mode));
    insert.addBindValue(review.mode == GradingMode::Roll ? QVariant(review.roll) : QVariant());
    insert.addBindValue(review.answerMs);
    QSqlQuery upsert(db);
    upsert.prepare(QStringLiteral(
        "INSERT INTO cards(range_file, spot, hand, mix, repetitions, easiness, interval_days,"
        " due) VALUES(?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT(range_file, spot, hand) DO UPDATE SET"
        " mix = excluded.mix, repetitions = excluded.repetitions, easiness = excluded.easiness,"
        " interval_days = excluded.interval_days, due = excluded.due"));
    upsert.addBindValue(notNull(review.rangeFile));
    upsert.addBindValue(notNull(review.spot));
    upsert.addBindValue(notNull(review.hand));
    upsert.addBindValue(notNull(card.mix));
    upsert.addBindValue(card.schedule.repetitions);
    upsert.addBindValue(card.schedule.easiness);
    upsert.addBindValue(card.schedule.intervalDays);
    upsert.addBindValue(qint64(card.schedule.due));
    if (!insert.exec() || !upsert.exec()) {
        error_ =
            insert.lastError().isValid() ? insert.lastError().text() : upsert.lastError().text();
        const QString reason = error_;
        exec(QStringLiteral("ROLLBACK"));
        error_ = reason;
        return false;
    }
    return exec(QStringLiteral("COMMIT"));
}

QHash<QString, StoredCard> History::cards(const QString& rangeFile) {
    QHash<QString, StoredCard> cards;
    if (!isOpen()) return cards;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT spot, hand, mix, repetitions, easiness, interval_days,"
                       " due FROM cards WHERE range_file = ?"));
    query.addBindValue(rangeFile);
    if (!query.exec()) {
        error_ = query.lastError().text();
        return cards;
    }
    while (query.next()) {
        StoredCard card;
        card.mix = query.value(2).toString();
        card.schedule.repetitions = query.value(3).toInt();
        card.schedule.easiness = query.value(4).toDouble();
        card.schedule.intervalDays = query.value(5).toInt();
        card.schedule.due = query.value(6).toLongLong();
        card.schedule.seen = true;
        cards.insert(cardKey(query.value(0).toString(), query.value(1).toString()), card);
    }
    return cards;
}

QHash<QString, SpotTallies> History::tallies(const QString& rangeFile) {
    QHash<QString, SpotTallies> tallies;
    if (!isOpen()) return tallies;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT spot, hand, count(*), sum(correct) FROM reviews"
                       " WHERE range_file = ? GROUP BY spot, hand"));
    query.addBindValue(rangeFile);
    if (!query.exec()) {
        error_ = query.lastError().text();
        return tallies;
    }
    while (query.next()) {
        const auto hand = chartpack::handFromKey(query.value(1).toString().toStdString());
        if (!hand) continue;
        auto at = tallies.find(query.value(0).toString());
        if (at == tallies.end()) at = tallies.insert(query.value(0).toString(), SpotTallies{});
        (*at)[static_cast<size_t>(hand->index())] = {query.value(2).toInt(),
                                                     query.value(3).toInt()};
    }
    return tallies;
}

int History::reviewCount() {
    if (!isOpen()) return 0;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("SELECT count(*) FROM reviews")) || !query.next()) return 0;
    return query.value(0).toInt();
}

bool History::exportCsv(const QString& file) {
    if (!isOpen()) {
        error_ = QStringLiteral("no history");
        return false;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT time, range_file, spot, hand, cards, answer, correct,"
                                   " mode, roll, answer_ms FROM reviews ORDER BY id"))) {
        error_ = query.lastError().text();
        return false;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        error_ = out.errorString();
        return false;
    }
    QByteArray text = "time,range_file,spot,hand,cards,answer,right,mode,roll,answer_ms\n";
    while (query.next()) {
        const QString time = QDateTime::fromMSecsSinceEpoch(query.value(0).toLongLong(), Qt::UTC)
                                 .toString(Qt::ISODateWithMs);
        QStringList fields{time};
        for (int i = 1; i < 10; ++i)
            fields << csvField(query.value(i).isNull() ? QString() : query.value(i).toString());
        text += fields.join(QLatin1Char(',')).toUtf8() + '\n';
        if (text.size() > (1 << 20)) {
            out.write(text);
            text.clear();
        }
    }
    out.write(text);
    if (!out.commit()) {
        error_ = out.errorString();
        return false;
    }
    return true;
}

}  // namespace trainer

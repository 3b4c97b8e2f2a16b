// The answer history: a killed trainer loses nothing it committed, a file
// that cannot be used is never written, the first schema version is
// migrated, and two trainers write the same file at once.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include "history.h"

using namespace trainer;

namespace {

QByteArray digest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Runs statements on a file through a connection of the test's own.
QVariant sql(const QString& path, const QStringList& statements) {
    QVariant last;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("t"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery query(db);
        for (const QString& s : statements) {
            EXPECT_TRUE(query.exec(s)) << s.toStdString();
            if (query.next()) last = query.value(0);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("t"));
    return last;
}

Review answer(const QString& hand, bool right) {
    Review r;
    r.timeMs = 1'800'000'000'000;
    r.rangeFile = QStringLiteral("/home/p/ranges.txt");
    r.spot = QStringLiteral("MPvsUTG");
    r.hand = hand;
    r.cards = QStringLiteral("A\u2660 J\u2666");
    r.answer = QStringLiteral("call");
    r.right = right;
    r.roll = 42;
    r.answerMs = 1500;
    return r;
}

QString writer() {
    return QStringLiteral(TABULO_HISTORY_WRITER);
}

}  // namespace

TEST(History, RecordsAnswersAndCardsAndExportsThem) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/trainer.sqlite"));
    {
        History history;
        ASSERT_EQ(history.open(path), HistoryState::Open) << history.stateText().toStdString();
        Schedule s;
        s.repetitions = 2;
        s.intervalDays = 6;
        s.due = 1234;
        ASSERT_TRUE(history.record(answer(QStringLiteral("AJo"), true), {QStringLiteral("m1"), s}));
        ASSERT_TRUE(
            history.record(answer(QStringLiteral("AJo"), false), {QStringLiteral("m2"), s}));
        ASSERT_TRUE(history.record(answer(QStringLiteral("KQs"), true), {QStringLiteral("m3"), s}));
        const auto cards = history.cards(QStringLiteral("/home/p/ranges.txt"));
        ASSERT_EQ(cards.size(), 2);
        EXPECT_EQ(cards[cardKey(QStringLiteral("MPvsUTG"), QStringLiteral("AJo"))].mix, "m2");
        EXPECT_EQ(cards[cardKey(QStringLiteral("MPvsUTG"), QStringLiteral("AJo"))].schedule.due,
                  1234);
        const auto tallies = history.tallies(QStringLiteral("/home/p/ranges.txt"));
        const Tally ajo =
            tallies[QStringLiteral("MPvsUTG")][size_t(chartpack::Hand::offsuit(0, 3).index())];
        EXPECT_EQ(ajo.answers, 2);
        EXPECT_EQ(ajo.right, 1);
        EXPECT_TRUE(history.tallies(QStringLiteral("other.txt")).isEmpty());

        const QString csv = dir.filePath(QStringLiteral("answers.csv"));
        ASSERT_TRUE(history.exportCsv(csv));
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 5);  // header, three answers, the final newline
        EXPECT_EQ(lines[0], "time,range_file,spot,hand,cards,answer,right,mode,roll,answer_ms");
        EXPECT_EQ(lines[1], QStringLiteral("2027-01-15T08:00:00.000Z,/home/p/ranges.txt,MPvsUTG,"
                                           "AJo,A\u2660 J\u2666,call,1,roll,42,1500"));
    }
    EXPECT_EQ(sql(path, {QStringLiteral("PRAGMA journal_mode")}).toString(), "wal");
}

TEST(History, AFileItCannotUseIsLeftUntouched) {
    QTemporaryDir dir;
    struct Bad {
        const char* name;
        HistoryState state;
    };
    const QString garbage = dir.filePath(QStringLiteral("garbage.sqlite"));
    {
        QFile f(garbage);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    // A real history with a damaged page behind a sound header.
    const QString damaged = dir.filePath(QStringLiteral("damaged.sqlite"));
    {
        History history;
        ASSERT_EQ(history.open(damaged), HistoryState::Open);
        for (int i = 0; i < 300; ++i)
            ASSERT_TRUE(history.record(answer(QStringLiteral("AJo"), true), {}));
    }
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_GT(f.size(), 3 * 4096);
        f.seek(2 * 4096);
        f.write(QByteArray(4096, '\xa5'));
    }
    // A history from a later trainer, and another program's database.
    const QString newer = dir.filePath(QStringLiteral("newer.sqlite"));
    sql(newer, {QStringLiteral("CREATE TABLE reviews(x)"),
                QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId),
                QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion + 1)});
    const QString foreign = dir.filePath(QStringLiteral("foreign.sqlite"));
    sql(foreign, {QStringLiteral("CREATE TABLE songs(title)")});

    for (const auto& [path, state] :
         {std::pair{garbage, HistoryState::Corrupt}, std::pair{damaged, HistoryState::Corrupt},
          std::pair{newer, HistoryState::Newer}, std::pair{foreign, HistoryState::Foreign}}) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray before = digest(path);
        History history;
        EXPECT_EQ(history.open(path), state);
        EXPECT_FALSE(history.record(answer(QStringLiteral("AJo"), true), {}));
        history.close();
        EXPECT_EQ(digest(path), before);
        EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));

        // Asked for, a fresh file takes its place and the old one is kept.
        History fresh;
        fresh.open(path);
        ASSERT_EQ(fresh.startFresh(), HistoryState::Open) << fresh.stateText().toStdString();
        EXPECT_TRUE(fresh.record(answer(QStringLiteral("AJo"), true), {}));
        EXPECT_EQ(fresh.reviewCount(), 1);
        const QStringList kept =
            QDir(dir.path())
                .entryList({QFileInfo(path).fileName() + QStringLiteral(".unused-*")}, QDir::Files);
        ASSERT_EQ(kept.size(), 1);
        EXPECT_EQ(digest(dir.filePath(kept[0])), before);
    }
}

TEST(History, MigratesTheFirstVersionKeepingItsAnswers) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("v1.sqlite"));
    // The first version's tables as it wrote them.
    sql(path,
        {QStringLiteral("CREATE TABLE reviews(id INTEGER PRIMARY KEY, time INTEGER NOT NULL,"
                        " range_file TEXT NOT NULL, spot TEXT NOT NULL, hand TEXT NOT NULL,"
                        " cards TEXT NOT NULL, answer TEXT NOT NULL, correct INTEGER NOT NULL,"
                        " mode TEXT NOT NULL, roll INTEGER)"),
         QStringLiteral("CREATE TABLE cards(range_file TEXT NOT NULL, spot TEXT NOT NULL,"
                        " hand TEXT NOT NULL, mix TEXT NOT NULL, repetitions INTEGER NOT NULL,"
                        " easiness REAL NOT NULL, interval_days INTEGER NOT NULL,"
                        " due INTEGER NOT NULL, PRIMARY KEY(range_file, spot, hand))"),
         QStringLiteral("INSERT INTO reviews VALUES(1, 5, 'r.txt', 'UTG', 'AA', 'A\u2660 A\u2665',"
                        " 'raise', 1, 'roll', 7)"),
         QStringLiteral("INSERT INTO cards VALUES('r.txt', 'UTG', 'AA', 'raise:10000 fold:0',"
                        " 1, 2.6, 1, 99)"),
         QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId),
         QStringLiteral("PRAGMA user_version=1")});
    {
        History history;
        ASSERT_EQ(history.open(path), HistoryState::Open) << history.stateText().toStdString();
        EXPECT_EQ(history.reviewCount(), 1);
        EXPECT_EQ(history.tallies(QStringLiteral("r.txt"))[QStringLiteral("UTG")][0].right, 1);
        EXPECT_DOUBLE_EQ(history
                             .cards(QStringLiteral(
                                 "r.txt"))[cardKey(QStringLiteral("UTG"), QStringLiteral("AA"))]
                             .schedule.easiness,
                         2.6);
        ASSERT_TRUE(history.record(answer(QStringLiteral("AA"), true), {}));
    }
    EXPECT_EQ(sql(path, {QStringLiteral("PRAGMA user_version")}).toInt(), kSchemaVersion);
    EXPECT_EQ(sql(path, {QStringLiteral("SELECT answer_ms FROM reviews WHERE id = 2")}).toInt(),
              1500);
    EXPECT_TRUE(sql(path, {QStringLiteral("SELECT answer_ms FROM reviews WHERE id = 1")}).isNull());
}

TEST(History, AKilledTrainerLosesNothingItCommitted) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trainer.sqlite"));
    QProcess process;
    process.start(writer(), {path, QStringLiteral("1000000")});
    ASSERT_TRUE(process.waitForStarted());
    int committed = 0;
    QByteArray pending;
    while (committed < 40 && process.waitForReadyRead(30000)) {
        pending += process.readAllStandardOutput();
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (line.startsWith("committed ")) committed = line.mid(10).toInt();
        }
    }
    ASSERT_GE(committed, 40);
    process.kill();  // SIGKILL, in the middle of the next answers
    ASSERT_TRUE(process.waitForFinished());

    History history;
    ASSERT_EQ(history.open(path), HistoryState::Open) << history.stateText().toStdString();
    EXPECT_GE(history.reviewCount(), committed);
    EXPECT_EQ(sql(path, {QStringLiteral("PRAGMA integrity_check")}).toString(), "ok");
}

TEST(History, TwoTrainersWriteTheSameFileAtOnce) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trainer.sqlite"));
    constexpr int kEach = 300;
    // Both start on a file that does not exist yet: one creates the tables,
    // the other waits for it.
    QProcess a, b;
    a.start(writer(), {path, QString::number(kEach)});
    b.start(writer(), {path, QString::number(kEach)});
    ASSERT_TRUE(a.waitForFinished(60000));
    ASSERT_TRUE(b.waitForFinished(60000));
    EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
    EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
    History history;
    ASSERT_EQ(history.open(path), HistoryState::Open);
    EXPECT_EQ(history.reviewCount(), 2 * kEach);
    EXPECT_EQ(sql(path, {QStringLiteral("PRAGMA integrity_check")}).toString(), "ok");
}

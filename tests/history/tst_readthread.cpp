#include "base/settings.h"
#include "history/historyrequest.h"
#include "history/readthread.h"
#include "link/commsettings.h"
#include "readerlog.h"
#include "tests/support/ptypair.h"
#include "tests/support/tempworkdir.h"

#include <QTextCodec>
#include <QtTest>

#include <memory>

using Pieces = QList<QByteArray>;

// The reader against a hand-played instrument on a pseudo-terminal: the test
// writes the answer piece by piece on the master side.
class TstReadThread : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void lines_data();
    void lines();
    void linesOfOnePieceTravelTogether();
    void stopMidStreamEndsWithoutMessage();
    void secondStartWhileRunningRefused();
    void openFailure_data();
    void openFailure();
    void silentInstrument();

private:
    QByteArray gb(const char *utf8) { return QTextCodec::codecForName("gb2312")->fromUnicode(QString::fromUtf8(utf8)); }
    void useSerial(const QString &port);

    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<PtyPair> m_pty;
    const QByteArray m_request = buildHistoryRequest(QDate(2024, 3, 1), QDate(2024, 3, 2));
};

void TstReadThread::init()
{
    m_dir = std::make_unique<TempWorkDir>();
    m_pty = std::make_unique<PtyPair>();
    QVERIFY(m_pty->isValid());
    useSerial(m_pty->slavePath());
}

void TstReadThread::cleanup()
{
    singleton<Config>::release();
    m_pty.reset();
    m_dir.reset();
}

void TstReadThread::useSerial(const QString &port)
{
    LinkSettings link = LinkSettings::overSerial(port, 255);
    link.serial.baudRate = 115200;
    storeLinkSettings(link);
}

void TstReadThread::lines_data()
{
    QTest::addColumn<Pieces>("pieces");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("CRLF lines and an unterminated last line in one piece")
        << Pieces { "2024-03-01 00:00:00,1.5\r\n2024-03-01 01:00:00,1.6\r\nEND" }
        << QStringList { "clear", "add:2024-03-01 00:00:00,1.5\r\n", "add:2024-03-01 01:00:00,1.6\r\n", "add:END",
               "finished" };
    QTest::newRow("a line split over two pieces") << Pieces { "2024-03-01 00",
        ":00:00,1.5\n" } << QStringList { "clear", "add:2024-03-01 00:00:00,1.5\n", "finished" };
    QTest::newRow("no line feed at all") << Pieces { "abc", "def" }
                                         << QStringList { "clear", "add:abcdef", "finished" };
    QTest::newRow("line feeds at piece edges")
        << Pieces { "a\n", "\nb", "\n" } << QStringList { "clear", "add:a\n", "add:\n", "add:b\n", "finished" };
    // A line that never ends is handed on at the cap, each piece a line of its own.
    const QByteArray endless(100000, 'x');
    QTest::newRow("endless line cut at the cap") << Pieces { endless.left(50000), endless.mid(50000), "y\n" }
                                                 << QStringList { "clear", "add:" + QString(65536, 'x') + "\n",
                                                        "add:" + QString(100000 - 65536, 'x') + "y\n", "finished" };
    const QByteArray chinese = gb("温度 25.1℃\r\n");
    QTest::newRow("GB2312 character split between pieces") << Pieces { chinese.left(1), chinese.mid(1, 2),
        chinese.mid(3) } << QStringList { "clear", QStringLiteral("add:温度 25.1℃\r\n"), "finished" };
}

void TstReadThread::lines()
{
    QFETCH(Pieces, pieces);
    QFETCH(QStringList, expected);

    ReadThread reader;

    reader.setLinkSettings(storedLinkSettings());
    ReaderLog log(reader);
    QVERIFY(reader.startQuery(m_request));
    QCOMPARE(m_pty->readMaster(m_request.size(), 5000).toHex(' '), m_request.toHex(' '));
    for (const QByteArray &piece : pieces) {
        QVERIFY(m_pty->writeMaster(piece));
        QTest::qWait(80); // separate reads on the program's side
    }
    QTRY_VERIFY_WITH_TIMEOUT(log.finished(), 5000);
    QCOMPARE(log.events, expected);
}

void TstReadThread::linesOfOnePieceTravelTogether()
{
    // 3,000 lines in one write: a handful of signals, never one per line, and
    // every signal but the last ends at a line end.
    QByteArray answer;
    for (int i = 0; i < 3000; ++i)
        answer += "2024-03-01 00:00:00," + gb("流量") + "," + QByteArray::number(i) + ",m3/h\r\n";
    answer += "tail";
    ReadThread reader;
    reader.setLinkSettings(storedLinkSettings());
    ReaderLog log(reader);
    QVERIFY(reader.startQuery(m_request));
    QCOMPARE(m_pty->readMaster(m_request.size(), 5000).size(), m_request.size());
    QVERIFY(m_pty->writeMaster(answer));
    QTRY_VERIFY_WITH_TIMEOUT(log.finished(), 5000);
    QCOMPARE(log.batches.join(QString()), QTextCodec::codecForName("gb2312")->toUnicode(answer));
    QCOMPARE(log.events.size(), 3000 + 3);
    QVERIFY2(log.batches.size() <= 100, qPrintable(QString::number(log.batches.size())));
    for (int i = 0; i + 1 < log.batches.size(); ++i)
        QVERIFY(log.batches.at(i).endsWith(QLatin1Char('\n')));
}

void TstReadThread::stopMidStreamEndsWithoutMessage()
{
    ReadThread reader;
    reader.setLinkSettings(storedLinkSettings());
    ReaderLog log(reader);
    QVERIFY(reader.startQuery(m_request));
    QCOMPARE(m_pty->readMaster(m_request.size(), 5000).size(), m_request.size());

    // An instrument that never falls silent: only the stop flag ends the run.
    int written = 0;
    QTimer instrument;
    connect(&instrument, &QTimer::timeout, this, [&] { m_pty->writeMaster(QByteArray::number(++written) + "\r\n"); });
    instrument.start(50);
    QTRY_VERIFY(log.events.size() >= 4);

    QElapsedTimer timer;
    timer.start();
    reader.stop();
    QTRY_VERIFY_WITH_TIMEOUT(log.finished(), 5000);
    QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
    QTest::qWait(300);
    instrument.stop();

    QCOMPARE(log.events.first(), QStringLiteral("clear"));
    QCOMPARE(log.events.last(), QStringLiteral("finished"));
    const QStringList lines = log.events.mid(1, log.events.size() - 2);
    QVERIFY(lines.size() < written);
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(lines.at(i), QStringLiteral("add:%1\r\n").arg(i + 1));
}

void TstReadThread::secondStartWhileRunningRefused()
{
    ReadThread reader;
    reader.setLinkSettings(storedLinkSettings());
    ReaderLog log(reader);
    QVERIFY(reader.startQuery(m_request));
    const QByteArray other = buildHistoryRequest(QDate(2030, 1, 1), QDate(2030, 1, 1));
    QVERIFY(!reader.startQuery(other));
    QCOMPARE(m_pty->readMaster(m_request.size(), 5000).toHex(' '), m_request.toHex(' '));
    QVERIFY(m_pty->writeMaster("one\n"));
    QTRY_VERIFY_WITH_TIMEOUT(log.finished(), 5000);
    QCOMPARE(m_pty->readMaster(0, 200), QByteArray());

    // Once finished it runs again, with the new request and a fresh buffer.
    log.events.clear();
    QVERIFY(reader.startQuery(other));
    QCOMPARE(m_pty->readMaster(other.size(), 5000).toHex(' '), other.toHex(' '));
    QVERIFY(m_pty->writeMaster("two"));
    QTRY_VERIFY_WITH_TIMEOUT(log.finished(), 5000);
    QCOMPARE(log.events, QStringList({ "clear", "add:two", "finished" }));
}

void TstReadThread::openFailure_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("error");
    // The target and the system's reason follow the specified text.
    const QString check = QStringLiteral(": 请检查端口名称，以及端口是否被其他程序占用。");
    QTest::newRow("missing device")
        << "/dev/vexa-no-such-port"
        << "打开串口失败: /dev/vexa-no-such-port\n/dev/vexa-no-such-port 115200 8N1 · 地址 255 "
           "(No such file or directory)"
            + check;
    QTest::newRow("no port set") << QString() << "串口打开失败\n未选择串口 · 地址 255" + check;
}

void TstReadThread::openFailure()
{
    QFETCH(QString, port);
    QFETCH(QString, error);
    useSerial(port);

    ReadThread reader;

    reader.setLinkSettings(storedLinkSettings());
    ReaderLog log(reader);
    QVERIFY(reader.startQuery(m_request));
    QTRY_VERIFY(log.finished());
    QCOMPARE(log.events, QStringList({ QStringLiteral("error:查询|") + error, "finished" }));
}

void TstReadThread::silentInstrument()
{
    // The one full time-out of this suite: the title is the reader's own.
    ReadThread reader;
    reader.setLinkSettings(storedLinkSettings());
    ReaderLog log(reader);
    QVERIFY(reader.startQuery(m_request));
    QTRY_VERIFY_WITH_TIMEOUT(log.finished(), 15000);
    QCOMPARE(log.events, QStringList({ "clear", QStringLiteral("error:查询|接受数据超时"), "finished" }));
}

QTEST_GUILESS_MAIN(TstReadThread)
#include "tst_readthread.moc"

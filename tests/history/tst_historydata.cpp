#include "base/filedialogs.h"
#include "base/settings.h"
#include "history/historydata.h"
#include "history/historyrequest.h"
#include "historyprofile.h"
#include "sim/historyresponder.h"
#include "sim/simrunner.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QApplication>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// Answers every save-file dialog shown while it lives with `path` (empty:
// cancel), retrying until the dialog has gone.
class FileDialogAnswer : public QObject
{
public:
    explicit FileDialogAnswer(const QString &path)
    {
        connect(&m_timer, &QTimer::timeout, this, [path] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            if (path.isEmpty()) {
                dialog->reject();
            } else {
                // Typed, as a person would; an absolute name needs no directory.
                if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    edit->setText(path);
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        m_timer.start(20);
    }

private:
    QTimer m_timer;
};

} // namespace

class TstHistoryData : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void form();
    void queryShowsTheMetersLines();
    void startAfterEndRefused();
    void secondQueryWhileRunningIgnored();
    void openFailureKeepsText();
    void leavingDuringQuery_data();
    void leavingDuringQuery();
    void exportSlots_data();
    void exportSlots();
    void exportNamesFollowTheDates();
    void appendTenThousandLines();
    void viewFollowsTheEnd_data();
    void viewFollowsTheEnd();
    void clearInTheMiddleOfATurn();
    void hugeLineShowsItsStart();
    void screenshots_data();
    void screenshots();

private:
    void startMeter(int pieceDelayMs = -1);
    QDateEdit *edit(HistoryData &d, const char *name) { return d.findChild<QDateEdit *>(QLatin1String(name)); }
    QPushButton *button(HistoryData &d, const char *name) { return d.findChild<QPushButton *>(QLatin1String(name)); }
    QTextEdit *text(HistoryData &d) { return d.findChild<QTextEdit *>(QStringLiteral("textEdit")); }
    void setRange(HistoryData &d, const QDate &start, const QDate &end)
    {
        edit(d, "dateStart")->setDate(start);
        edit(d, "dateEnd")->setDate(end);
    }
    void addText(HistoryData &d, const QString &line)
    {
        QMetaObject::invokeMethod(&d, "slotAddText", Q_ARG(QString, line));
    }

    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<SimRunner> m_meter;
};

void TstHistoryData::init()
{
    m_dir = std::make_unique<TempWorkDir>();
}

void TstHistoryData::cleanup()
{
    m_meter.reset();
    singleton<Config>::release();
    m_dir.reset();
}

void TstHistoryData::startMeter(int pieceDelayMs)
{
    m_meter = std::make_unique<SimRunner>(historyTestProfile());
    QVERIFY(m_meter->isStarted());
    if (pieceDelayMs >= 0)
        m_meter->call([pieceDelayMs](MeterSim &sim) {
            sim.state().extra[QStringLiteral("history/pieceDelayMs")] = pieceDelayMs;
            sim.state().extra[QStringLiteral("history/pieceBytes")] = 40;
        });
    QSettings *settings = appSettings();
    settings->setValue(QStringLiteral("communicate/udp"), 1);
    settings->setValue(QStringLiteral("udp/address"), QStringLiteral("127.0.0.1"));
    settings->setValue(QStringLiteral("udp/port"), m_meter->udpPort());
}

void TstHistoryData::form()
{
    HistoryData dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("历史数据"));
    QCOMPARE(dialog.size(), QSize(712, 528));
    QVERIFY(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    QVERIFY(text(dialog)->isReadOnly());
    for (const char *name : { "dateStart", "dateEnd" }) {
        QVERIFY(edit(dialog, name)->calendarPopup());
        QCOMPARE(edit(dialog, name)->date(), QDate::currentDate());
    }
    QCOMPARE(button(dialog, "bntQuery")->text(), QStringLiteral("查询"));
    QCOMPARE(button(dialog, "bntExportCSV")->text(), QStringLiteral("导出CSV"));
    QCOMPARE(button(dialog, "bntExportPDF")->text(), QStringLiteral("导出PDF"));
}

void TstHistoryData::queryShowsTheMetersLines()
{
    startMeter();
    HistoryData dialog;
    addText(dialog, QStringLiteral("old text\n"));
    const QDate day(2024, 3, 1);
    setRange(dialog, day, day); // equal dates are a valid range
    QLabel *status = dialog.findChild<QLabel *>(QStringLiteral("labelStatus"));
    QVERIFY(status);
    button(dialog, "bntQuery")->click();
    // Until the quiet spell has ended the answer, a second query is refused visibly.
    QVERIFY(!button(dialog, "bntQuery")->isEnabled());
    QCOMPARE(status->text(), QStringLiteral("正在查询…已收到 0 行"));
    QTRY_VERIFY(dialog.reader().isRunning() || m_meter->receivedFrames().size() == 1);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.reader().isRunning(), 15000);
    QTRY_VERIFY(button(dialog, "bntQuery")->isEnabled());
    QCOMPARE(status->text(), QStringLiteral("查询结束，共收到 26 行"));

    const QStringList lines
        = simHistoryLines(historyTestProfile().section(QStringLiteral("history")), day, day, QDateTime());
    QCOMPARE(lines.size(), 26); // header, 24 hourly records, one hand-written
    QCOMPARE(text(dialog)->toPlainText(), lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    QCOMPARE(m_meter->receivedFrames(), QList<QByteArray>({ buildHistoryRequest(day, day) }));
}

void TstHistoryData::startAfterEndRefused()
{
    startMeter();
    HistoryData dialog;
    ModalBoxCatcher boxes;
    setRange(dialog, QDate(2024, 3, 2), QDate(2024, 3, 1));
    button(dialog, "bntQuery")->click();
    QCOMPARE(boxes.boxes().size(), 1);
    const ModalBoxCatcher::Box box = boxes.boxes().first();
    QCOMPARE(box.title, QStringLiteral("查询"));
    QCOMPARE(box.text, QStringLiteral("起始日期应该小于或等于结束日期"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.okText, QStringLiteral("确定"));
    QVERIFY(!dialog.reader().isRunning());
    QVERIFY(!m_meter->waitForFrames(1, 300));
}

void TstHistoryData::secondQueryWhileRunningIgnored()
{
    startMeter(50);
    HistoryData dialog;
    ModalBoxCatcher boxes;
    setRange(dialog, QDate(2024, 3, 1), QDate(2024, 3, 3));
    button(dialog, "bntQuery")->click();
    QVERIFY(dialog.reader().isRunning());
    QVERIFY(m_meter->waitForFrames(1, 5000));
    button(dialog, "bntQuery")->click();
    QTest::qWait(300);
    QCOMPARE(m_meter->receivedFrames().size(), 1);
    QCOMPARE(boxes.boxes().size(), 0);
}

void TstHistoryData::openFailureKeepsText()
{
    QSettings *settings = appSettings();
    settings->setValue(QStringLiteral("communicate/udp"), 0);
    settings->setValue(QStringLiteral("serial/port"), QStringLiteral("/dev/vexa-no-such-port"));
    HistoryData dialog;
    ModalBoxCatcher boxes;
    addText(dialog, QStringLiteral("kept 1\r\n"));
    button(dialog, "bntQuery")->click();
    QTRY_COMPARE(boxes.boxes().size(), 1);
    QTRY_VERIFY(!dialog.reader().isRunning());
    QTest::qWait(50);
    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes().first().title, QStringLiteral("查询"));
    // The port's own message first; the target and what to check follow.
    QCOMPARE(boxes.boxes().first().text,
        QStringLiteral("打开串口失败: /dev/vexa-no-such-port\n/dev/vexa-no-such-port 9600 8N1 · 地址 255 "
                       "(No such file or directory): "
                       "请检查端口名称，以及端口是否被其他程序占用。"));
    QCOMPARE(text(dialog)->toPlainText(), QStringLiteral("kept 1\n"));
    QTRY_COMPARE(
        dialog.findChild<QLabel *>(QStringLiteral("labelStatus"))->text(), QStringLiteral("查询失败，已收到 0 行"));
}

void TstHistoryData::leavingDuringQuery_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close button") << "close";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("main window goes away") << "parent";
}

void TstHistoryData::leavingDuringQuery()
{
    QFETCH(QString, how);
    startMeter(50); // a long, slow answer

    auto *parent = new QWidget;
    auto *dialog = new HistoryData(parent);
    bool finished = false;
    connect(
        &dialog->reader(), &QThread::finished, this, [&finished] { finished = true; }, Qt::DirectConnection);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    setRange(*dialog, QDate(2024, 1, 1), QDate(2024, 3, 31));
    button(*dialog, "bntQuery")->click();
    QTRY_VERIFY_WITH_TIMEOUT(text(*dialog)->document()->blockCount() > 3, 10000);

    QElapsedTimer timer;
    timer.start();
    if (how == QLatin1String("close")) {
        QVERIFY(dialog->close());
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(dialog, Qt::Key_Escape);
    } else {
        delete parent; // takes the dialog with it
        QVERIFY(finished);
        return;
    }
    QVERIFY(!dialog->isVisible());
    QVERIFY(finished);
    QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
    delete parent;
}

void TstHistoryData::exportSlots_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("file"); // relative to the work dir; empty: cancel; "fifo...": made a FIFO first
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QByteArray>("written"); // CSV content, or "%PDF" for a PDF
    QTest::addColumn<int>("sizeLimit"); // largest file the process may write (RLIMIT_FSIZE), 0: none

    const QString missing = qt_error_string(ENOENT);
    const QString fifo = QStringLiteral("这是一个管道(FIFO),只能写入普通文件");
    QTest::newRow("CSV") << "slotExportCSV"
                         << "a,1\r\nb,2\r\n"
                         << "h.csv" << QStringList() << QByteArray("a,1\nb,2\n") << 0;
    QTest::newRow("CSV cancelled") << "slotExportCSV"
                                   << "a,1\n"
                                   << "" << QStringList() << QByteArray() << 0;
    QTest::newRow("CSV cannot open") << "slotExportCSV"
                                     << "a,1\n"
                                     << "missing/h.csv" << QStringList { "导出配置|打开文件失败: %1\n" + missing }
                                     << QByteArray() << 0;
    // The system's reason, not an unknown error, and what fitted stays.
    QTest::newRow("CSV on a full disk") << "slotExportCSV" << QString("x,1\n").repeated(3000) << "h.csv"
                                        << QStringList { "导出配置|写入文件失败: %1\n" + qt_error_string(EFBIG) }
                                        << QByteArray("x,1\n").repeated(3000).left(4096) << 4096;
    // Refused by name: nothing waits in open() for a reader. (The file
    // dialog first asks whether to replace what is there.)
    const QString replace = QStringLiteral("导出历史数据|%1 already exists.\nDo you want to replace it?");
    QTest::newRow("CSV into a FIFO") << "slotExportCSV"
                                     << "a,1\n"
                                     << "fifo.csv"
                                     << QStringList { replace.arg("fifo.csv"), "导出配置|打开文件失败: %1\n" + fifo }
                                     << QByteArray() << 0;
    QTest::newRow("PDF") << "slotExportPDF"
                         << "2024-03-01 08:00:00,1\n"
                         << "h.pdf" << QStringList() << QByteArray("%PDF") << 0;
    QTest::newRow("PDF single field") << "slotExportPDF"
                                      << "alpha\nbeta\n"
                                      << "h.pdf" << QStringList { "导出配置|导出数据失败，数据格式错误" }
                                      << QByteArray("%PDF") << 0;
    QTest::newRow("PDF cannot open") << "slotExportPDF"
                                     << "a b\n"
                                     << "missing/h.pdf" << QStringList { "导出配置|打开文件失败: %1\n" + missing }
                                     << QByteArray() << 0;
    // The finished document would be renamed over it: a FIFO (or a device)
    // must not be replaced by a regular file.
    QTest::newRow("PDF onto a FIFO") << "slotExportPDF"
                                     << "a b\n"
                                     << "fifo.pdf"
                                     << QStringList { replace.arg("fifo.pdf"), "导出配置|打开文件失败: %1\n" + fifo }
                                     << QByteArray() << 0;
}

void TstHistoryData::exportSlots()
{
    QFETCH(QString, slot);
    QFETCH(QString, text);
    QFETCH(QString, file);
    QFETCH(QStringList, boxes);
    QFETCH(QByteArray, written);
    QFETCH(int, sizeLimit);

    HistoryData dialog;
    addText(dialog, text);
    ModalBoxCatcher catcher;
    const QString path = file.isEmpty() ? QString() : m_dir->filePath(file);
    if (file.startsWith(QLatin1String("fifo")))
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    FileDialogAnswer answer(path);
    rlimit previous {};
    if (sizeLimit > 0) {
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &previous) == 0);
        rlimit limited = previous;
        limited.rlim_cur = rlim_t(sizeLimit);
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &limited) == 0);
    }
    const bool invoked = QMetaObject::invokeMethod(&dialog, slot.toLatin1().constData());
    if (sizeLimit > 0)
        ::setrlimit(RLIMIT_FSIZE, &previous);
    QVERIFY(invoked);

    QStringList seen;
    for (const ModalBoxCatcher::Box &box : catcher.boxes())
        seen << box.title + QLatin1Char('|') + box.text;
    for (QString &box : boxes)
        box.replace(QLatin1String("%1"), path);
    QCOMPARE(seen, boxes);
    if (file.startsWith(QLatin1String("fifo"))) {
        struct stat status
        {
        };
        QVERIFY(::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode));
    }
    const QByteArray content = file.startsWith(QLatin1String("fifo")) ? QByteArray() : m_dir->readFile(file);
    if (written.startsWith("%PDF"))
        QVERIFY(content.startsWith(written));
    else
        QCOMPARE(content, written);
    QStringList files = QDir(m_dir->path()).entryList(QDir::Files);
    files.removeAll(QStringLiteral("config.ini")); // the folder chosen is kept there
    QCOMPARE(files.size(), written.isEmpty() ? 0 : 1);
}

void TstHistoryData::exportNamesFollowTheDates()
{
    HistoryData dialog;
    setRange(dialog, QDate(2024, 3, 1), QDate(2024, 3, 31));
    addText(dialog, QStringLiteral("2024-03-01 08:00:00,1\n"));
    ModalBoxCatcher catcher;
    // Typed without suffix: the file gets the one of its kind.
    setNextFileNames({ m_dir->filePath(QStringLiteral("h")) });
    QVERIFY(QMetaObject::invokeMethod(&dialog, "slotExportPDF"));
    QCOMPARE(askedFiles().size(), 1);
    QCOMPARE(askedFiles().at(0).proposed, QStringLiteral("history_20240301_20240331.pdf"));
    QVERIFY(m_dir->readFile(QStringLiteral("h.pdf")).startsWith("%PDF"));
    // The next export starts in the folder chosen.
    setNextFileNames({ QString() });
    QVERIFY(QMetaObject::invokeMethod(&dialog, "slotExportCSV"));
    QCOMPARE(askedFiles().at(0).proposed, m_dir->filePath(QStringLiteral("history_20240301_20240331.csv")));
    QCOMPARE(catcher.texts(), QStringList());
}

void TstHistoryData::appendTenThousandLines()
{
    const QStringList lines = simHistoryLines(
        historyTestProfile().section(QStringLiteral("history")), QDate(2024, 1, 1), QDate(2024, 3, 31), QDateTime());
    HistoryData dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 10000; ++i)
        addText(dialog, lines.at(i % lines.size()) + QStringLiteral("\r\n"));
    QCoreApplication::processEvents();
    const qint64 ms = timer.elapsed();
    qInfo("10000 lines appended to the view in %lld ms", ms);
    QCOMPARE(text(dialog)->document()->blockCount(), 10001);
    QVERIFY(ms < 120000);
}

void TstHistoryData::viewFollowsTheEnd_data()
{
    QTest::addColumn<int>("linesPerTurn");
    QTest::addColumn<bool>("userScrolledUp");
    QTest::newRow("every line in its own turn") << 1 << false;
    QTest::newRow("all lines in one turn") << 300 << false;
    QTest::newRow("bursts") << 37 << false;
    QTest::newRow("user had scrolled up and selected") << 300 << true;
}

void TstHistoryData::viewFollowsTheEnd()
{
    QFETCH(int, linesPerTurn);
    QFETCH(bool, userScrolledUp);
    // The reference view gets each line the plain way: its cursor moved to
    // the end, then the text inserted. The dialog's view must end up the same.
    HistoryData dialog;
    HistoryData reference;
    for (HistoryData *d : { &dialog, &reference }) {
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d));
    }
    QTextEdit *view = text(dialog);
    QTextEdit *plain = text(reference);
    const auto add = [&](int count) {
        for (int i = 0; i < count; ++i) {
            const QString line = QStringLiteral("2024-03-01 08:%1:00,%2,%3\r\n").arg(i % 60).arg(i).arg(i * 7);
            addText(dialog, line);
            QTextCursor cursor = plain->textCursor();
            cursor.movePosition(QTextCursor::End);
            plain->setTextCursor(cursor);
            plain->insertPlainText(line);
            // The line is in the document at once, before the turn ends.
            QCOMPARE(view->document()->blockCount(), plain->document()->blockCount());
            if ((i + 1) % linesPerTurn == 0)
                QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
    };
    add(300);
    if (userScrolledUp) {
        for (QTextEdit *edit : { view, plain }) {
            QTextCursor selection(edit->document());
            selection.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 3);
            edit->setTextCursor(selection);
            edit->verticalScrollBar()->setValue(0);
        }
        add(5);
    }
    QCOMPARE(view->toPlainText(), plain->toPlainText());
    QCOMPARE(view->textCursor().position(), view->document()->characterCount() - 1);
    QVERIFY(!view->textCursor().hasSelection());
    QVERIFY(plain->verticalScrollBar()->maximum() > 0);
    QCOMPARE(view->verticalScrollBar()->maximum(), plain->verticalScrollBar()->maximum());
    QCOMPARE(view->verticalScrollBar()->value(), plain->verticalScrollBar()->value());
    QCOMPARE(view->horizontalScrollBar()->value(), plain->horizontalScrollBar()->value());
}

void TstHistoryData::clearInTheMiddleOfATurn()
{
    // A new query clears the view while lines of the old one may still be
    // waiting for the end of the turn.
    HistoryData dialog;
    dialog.show();
    addText(dialog, QStringLiteral("old 1\r\n"));
    addText(dialog, QStringLiteral("old 2\r\n"));
    QVERIFY(QMetaObject::invokeMethod(&dialog, "slotClearText"));
    QCOMPARE(text(dialog)->toPlainText(), QString());
    addText(dialog, QStringLiteral("new 1\r\n"));
    QCOMPARE(text(dialog)->toPlainText(), QStringLiteral("new 1\n"));
    QCoreApplication::processEvents();
    addText(dialog, QStringLiteral("new 2\r\n"));
    QCoreApplication::processEvents();
    QCOMPARE(text(dialog)->toPlainText(), QStringLiteral("new 1\nnew 2\n"));
    QCOMPARE(text(dialog)->textCursor().position(), text(dialog)->document()->characterCount() - 1);
}

void TstHistoryData::hugeLineShowsItsStart()
{
    HistoryData dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QElapsedTimer timer;
    timer.start();
    addText(dialog, QString(1000000, QLatin1Char('x')) + QStringLiteral("\r\n"));
    addText(dialog, QStringLiteral("next\r\n"));
    QCoreApplication::processEvents();
    QCOMPARE(text(dialog)->toPlainText(),
        QString(4096, QLatin1Char('x')) + QStringLiteral("…（共 1000002 个字符）\nnext\n"));
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

void TstHistoryData::screenshots_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("zh_CN") << "";
    QTest::newRow("en_US") << "en_US";
    QTest::newRow("zh_TW") << "zh_TW";
}

void TstHistoryData::screenshots()
{
    // Pictures for people to look at: only when asked for.
    const QString target = qEnvironmentVariable("HISTORY_SHOTS");
    if (target.isEmpty())
        QSKIP("set HISTORY_SHOTS to a folder to get screenshots");
    QFETCH(QString, language);
    QTranslator translator;
    if (!language.isEmpty()) {
        QVERIFY(translator.load(QStringLiteral(VEXA_QM_DIR "/") + language + QStringLiteral(".qm")));
        QCoreApplication::installTranslator(&translator);
    }
    HistoryData dialog;
    setRange(dialog, QDate(2024, 3, 1), QDate(2024, 3, 2));
    for (const QString &line : simHistoryLines(historyTestProfile().section(QStringLiteral("history")),
             QDate(2024, 3, 1), QDate(2024, 3, 2), QDateTime()))
        addText(dialog, line + QStringLiteral("\r\n"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    text(dialog)->verticalScrollBar()->setValue(0); // the header line on top
    QVERIFY(dialog.grab().save(target + QStringLiteral("/history_%1.png").arg(QTest::currentDataTag())));
    QCoreApplication::removeTranslator(&translator);
}

QTEST_MAIN(TstHistoryData)
#include "tst_historydata.moc"

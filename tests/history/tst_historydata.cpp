#include "app/mainwindow.h"
#include "base/filedialogs.h"
#include "base/settings.h"
#include "history/historychart.h"
#include "history/historydata.h"
#include "history/historyrequest.h"
#include "history/servicereportdialog.h"
#include "historyprofile.h"
#include "items/journal.h"
#include "link/commsettings.h"
#include "sim/historyresponder.h"
#include "sim/simrunner.h"
#include "tests/support/meterlink.h"
#include "tests/support/modalboxcatcher.h"
#include "tests/support/tempworkdir.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QProcess>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

#include <qwt_plot.h>
#include <qwt_plot_textlabel.h>

#include <cerrno>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QString pdfText(const QString &pdf)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QStringList seriesLabels(const HistoryChart &chart)
{
    QStringList labels;
    for (const HistorySeries &series : chart.series())
        labels << QStringLiteral("%1:%2").arg(series.label()).arg(series.size());
    return labels;
}

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
    void datesTypedAsShownInEveryLanguage_data();
    void datesTypedAsShownInEveryLanguage();
    void appendTenThousandLines();
    void viewFollowsTheEnd_data();
    void viewFollowsTheEnd();
    void clearInTheMiddleOfATurn();
    void hugeLineShowsItsStart();
    void queryFillsTableAndChart();
    void badInputShownAndCounted();
    void chartReadsPointsAndMarks();
    void exportChart_data();
    void exportChart();
    void serviceReport();
    void serviceReportFromTheMenu();
    void screenshots_data();
    void screenshots();

private:
    void startMeter(int pieceDelayMs = -1);
    QDateEdit *edit(HistoryData &d, const char *name) { return d.findChild<QDateEdit *>(QLatin1String(name)); }
    QPushButton *button(HistoryData &d, const char *name) { return d.findChild<QPushButton *>(QLatin1String(name)); }
    QTextEdit *text(HistoryData &d) { return d.findChild<QTextEdit *>(QStringLiteral("textEdit")); }
    QTableView *table(HistoryData &d) { return d.findChild<QTableView *>(QStringLiteral("historyTable")); }
    HistoryChart *chart(HistoryData &d) { return d.findChild<HistoryChart *>(QStringLiteral("historyChart")); }
    QString label(HistoryData &d, const char *name) { return d.findChild<QLabel *>(QLatin1String(name))->text(); }
    void addLines(HistoryData &d, const QStringList &lines)
    {
        addText(d, lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        QTRY_COMPARE(table(d)->model()->rowCount(), lines.size());
        QCoreApplication::processEvents();
    }
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
    connectToMeter(*m_meter, true);
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
    storeLinkSettings(LinkSettings::overSerial(QStringLiteral("/dev/vexa-no-such-port"), 255));
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
    // Many lines reach the view over several turns; the export takes what it shows.
    QTRY_VERIFY(this->text(dialog)->toPlainText().count(QLatin1Char('\n')) >= text.count(QLatin1Char('\n')) - 1);
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

void TstHistoryData::datesTypedAsShownInEveryLanguage_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("june"); // the calendar's name of the month
    QTest::newRow("Simplified Chinese") << "zh_CH"
                                        << "六月";
    QTest::newRow("English") << "en_US"
                             << "June";
    QTest::newRow("Traditional Chinese") << "zh_TW"
                                         << "6月";
}

void TstHistoryData::datesTypedAsShownInEveryLanguage()
{
    QFETCH(QString, code);
    QFETCH(QString, june);
    const QLocale before;
    appSettings()->setValue(QStringLiteral("language/language"), code);
    {
        // The window's language is the calendars' language from then on.
        MainWindow window;
    }
    HistoryData dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QDateEdit *start = edit(dialog, "dateStart");
    QCOMPARE(start->displayFormat(), QStringLiteral("yyyy-MM-dd"));
    // Typed over the year as shown, separators and all, or without them.
    start->setFocus();
    start->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(start, QStringLiteral("2024-06-01"));
    QCOMPARE(start->date(), QDate(2024, 6, 1));
    QCOMPARE(start->text(), QStringLiteral("2024-06-01"));
    start->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(start, QStringLiteral("20230915"));
    QCOMPARE(start->date(), QDate(2023, 9, 15));
    QCOMPARE(start->calendarWidget()->locale().standaloneMonthName(6), june);
    QLocale::setDefault(before);
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
    // More than one turn's work: the rest follows in the next turns.
    QTRY_COMPARE(text(dialog)->document()->blockCount(), 10001);
    const qint64 ms = timer.elapsed();
    qInfo("10000 lines appended to the view in %lld ms", ms);
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
            if ((i + 1) % linesPerTurn == 0)
                QCoreApplication::processEvents();
        }
        // What one turn has no time for follows in the next ones.
        QTRY_COMPARE(view->document()->blockCount(), plain->document()->blockCount());
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
    QTRY_COMPARE(text(dialog)->toPlainText(),
        QString(4096, QLatin1Char('x')) + QStringLiteral("…（共 1000002 个字符）\nnext\n"));
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

void TstHistoryData::queryFillsTableAndChart()
{
    startMeter();
    HistoryData dialog;
    const QDate from(2024, 3, 1);
    const QDate to(2024, 3, 2);
    setRange(dialog, from, to);
    button(dialog, "bntQuery")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.reader().isRunning(), 15000);
    const QStringList lines
        = simHistoryLines(historyTestProfile().section(QStringLiteral("history")), from, to, QDateTime());
    QCOMPARE(lines.size(), 50); // header, 48 hourly records, the power cut at 12:30

    QAbstractItemModel *model = table(dialog)->model();
    QTRY_COMPARE(model->rowCount(), 50);
    QCOMPARE(model->columnCount(), 4);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("时间"));
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("瞬时流量(m3/h)"));
    for (int row : { 0, 1, 49 }) {
        const QStringList fields = lines.at(row).split(QLatin1Char(','));
        for (int column = 0; column < fields.size(); ++column)
            QCOMPARE(model->index(row, column).data().toString(), fields.at(column));
    }
    QTRY_COMPARE(label(dialog, "historyTableNote"), QStringLiteral("共 50 行，其中 1 行的时间无法识别（仍列在表中）"));
    // The header row has no time: it stays, after the records.
    table(dialog)->sortByColumn(0, Qt::AscendingOrder);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("2024-03-01 00:00:00"));
    QCOMPARE(model->index(13, 0).data().toString(), QStringLiteral("2024-03-01 12:30:00"));
    QCOMPARE(model->index(49, 0).data().toString(), QStringLiteral("日期时间"));
    table(dialog)->sortByColumn(3, Qt::DescendingOrder);
    double previous = 1e9;
    for (int row = 0; row < 48; ++row) {
        const double value = model->index(row, 3).data().toDouble();
        QVERIFY(value <= previous);
        previous = value;
    }

    HistoryChart *c = chart(dialog);
    QTRY_COMPARE(seriesLabels(*c), QStringList({ "瞬时流量 (m3/h):49", "累积流量 (m3):48", "温度 (℃):48" }));
    QCOMPARE(c->plotCount(), 3);
    const QwtPlotItemList captions = c->plot(0)->itemList(QwtPlotItem::Rtti_PlotTextLabel);
    QCOMPARE(captions.size(), 1);
    QCOMPARE(static_cast<QwtPlotTextLabel *>(captions.first())->text().text(), QStringLiteral("瞬时流量 (m3/h)"));
    QCOMPARE(label(dialog, "historyChartNote"), QStringLiteral("未绘出: 1 行没有时间"));
    auto *stats = dialog.findChild<QTableWidget *>(QStringLiteral("historyChartStats"));
    QCOMPARE(stats->rowCount(), 3);
    QCOMPARE(stats->item(0, 5)->text(), QStringLiteral("49"));
    QCOMPARE(stats->item(0, 2)->text(), QStringLiteral("0")); // the power cut
    // Zoomed to the first day: the numbers follow the visible range.
    c->setView(QDateTime(from, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch(),
        QDateTime(from, QTime(23, 0), Qt::UTC).toMSecsSinceEpoch());
    QCOMPARE(stats->item(1, 5)->text(), QStringLiteral("24"));
}

void TstHistoryData::badInputShownAndCounted()
{
    HistoryData dialog;
    addLines(dialog,
        { QStringLiteral("2018-03-01 08:00:00,瞬时流量,12.50,m3/h"),
            QStringLiteral("2018-03-01 09:00:00,瞬时流量,13.50,m3/h"),
            QStringLiteral("2018-03-01 08:30:00,瞬时流量,11.00,m3/h"), // out of order
            QStringLiteral("2018-03-01 09:00:00,瞬时流量,13.50,m3/h"), // twice
            QStringLiteral("2018-03-01 08:00:00,累计流量,1000,m3"),
            QStringLiteral("2018-03-01 10:00:00,瞬时流量,3.2,L/s"), // another unit
            QStringLiteral("2018-03-01 10:00:00,瞬时流量,abc,m3/h"), QStringLiteral("no time,瞬时流量,1,m3/h"),
            QStringLiteral("2018/3/1 11:00,流量 7.5 m3/h,累积 1001.5 m3") });
    QTRY_COMPARE(label(dialog, "historyTableNote"), QStringLiteral("共 9 行，其中 1 行的时间无法识别（仍列在表中）"));
    QTRY_COMPARE(seriesLabels(*chart(dialog)),
        QStringList({ "瞬时流量 (m3/h):4", "累计流量 (m3):1", "瞬时流量 (L/s):1", "流量 (m3/h):1", "累积 (m3):1" }));
    const HistorySeries &flow = chart(dialog)->series().first();
    QCOMPARE(flow.values, QVector<double>({ 12.5, 11.0, 13.5, 13.5 }));
    QCOMPARE(chart(dialog)->plotCount(), 3);
    QCOMPARE(label(dialog, "historyChartNote"), QStringLiteral("未绘出: 1 行没有时间，1 行没有数值"));
}

void TstHistoryData::chartReadsPointsAndMarks()
{
    // A write to this meter inside the range is a mark; another meter's is not.
    const LinkSettings link = readLinkSettings(*appSettings());
    Journal journal;
    const QDateTime written(QDate(2018, 3, 1), QTime(8, 30));
    QVERIFY(journal.append(
        { written, link.describe(), link.deviceAddress, "VX-200", "", 5, "波特率", "9600", "19200", "19200", "ok" }));
    QVERIFY(journal.append({ written, "UDP 10.0.0.9:1", 1, "VX-200", "", 5, "波特率", "9600", "4800", "4800", "ok" }));
    HistoryData dialog;
    setRange(dialog, QDate(2018, 3, 1), QDate(2018, 3, 1));
    dialog.resize(900, 700);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.findChild<QTabWidget *>(QStringLiteral("historyTabs"))->setCurrentIndex(2);
    QStringList lines;
    const QDateTime start(QDate(2018, 3, 1), QTime(0, 0));
    for (int minute = 0; minute < 20000; ++minute)
        lines << start.addSecs(60 * minute).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                + QStringLiteral(",瞬时流量,%1,m3/h").arg(minute % 97);
    addLines(dialog, lines);
    HistoryChart *c = chart(dialog);
    QCOMPARE(c->marks().size(), 1);
    QCOMPARE(c->series().first().size(), 20000);
    // Drawn decimated: a few points per pixel column, never all of them.
    QVERIFY2(
        c->drawnPoints(0) <= 4 * c->plot(0)->canvas()->width() + 2, qPrintable(QString::number(c->drawnPoints(0))));
    QWidget *canvas = c->plot(0)->canvas();
    const auto move = [&](double time) {
        const QPoint at(int(c->plot(0)->transform(QwtPlot::xBottom, time)), canvas->height() / 2);
        QMouseEvent event(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    };
    move(QDateTime(QDate(2018, 3, 1), QTime(8, 30), Qt::UTC).toMSecsSinceEpoch());
    QCOMPARE(c->cursorText(), QStringLiteral("2018-03-01 08:30:00  05 波特率: 9600 → 19200 (ok)"));
    // Wheel zooms around the pointer; a double click shows everything again.
    const double fullWidth = c->viewTo() - c->viewFrom();
    QWheelEvent wheel(QPointF(canvas->width() / 2, 10), canvas->mapToGlobal(QPoint(canvas->width() / 2, 10)), QPoint(),
        QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    QVERIFY(qAbs((c->viewTo() - c->viewFrom()) / fullWidth - 0.8) < 0.01);
    move(QDateTime(QDate(2018, 3, 6), QTime(10, 0), Qt::UTC).toMSecsSinceEpoch());
    // The nearest point of the pixel column: its time and value.
    const QStringList read = c->cursorText().split(QStringLiteral("  "));
    QCOMPARE(read.size(), 2);
    const qint64 readAt = QDateTime::fromString(read.at(0), QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                              .secsTo(QDateTime(QDate(2018, 3, 6), QTime(10, 0)));
    // A pixel is many minutes wide here.
    QVERIFY2(qAbs(readAt) <= 3600, qPrintable(c->cursorText()));
    const int minute = 5 * 1440 + 600 - int(readAt / 60);
    QCOMPARE(read.at(1), QStringLiteral("瞬时流量: %1 m3/h").arg(minute % 97));
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QCOMPARE(c->viewTo() - c->viewFrom(), fullWidth);
    // A band drawn with the right button: its two edges become the view.
    const double left = c->plot(0)->invTransform(QwtPlot::xBottom, 100);
    const double right = c->plot(0)->invTransform(QwtPlot::xBottom, 300);
    QTest::mousePress(canvas, Qt::RightButton, Qt::NoModifier, QPoint(100, 10));
    QMouseEvent band(QEvent::MouseMove, QPoint(300, 40), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &band);
    QTest::mouseRelease(canvas, Qt::RightButton, Qt::NoModifier, QPoint(300, 40));
    QVERIFY(qAbs(c->viewFrom() - left) < 1000 && qAbs(c->viewTo() - right) < 1000);
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    // Dragging pans by what the pointer moved.
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(200, 10));
    QMouseEvent drag(QEvent::MouseMove, QPoint(100, 10), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &drag);
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(100, 10));
    QVERIFY(qAbs((c->viewFrom() - c->plot(0)->invTransform(QwtPlot::xBottom, 0))) < fullWidth / 100);
    QVERIFY(c->viewFrom() > QDateTime(QDate(2018, 3, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch());
}

void TstHistoryData::exportChart_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("PNG") << "chart.png";
    QTest::newRow("PDF") << "chart.pdf";
}

void TstHistoryData::exportChart()
{
    QFETCH(QString, file);
    HistoryData dialog;
    KnownMeterValues values;
    values.noteRead(QStringLiteral("x"), { 0, { QStringLiteral("设备名称"), QStringLiteral("北泵房") } });
    values.noteRead(QStringLiteral("x"), { 1, { QStringLiteral("设备型号"), QStringLiteral("VX-200") } });
    dialog.setMeterValues(values);
    setRange(dialog, QDate(2024, 3, 1), QDate(2024, 3, 2));
    addLines(dialog,
        simHistoryLines(historyTestProfile().section(QStringLiteral("history")), QDate(2024, 3, 1), QDate(2024, 3, 2),
            QDateTime()));
    setNextFileNames({ m_dir->filePath(file) });
    button(dialog, "bntExportChart")->click();
    QCOMPARE(askedFiles().at(0).proposed, QStringLiteral("history_20240301_20240302_chart.png"));
    if (file.endsWith(QLatin1String(".png"))) {
        const QImage image(m_dir->filePath(file));
        QCOMPARE(image.size(), QSize(1600, 1000));
        // Curves in their colours, not an empty page.
        QVERIFY(image.pixelColor(800, 500) != QColor(Qt::black));
        return;
    }
    const QString text = pdfText(m_dir->filePath(file)).simplified();
    for (const QString &expected :
        { QStringLiteral("历史数据 2024-03-01 至 2024-03-02"), QStringLiteral("VX-200"), QStringLiteral("北泵房"),
            storedLinkSettings().targetText(), QStringLiteral("瞬时流量 (m3/h)"), QStringLiteral("温度 (℃)") })
        QVERIFY2(text.contains(expected), qPrintable(expected + QLatin1String(" not in: ") + text.left(400)));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), { m_dir->filePath(file) });
    QVERIFY(info.waitForFinished(30000));
    const QString pages = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(pages.contains(QStringLiteral("Page size:       842 x 595 pts (A4)")), qPrintable(pages.right(200)));
}

void TstHistoryData::serviceReport()
{
    const LinkSettings link = readLinkSettings(*appSettings());
    const QDateTime now = QDateTime::currentDateTime();
    Journal journal;
    QVERIFY(journal.append({ now.addSecs(-60), link.describe(), link.deviceAddress, "VX-200", "北泵房", 5, "波特率",
        "9600", "19200", "19200", "ok" }));
    QVERIFY(journal.append({ now.addSecs(-30), link.describe(), link.deviceAddress, "VX-200", "北泵房", -1, "clock", "",
        "2024-03-02 10:00:00", "OK", "ok" }));
    QVERIFY(journal.append({ now.addDays(-1), link.describe(), link.deviceAddress, "VX-200", "北泵房", 6, "报警上限",
        "1", "2", "2", "ok" }));
    QVERIFY(journal.append({ now, "UDP 10.0.0.9:1", 1, "VX-100", "", 7, "量程", "1", "2", "2", "refused" }));
    HistoryData dialog;
    KnownMeterValues values;
    values.noteRead(QStringLiteral("x"), { 1, { QStringLiteral("设备型号"), QStringLiteral("VX-200") } });
    values.noteRead(QStringLiteral("x"), { 5, { QStringLiteral("波特率"), QStringLiteral("19200") } });
    dialog.setMeterValues(values);
    setRange(dialog, QDate(2024, 3, 1), QDate(2024, 3, 2));
    addLines(dialog,
        simHistoryLines(historyTestProfile().section(QStringLiteral("history")), QDate(2024, 3, 1), QDate(2024, 3, 2),
            QDateTime()));
    setNextFileNames({ m_dir->filePath(QStringLiteral("report")) });
    ModalBoxCatcher boxes;
    button(dialog, "bntServiceReport")->click();
    QCOMPARE(boxes.texts(), QStringList());
    QVERIFY(askedFiles().at(0).proposed.startsWith(QStringLiteral("service_report_")));
    const QString text = pdfText(m_dir->filePath(QStringLiteral("report.pdf"))).simplified();
    for (const QString &expected :
        { QStringLiteral("服务报告"), QStringLiteral("设备型号 VX-200"), QStringLiteral(" 05 波特率 19200 "),
            QStringLiteral("05 波特率 9600 → 19200 ok"), QStringLiteral("时钟设为 2024-03-02 10:00:00 (ok)"),
            QStringLiteral("历史数据 2024-03-01 至 2024-03-02"), QStringLiteral("瞬时流量 (m3/h)") })
        QVERIFY2(text.contains(expected), qPrintable(expected + QLatin1String(" not in: ") + text));
    // Yesterday's write and another meter's are not this visit.
    QVERIFY(!text.contains(QStringLiteral("报警上限")));
    QVERIFY(!text.contains(QStringLiteral("量程")));
}

void TstHistoryData::serviceReportFromTheMenu()
{
    // The small dialog of 操作: the last 7 days by default, the file asked
    // first, then the history read and the report written.
    startMeter();
    KnownMeterValues values;
    values.noteRead(QStringLiteral("x"), { 1, { QStringLiteral("设备型号"), QStringLiteral("VX-200") } });
    ServiceReportDialog dialog(values);
    auto *start = dialog.findChild<QDateEdit *>(QStringLiteral("dateStart"));
    auto *end = dialog.findChild<QDateEdit *>(QStringLiteral("dateEnd"));
    QCOMPARE(end->date(), QDate::currentDate());
    QCOMPARE(start->date(), QDate::currentDate().addDays(-6));
    start->setDate(QDate(2024, 3, 1));
    end->setDate(QDate(2024, 3, 1));
    setNextFileNames({ QString() }); // cancelled: nothing is read
    dialog.accept();
    QVERIFY(!dialog.reader().isRunning());
    QVERIFY(!m_meter->waitForFrames(1, 200));
    setNextFileNames({ m_dir->filePath(QStringLiteral("visit.pdf")) });
    dialog.accept();
    QVERIFY(dialog.reader().isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.reader().isRunning(), 15000);
    QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.writtenFile(), m_dir->filePath(QStringLiteral("visit.pdf")));
    QCOMPARE(
        m_meter->receivedFrames(), QList<QByteArray>({ buildHistoryRequest(QDate(2024, 3, 1), QDate(2024, 3, 1)) }));
    const QString text = pdfText(m_dir->filePath(QStringLiteral("visit.pdf"))).simplified();
    for (const QString &expected : { QStringLiteral("设备型号 VX-200"),
             QStringLiteral("历史数据 2024-03-01 至 2024-03-01"), QStringLiteral("瞬时流量 (m3/h)") })
        QVERIFY2(text.contains(expected), qPrintable(expected + QLatin1String(" not in: ") + text));
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
    const QString tag = QLatin1String(QTest::currentDataTag());
    QVERIFY(dialog.grab().save(target + QStringLiteral("/history_%1.png").arg(tag)));
    auto *tabs = dialog.findChild<QTabWidget *>(QStringLiteral("historyTabs"));
    for (const char *page : { "table", "chart" }) {
        tabs->setCurrentIndex(tabs->currentIndex() + 1);
        QTest::qWait(100);
        QVERIFY(dialog.grab().save(target + QStringLiteral("/history_%1_%2.png").arg(QLatin1String(page), tag)));
    }
    KnownMeterValues values;
    values.noteRead(
        QStringLiteral("x"), { 0, { QStringLiteral("设备名称"), QStringLiteral("VX-200 智能流量积算仪") } });
    values.noteRead(QStringLiteral("x"), { 1, { QStringLiteral("设备型号"), QStringLiteral("VX-200") } });
    values.noteRead(
        QStringLiteral("x"), { 5, { QStringLiteral("波特率(2400/4800/9600/19200/38400)"), QStringLiteral("19200") } });
    dialog.setMeterValues(values);
    const QString report = target + QStringLiteral("/report_%1.pdf").arg(tag);
    setNextFileNames({ report });
    button(dialog, "bntServiceReport")->click();
    QVERIFY(QFile::exists(report));
    QCoreApplication::removeTranslator(&translator);
}

QTEST_MAIN(TstHistoryData)
#include "tst_historydata.moc"

#include "app/mainwindow.h"

#include "about/neutralaboutdialog.h"
#include "app/windowgeometry.h"
#include "base/filedialogs.h"
#include "base/filenames.h"
#include "base/messageboxes.h"
#include "base/settings.h"
#include "base/translationlookup.h"
#include "firmware/updatedialog.h"
#include "history/historydata.h"
#include "history/servicereportdialog.h"
#include "items/configtree.h"
#include "items/identificationrows.h"
#include "link/commsettings.h"
#include "link/setupdialog.h"
#include "monitor/monitordialog.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidgetItem>
#include <QTranslator>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
    , m_tree(new ConfigTree(this))
    , m_translator(new QTranslator(this))
    , m_qtTranslator(new QTranslator(this))
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/image/configure.png")));
    setCentralWidget(m_tree);
    ui->toolBar->setMovable(false);
    ui->toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    connect(ui->setup, &QAction::triggered, this, &MainWindow::slotCommunicationSetup);
    connect(ui->refresh, &QAction::triggered, this, &MainWindow::slotRefresh);
    connect(ui->import_2, &QAction::triggered, this, &MainWindow::slotImportItems);
    connect(ui->export_2, &QAction::triggered, this, &MainWindow::slotExportItems);
    connect(ui->save, &QAction::triggered, this, &MainWindow::slotWriteItems);
    connect(ui->sync_time, &QAction::triggered, this, &MainWindow::slotSyncTime);
    connect(ui->debug, &QAction::triggered, this, &MainWindow::slotHistoryData);
    connect(ui->update, &QAction::triggered, this, &MainWindow::slotUpdateHardware);
    connect(ui->monitor, &QAction::triggered, this, &MainWindow::slotDeviceMonitor);
    connect(ui->about, &QAction::triggered, this, &MainWindow::slotAbout);
    connect(ui->lang_en_US, &QAction::triggered, this, &MainWindow::slot_en_US);
    connect(ui->lang_zh_CH, &QAction::triggered, this, &MainWindow::slot_zh_CH);
    connect(ui->lang_zh_TW, &QAction::triggered, this, &MainWindow::slot_zh_TW);

    connect(&m_refreshThread, &RefreshThread::signalClearItems, this, &MainWindow::slotClearItems);
    connect(&m_refreshThread, &RefreshThread::signalAddItems, this, &MainWindow::slotRefreshedItem);
    connect(
        &m_refreshThread, &RefreshThread::signalFailed, this, [this](const QString &title, const LinkFailure &failure) {
            slotShowErrorMessage(title, failure.text(), QStringLiteral(":/image/refresh.png"));
        });
    connect(&m_refreshThread, &QThread::finished, m_tree, &ConfigTree::showHeldRows);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &MainWindow::slotItemDoubleClicked);
    connect(&m_refreshThread, &QThread::started, this, &MainWindow::slotRefreshStarted);
    connect(&m_refreshThread, &RefreshThread::signalAddItems, this, &MainWindow::slotRefreshProgress);
    connect(&m_refreshThread, &QThread::finished, this, &MainWindow::slotRefreshFinished);
    setUpKeyboard();
    setUpConnectionLabel();
    setUpWriteSafety();
    m_serviceReport = new QAction(this);
    m_serviceReport->setObjectName(QStringLiteral("actionServiceReport"));
    // With the other additions after the specified operations.
    ui->menu->insertAction(m_openJournalFolder, m_serviceReport);
    connect(m_serviceReport, &QAction::triggered, this, &MainWindow::slotServiceReport);

    // After the stored language is applied, so "ready" shows in that language.
    loadWindowSettings();
    statusBar()->showMessage(tr("准备就绪"), 5000);
    scaleActionIcons();
    loadSkipItems();
}

MainWindow::~MainWindow()
{
    // The worker must not outlive the window it reports to.
    m_refreshThread.requestStop();
    m_refreshThread.wait();
}

void MainWindow::showErrorBox(const QString &title, const QString &text, const QIcon &icon)
{
    QMessageBox box(
        QMessageBox::Critical, title, text, QMessageBox::Ok, this, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.setWindowIcon(icon);
    setOkButtonText(box, tr("确定"));
    // The status bar has room for the first line; the box shows the rest.
    statusBar()->showMessage(text.section(QLatin1Char('\n'), 0, 0), 5000);
    box.exec();
}

QString MainWindow::askItemsExportFile()
{
    // The model row names the meter the file belongs to.
    QString model;
    for (int i = 0; i < m_tree->topLevelItemCount() && model.isEmpty(); ++i) {
        const QTreeWidgetItem *row = m_tree->topLevelItem(i);
        const QString name = row->text(0).section(QLatin1Char('.'), 1).trimmed();
        if (isModelRowName(name))
            model = row->text(1).mid(1).trimmed();
    }
    return askSaveFileName(this, tr("导出配置"), kItemFiles, itemsFileName(model, QDateTime::currentDateTime()),
        tr("Files (*.csv)"), QStringLiteral("csv"));
}

QString MainWindow::askItemsImportFile()
{
    return askOpenFileName(this, tr("导入配置"), kItemFiles, tr("Files (*.csv)"));
}

void MainWindow::setUpKeyboard()
{
    // Fixed keys, the same in every language; the menus show them.
    ui->refresh->setShortcut(QKeySequence(Qt::Key_F5));
    ui->export_2->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_E));
    ui->import_2->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_I));
    ui->quit->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_Q));
    connect(ui->quit, &QAction::triggered, this, &QWidget::close);

    // Enter and F2 on a row do what a double click does.
    for (const int key : { int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_F2) }) {
        auto *shortcut = new QShortcut(QKeySequence(key), m_tree);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, &MainWindow::slotEditCurrentItem);
    }
}

void MainWindow::setUpConnectionLabel()
{
    m_connectionLabel = new QLabel(this);
    m_connectionLabel->setObjectName(QStringLiteral("connectionLabel"));
    // A long device path must not widen the window; the tool tip shows it whole.
    m_connectionLabel->setMinimumWidth(1);
    statusBar()->addPermanentWidget(m_connectionLabel);
    // A message that needs the whole bar gets it, rather than being cut
    // against the label; the label comes back when the message goes.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString &message) {
        const int room = statusBar()->width() - m_connectionLabel->sizeHint().width() - 32;
        m_connectionLabel->setVisible(
            message.isEmpty() || statusBar()->fontMetrics().horizontalAdvance(message) <= room);
    });
}

void MainWindow::updateConnectionLabel()
{
    const QString text = storedLinkSettings().targetText();
    m_connectionLabel->setText(text);
    m_connectionLabel->setToolTip(text);
}

void MainWindow::slotEditCurrentItem()
{
    if (QTreeWidgetItem *row = m_tree->currentItem())
        slotItemDoubleClicked(row, m_tree->currentColumn());
}

void MainWindow::loadWindowSettings()
{
    // The language first: it decides how wide the tool bar needs the window.
    applyLanguage(storedLanguage());
    const QSize stored = storedWindowSize();
    // A config.ini from a larger screen (or a damaged one) must not put the
    // status bar below this screen's edge.
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const QSize decoration(2 * frame, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + 2 * frame);
    resize(boundedWindowSize(stored, QSize(minimumWidth(), 600), availableScreenSize(), decoration));
}

QSize MainWindow::availableScreenSize() const
{
    const QScreen *shownOn = screen();
    if (!shownOn)
        shownOn = QGuiApplication::primaryScreen();
    if (!shownOn)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return shownOn->availableGeometry().size();
}

void MainWindow::retranslateForm()
{
    ui->retranslateUi(this);
    if (m_openJournalFolder)
        m_openJournalFolder->setText(tr("打开记录文件夹"));
    if (m_serviceReport)
        m_serviceReport->setText(tr("服务报告…"));
}

void MainWindow::applyLanguage(const QString &code)
{
    ui->lang_en_US->setChecked(code == QLatin1String("en_US"));
    ui->lang_zh_TW->setChecked(code == QLatin1String("zh_TW"));
    ui->lang_zh_CH->setChecked(!ui->lang_en_US->isChecked() && !ui->lang_zh_TW->isChecked());

    if (loadProgramTranslation(*m_translator, code))
        QApplication::installTranslator(m_translator);
    else
        QApplication::removeTranslator(m_translator);
    loadQtTranslation(code);
    // Calendars and month names of the dialogs opened from now on.
    QLocale::setDefault(languageLocale(code));

    retranslateForm();

    QToolBar emptyBar;
    int width = emptyBar.minimumSizeHint().width();
    int buttons = 0;
    for (QAction *action : ui->toolBar->actions()) {
        if (QWidget *widget = ui->toolBar->widgetForAction(action)) {
            width += widget->minimumSizeHint().width();
            ++buttons;
        }
    }
    // The gaps between the buttons count too; without them the last button
    // disappears behind the tool bar's extension arrow.
    if (buttons > 1)
        width += ui->toolBar->layout()->spacing() * (buttons - 1);
    setMinimumWidth(width);
    resize(width, height());

    storeLanguage(code);
    setWindowTitle(applicationTitle());
    updateConnectionLabel();
}

void MainWindow::loadQtTranslation(const QString &code)
{
    // The toolkit's own texts (file dialogs, standard buttons, edit menus)
    // come from the system's translations when they are installed; its
    // built-in texts are English.
    QString name;
    if (code == QLatin1String("zh_TW"))
        name = QStringLiteral("qtbase_zh_TW");
    else if (code != QLatin1String("en_US"))
        name = QStringLiteral("qtbase_zh_CN");
    if (!name.isEmpty() && m_qtTranslator->load(name, QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(m_qtTranslator);
    else
        QApplication::removeTranslator(m_qtTranslator);
}

void MainWindow::scaleActionIcons()
{
    for (QAction *action : ui->toolBar->actions()) {
        const QPixmap pixmap = action->icon().pixmap(16, 16, QIcon::Normal, QIcon::Off);
        action->setIcon(QIcon(pixmap));
    }
}

void MainWindow::saveWindowSize()
{
    storeWindowSize(size());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_refreshThread.isRunning())
        hide();
    // A slow meter would hold the window for the rest of the list.
    m_refreshThread.requestStop();
    m_refreshThread.wait();
    saveWindowSize();
    QMainWindow::closeEvent(event);
    singleton<Config>::release();
}

void MainWindow::slotCommunicationSetup()
{
    SetupDialog dialog(this);
    dialog.exec();
    // Also after a refused save: it has stored the device address already.
    updateConnectionLabel();
}

void MainWindow::slotRefresh()
{
    if (m_refreshThread.isRunning())
        return;
    // The connection of this refresh: the rows it reads are that meter's.
    const LinkSettings link = storedLinkSettings();
    m_refreshThread.setLinkSettings(link);
    m_refreshConnection = link.meterKey();
    m_refreshThread.start(QThread::InheritPriority);
}

void MainWindow::slotRefreshStarted()
{
    m_tree->setCursor(Qt::BusyCursor);
    slotRefreshProgress(-1);
}

void MainWindow::slotRefreshProgress(int index)
{
    // A silent meter keeps the next item waiting for seconds: say which.
    m_refreshMessage = tr("正在读取第 %1 项…").arg(index + 2);
    statusBar()->showMessage(m_refreshMessage);
}

void MainWindow::slotRefreshFinished()
{
    m_tree->unsetCursor();
    if (statusBar()->currentMessage() == m_refreshMessage)
        statusBar()->clearMessage();
    m_refreshMessage.clear();
}

void MainWindow::slotHistoryData()
{
    HistoryData dialog(this);
    dialog.setMeterValues(m_knownValues);
    dialog.exec();
}

void MainWindow::slotServiceReport()
{
    ServiceReportDialog dialog(m_knownValues, this);
    if (dialog.exec() == QDialog::Accepted)
        statusBar()->showMessage(tr("服务报告已保存: %1").arg(dialog.writtenFile()), 5000);
}

void MainWindow::slotUpdateHardware()
{
    UpdateDialog dialog(this);
    dialog.exec();
}

void MainWindow::slotDeviceMonitor()
{
    MonitorDialog dialog(this);
    dialog.exec();
}

void MainWindow::slotAbout()
{
    NeutralAboutDialog dialog(this);
    dialog.exec();
}

void MainWindow::slotShowErrorMessage(const QString &title, const QString &error, const QString &image)
{
    showErrorBox(title, error, QIcon(image));
}

void MainWindow::slot_en_US()
{
    applyLanguage(QStringLiteral("en_US"));
}

void MainWindow::slot_zh_CH()
{
    applyLanguage(QStringLiteral("zh_CH"));
}

void MainWindow::slot_zh_TW()
{
    applyLanguage(QStringLiteral("zh_TW"));
}

#include "app/mainwindow.h"

#include "fleet/meterspanel.h"

#include "about/neutralaboutdialog.h"
#include "app/windowgeometry.h"
#include "base/elidedlabel.h"
#include "base/filedialogs.h"
#include "base/filenames.h"
#include "base/folderopener.h"
#include "base/messageboxes.h"
#include "base/savedfilenotice.h"
#include "base/settings.h"
#include "base/translationlookup.h"
#include "firmware/updatedialog.h"
#include "history/historydata.h"
#include "history/servicereportdialog.h"
#include "items/configtree.h"
#include "link/commsettings.h"
#include "link/setupdialog.h"
#include "monitor/monitordialog.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QLayout>
#include <QMessageBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QTranslator>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
    , m_items(nullptr)
    , m_translator(new QTranslator(this))
    , m_qtTranslator(new QTranslator(this))
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/image/configure.png")));
    m_items = new ItemPage(statusBar(), this);
    m_items->setObjectName(QStringLiteral("itemPage"));
    setCentralWidget(m_items);
    ui->toolBar->setMovable(false);
    ui->toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    connectActions();
    // While a refresh runs its action stops it.
    connect(m_items->refreshThread(), &QThread::started, this, [this] { showRefreshAction(true); });
    connect(m_items->refreshThread(), &QThread::finished, this, [this] { showRefreshAction(false); });
    // Waits inside an item operation run the event loop; nothing may change
    // the tree or reach the meter meanwhile.
    m_items->setGuardedActions({ ui->setup, ui->refresh, ui->import_2, ui->export_2, ui->save, ui->sync_time, ui->debug,
        ui->update, ui->monitor });
    setUpKeyboard();
    setUpStatusBar();
    setUpAddedActions();

    // After the stored language is applied, so "ready" shows in that language.
    loadWindowSettings();
    statusBar()->showMessage(tr("准备就绪"), 5000);
    scaleActionIcons();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectActions()
{
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
}

void MainWindow::setUpAddedActions()
{
    m_openJournalFolder = new QAction(this);
    m_openJournalFolder->setObjectName(QStringLiteral("openJournalFolder"));
    // Beside the other operations, with Exit kept last.
    ui->menu->insertAction(ui->quit, m_openJournalFolder);
    ui->menu->insertSeparator(ui->quit);
    connect(m_openJournalFolder, &QAction::triggered, this, &MainWindow::slotOpenJournalFolder);
    // The item page's own operations, beside import.
    m_items->placeActions(ui->menu, ui->export_2);
    m_serviceReport = new QAction(this);
    m_serviceReport->setObjectName(QStringLiteral("actionServiceReport"));
    // With the other additions after the specified operations.
    ui->menu->insertAction(m_openJournalFolder, m_serviceReport);
    connect(m_serviceReport, &QAction::triggered, this, &MainWindow::slotServiceReport);
    m_meterAction = new QAction(this);
    m_meterAction->setObjectName(QStringLiteral("actionMeters"));
    m_meterAction->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_M));
    ui->menu->insertAction(m_serviceReport, m_meterAction);
    connect(m_meterAction, &QAction::triggered, this, &MainWindow::slotMeters);
}

void MainWindow::slotMeters()
{
    if (!m_meters) {
        m_meters = std::make_unique<MetersPanel>();
        connect(m_meters.get(), &MetersPanel::signalCurrentConnectionChanged, this, [this] {
            updateConnectionLabel();
            m_items->clearWriteSummary();
        });
    } else if (!m_meters->isVisible()) {
        m_meters->slotReload();
    }
    m_meters->show();
    m_meters->raise();
    m_meters->activateWindow();
}

QUrl MainWindow::journalFolderUrl()
{
    return ItemPage::journalFolderUrl();
}

void MainWindow::setUpKeyboard()
{
    // Fixed keys, the same in every language; the menus show them.
    ui->refresh->setShortcut(QKeySequence(Qt::Key_F5));
    ui->export_2->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_E));
    ui->import_2->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_I));
    // Beside F5 and bound by no standard key of any desktop.
    ui->save->setShortcut(QKeySequence(Qt::Key_F9));
    ui->quit->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_Q));
    connect(ui->quit, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::setUpStatusBar()
{
    // Each text has a place of its own, cut with "…" when the bar is short
    // (the tool tip shows it whole): the passing message, the last batch's
    // summary, the connection. The bar's own message area stays empty.
    m_statusMessage = new ElidedLabel(this);
    m_statusMessage->setObjectName(QStringLiteral("statusMessage"));
    m_statusMessage->setElideMode(Qt::ElideMiddle); // a saved file's name stays in sight
    m_statusMessage->setMinimumWidth(m_statusMessage->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 10);
    statusBar()->addPermanentWidget(m_statusMessage, 1);
    connect(statusBar(), &QStatusBar::messageChanged, m_statusMessage, &QLabel::setText);
    // Beside where a file went, the way to its folder; gone with the message.
    m_openSavedFolder = new QToolButton(this);
    m_openSavedFolder->setObjectName(QStringLiteral("openSavedFolder"));
    m_openSavedFolder->setAutoRaise(true);
    m_openSavedFolder->hide();
    statusBar()->addPermanentWidget(m_openSavedFolder);
    connect(m_openSavedFolder, &QToolButton::clicked, this, [this] { openFolder(m_savedFolder, this); });
    connect(statusBar(), &QStatusBar::messageChanged, this,
        [this](const QString &text) { m_openSavedFolder->setVisible(!text.isEmpty() && text == m_savedMessage); });
    connect(&SavedFileNotice::instance(), &SavedFileNotice::saved, this, &MainWindow::showSavedFile);
    statusBar()->addPermanentWidget(m_items->writeSummaryLabel());
    m_connectionLabel = new ElidedLabel(this);
    m_connectionLabel->setObjectName(QStringLiteral("connectionLabel"));
    statusBar()->addPermanentWidget(m_connectionLabel);
}

void MainWindow::showSavedFile(const QString &path, const QString &lead)
{
    m_savedFolder = QFileInfo(path).absolutePath();
    m_savedMessage = lead.isEmpty() ? tr("已保存到 %1").arg(path) : tr("%1,已保存到 %2").arg(lead, path);
    // It stays until the next message: the place is worth reading twice.
    statusBar()->showMessage(m_savedMessage);
}

void MainWindow::updateConnectionLabel()
{
    const QString text = storedLinkSettings().targetText();
    m_connectionLabel->setText(text);
    m_connectionLabel->setToolTip(text);
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

void MainWindow::showRefreshAction(bool running)
{
    const QString text = running ? tr("停止") : tr("刷新");
    ui->refresh->setText(text);
    ui->refresh->setToolTip(text);
}

void MainWindow::retranslateForm()
{
    ui->retranslateUi(this);
    showRefreshAction(m_items->refreshThread()->isRunning());
    if (m_openJournalFolder)
        m_openJournalFolder->setText(tr("打开记录文件夹"));
    if (m_serviceReport)
        m_serviceReport->setText(tr("服务报告…"));
    if (m_openSavedFolder)
        m_openSavedFolder->setText(tr("打开文件夹"));
    if (m_meterAction)
        m_meterAction->setText(tr("多台设备…"));
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
    // The panel's fleet action ends first (its progress offers Cancel).
    if (m_meters && m_meters->isBusy()) {
        event->ignore();
        return;
    }
    if (m_meters)
        m_meters->close();
    if (m_items->refreshThread()->isRunning())
        hide();
    m_items->stopRefresh();
    saveWindowSize();
    QMainWindow::closeEvent(event);
    singleton<Config>::release();
}

void MainWindow::slotCommunicationSetup()
{
    const QString meterBefore = storedLinkSettings().meterKey();
    SetupDialog dialog(this);
    dialog.exec();
    // Also after a refused save: it has stored the device address already.
    updateConnectionLabel();
    if (storedLinkSettings().meterKey() != meterBefore)
        m_items->clearWriteSummary();
}

void MainWindow::slotHistoryData()
{
    HistoryData dialog(this);
    dialog.setMeterValues(m_items->knownValues());
    dialog.exec();
}

void MainWindow::slotServiceReport()
{
    ServiceReportDialog dialog(m_items->knownValues(), this);
    dialog.exec();
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
    m_items->showErrorBox(title, error, QIcon(image));
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

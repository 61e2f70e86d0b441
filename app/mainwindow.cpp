#include "app/mainwindow.h"

#include "about/neutralaboutdialog.h"
#include "app/messageboxes.h"
#include "app/resourcesinit.h"
#include "app/settings.h"
#include "app/translationlookup.h"
#include "firmware/updatedialog.h"
#include "history/historydata.h"
#include "items/configtree.h"
#include "link/setupdialog.h"
#include "monitor/monitordialog.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>
#include <QTranslator>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , m_tree(new ConfigTree(this))
    , m_translator(new QTranslator(this))
{
    vexaInitResources();
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
    connect(&m_refreshThread, &RefreshThread::showErrorMessage, this, &MainWindow::slotShowErrorMessage);
    connect(&m_refreshThread, &QThread::finished, m_tree, &ConfigTree::showHeldRows);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &MainWindow::slotItemDoubleClicked);
    setUpWriteSafety();

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
    delete ui;
}

void MainWindow::showErrorBox(const QString &title, const QString &text, const QIcon &icon)
{
    QMessageBox box(
        QMessageBox::Critical, title, text, QMessageBox::Ok, this, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.setWindowIcon(icon);
    setOkButtonText(box, tr("确定"));
    statusBar()->showMessage(text, 5000);
    box.exec();
}

void MainWindow::loadWindowSettings()
{
    QSettings *settings = appSettings();
    const int width = settings->value(QStringLiteral("window/width")).toInt();
    const int height = settings->value(QStringLiteral("window/height")).toInt();
    // A damaged config.ini may ask for a window no screen could show or even
    // paint; the window still opens at least 600 high.
    const QSize screen = screenSizeLimit();
    resize(qBound(0, width, screen.width()), qMax(qMin(height, screen.height()), 600));
    applyLanguage(settings->value(QStringLiteral("language/language")).toString());
}

QSize MainWindow::screenSizeLimit() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // Twice the desktop: generous for any real arrangement of screens.
    return screen->availableVirtualGeometry().size() * 2;
}

void MainWindow::retranslateForm()
{
    ui->retranslateUi(this);
    if (m_openJournalFolder)
        m_openJournalFolder->setText(tr("打开记录文件夹"));
}

void MainWindow::applyLanguage(const QString &code)
{
    ui->lang_en_US->setChecked(code == QLatin1String("en_US"));
    ui->lang_zh_TW->setChecked(code == QLatin1String("zh_TW"));
    ui->lang_zh_CH->setChecked(!ui->lang_en_US->isChecked() && !ui->lang_zh_TW->isChecked());

    if (loadTranslation(*m_translator, code, translationFallbackDirs(QCoreApplication::applicationDirPath())))
        QApplication::installTranslator(m_translator);
    else
        QApplication::removeTranslator(m_translator);

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

    QSettings *settings = appSettings();
    settings->setValue(QStringLiteral("language/language"), code);
    setWindowTitle(applicationTitle(settings->value(QStringLiteral("language/language")).toString()));
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
    QSettings *settings = appSettings();
    settings->setValue(QStringLiteral("window/width"), width());
    settings->setValue(QStringLiteral("window/height"), height());
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
}

void MainWindow::slotRefresh()
{
    if (!m_refreshThread.isRunning())
        m_refreshThread.start(QThread::InheritPriority);
}

void MainWindow::slotHistoryData()
{
    HistoryData dialog(this);
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

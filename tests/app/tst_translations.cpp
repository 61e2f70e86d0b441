// Holds the translation files to the glossary and to their sources, and opens
// every window in each language to catch texts that do not fit. With
// VEXA_SCREENSHOT_DIR set the windows are also saved there as pictures (the
// whole screen under X11, so a window manager's title bars show).
#include "about/aboutdialog.h"
#include "about/neutralaboutdialog.h"
#include "app/mainwindow.h"
#include "fleet/metereditor.h"
#include "fleet/meterlist.h"
#include "fleet/meterspanel.h"
#include "base/settings.h"
#include "firmware/updatedialog.h"
#include "history/historydata.h"
#include "items/comparedialog.h"
#include "items/modifydialog.h"
#include "items/writereviewdialog.h"
#include "link/searchdevicedialog.h"
#include "link/setupdialog.h"
#include "monitor/monitordialog.h"
#include "tests/support/tempworkdir.h"

#include <QAbstractButton>
#include <QDomDocument>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QToolBar>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

struct Entry
{
    QString context;
    QString source;
    QString translation;
    bool unfinished = false;
};

QString sourcePath(const QString &name)
{
    return QStringLiteral(VEXA_SOURCE_DIR "/translations/") + name;
}

QList<Entry> readTs(const QString &language)
{
    QFile file(sourcePath(language + QStringLiteral(".ts")));
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
        return {};
    QList<Entry> entries;
    const QDomNodeList contexts = document.elementsByTagName(QStringLiteral("context"));
    for (int c = 0; c < contexts.size(); ++c) {
        const QDomElement context = contexts.at(c).toElement();
        const QDomNodeList messages = context.elementsByTagName(QStringLiteral("message"));
        for (int m = 0; m < messages.size(); ++m) {
            const QDomElement message = messages.at(m).toElement();
            const QDomElement translation = message.firstChildElement(QStringLiteral("translation"));
            // A text with a count has one translation per plural form: each
            // is checked on its own.
            QStringList forms;
            for (QDomElement form = translation.firstChildElement(QStringLiteral("numerusform")); !form.isNull();
                 form = form.nextSiblingElement(QStringLiteral("numerusform")))
                forms << form.text();
            if (forms.isEmpty())
                forms << translation.text();
            for (const QString &form : qAsConst(forms))
                entries.append({ context.firstChildElement(QStringLiteral("name")).text(),
                    message.firstChildElement(QStringLiteral("source")).text(), form,
                    !translation.attribute(QStringLiteral("type")).isEmpty() });
        }
    }
    return entries;
}

// The glossary's "Not in zh_TW" column, and the -ize verbs it names.
struct Glossary
{
    QStringList wrongInTaiwan;
    QStringList izeVerbs;
};

Glossary readGlossary()
{
    QFile file(sourcePath(QStringLiteral("GLOSSARY.md")));
    Glossary glossary;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return glossary;
    const QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression kIze(QStringLiteral("\\b([a-z]+)iz(e|ed|es|ing)\\b"));
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList cells = line.split(QLatin1Char('|'));
        // | source | English | Taiwan | not in zh_TW | note |
        if (cells.size() == 7 && !cells.at(1).trimmed().startsWith(QLatin1String("---"))
            && cells.at(1).trimmed() != QLatin1String("Source")) {
            for (const QString &term : cells.at(4).split(QLatin1Char(','))) {
                if (!term.trimmed().isEmpty())
                    glossary.wrongInTaiwan << term.trimmed();
            }
        }
        auto words = kIze.globalMatch(line);
        while (words.hasNext()) {
            const QString stem = words.next().captured(1);
            if (!glossary.izeVerbs.contains(stem))
                glossary.izeVerbs << stem;
        }
    }
    return glossary;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression kMarker(QStringLiteral("%\\d"));
    QStringList found;
    auto it = kMarker.globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    return found;
}

// A translation keeps the source's blanks at both ends; it may add one at
// the end where English goes on after a colon ("Firmware update failed: ").
bool keepsEdgeBlanks(const QString &source, const QString &text)
{
    static const QRegularExpression kLead(QStringLiteral("^\\s*"));
    static const QRegularExpression kTrail(QStringLiteral("\\s*$"));
    const QString sourceTrail = kTrail.match(source).captured();
    const QString textTrail = kTrail.match(text).captured();
    return kLead.match(source).captured() == kLead.match(text).captured()
        && (sourceTrail == textTrail || (sourceTrail.isEmpty() && text.endsWith(QLatin1String(": "))));
}

// How wide a widget must be to show its whole text. Push buttons are measured
// by their text alone: the style's minimum button width is not a cut.
int neededWidth(QWidget *widget)
{
    if (const auto *button = qobject_cast<QPushButton *>(widget))
        return button->fontMetrics().horizontalAdvance(button->text()) + 8;
    return widget->minimumSizeHint().width();
}

// Texts a user reads in a widget that has less room than they need.
QStringList cutOffTexts(QWidget &window)
{
    QStringList cut;
    const auto widgets = window.findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(&window) || qobject_cast<QToolBar *>(widget->parentWidget()))
            continue;
        const auto *label = qobject_cast<QLabel *>(widget);
        const auto *button = qobject_cast<QAbstractButton *>(widget);
        const auto *group = qobject_cast<QGroupBox *>(widget);
        const bool hasText = (label && !label->wordWrap() && !label->text().isEmpty())
            || (button && !button->text().isEmpty()) || (group && !group->title().isEmpty());
        if (hasText && widget->width() < neededWidth(widget))
            cut << QStringLiteral("%1 (%2 < %3)")
                       .arg(widget->objectName())
                       .arg(widget->width())
                       .arg(neededWidth(widget));
    }
    // Every tool-bar button shows in full, none behind the extension arrow.
    for (QToolBar *bar : window.findChildren<QToolBar *>()) {
        for (QAction *action : bar->actions()) {
            QWidget *button = bar->widgetForAction(action);
            if (!button->isVisible() || button->width() < button->sizeHint().width())
                cut << action->objectName();
        }
    }
    return cut;
}

void keep(QWidget &window, const QString &name)
{
    const QString dir = qEnvironmentVariable("VEXA_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QTest::qWait(300); // let a window manager frame and paint it
    const QPixmap shot = QGuiApplication::platformName() == QLatin1String("xcb")
        ? QGuiApplication::primaryScreen()->grabWindow(0)
        : window.grab();
    shot.save(dir + QLatin1Char('/') + name + QLatin1String(".png"));
}

} // namespace

class TstTranslations : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { singleton<Config>::release(); }

    void filesFollowTheGlossary_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en_US") << "en_US";
        QTest::newRow("zh_TW") << "zh_TW";
        QTest::newRow("zh_CH") << "zh_CH";
    }
    void filesFollowTheGlossary()
    {
        QFETCH(QString, language);
        const Glossary glossary = readGlossary();
        QVERIFY(glossary.wrongInTaiwan.contains(QStringLiteral("固件")));
        QVERIFY(glossary.izeVerbs.contains(QStringLiteral("synchron")));
        const QList<Entry> entries = readTs(language);
        QVERIFY(!entries.isEmpty());

        static const QRegularExpression kHalfWidthAfterChinese(QStringLiteral("[\\x{4e00}-\\x{9fff}][,!:;?]"));
        QStringList problems;
        for (const Entry &entry : entries) {
            const QString where = entry.context + QLatin1Char(' ') + entry.source + QStringLiteral(": ");
            const QString &text = entry.translation;
            if (entry.unfinished || text.isEmpty())
                problems << where + QStringLiteral("not translated");
            if (placeholders(text) != placeholders(entry.source)
                || text.count(QLatin1Char('\n')) != entry.source.count(QLatin1Char('\n'))
                || text.count(QLatin1Char('&')) != entry.source.count(QLatin1Char('&'))
                || !keepsEdgeBlanks(entry.source, text))
                problems << where + QStringLiteral("placeholders, line breaks, accelerators or end blanks differ");
            if (language == QLatin1String("zh_TW")) {
                for (const QString &term : glossary.wrongInTaiwan) {
                    if (text.contains(term))
                        problems << where + term;
                }
                if (text.contains(kHalfWidthAfterChinese) || text.contains(QLatin1String("...")))
                    problems << where + QStringLiteral("half-width punctuation");
            } else if (language == QLatin1String("en_US")) {
                if (text.contains(QLatin1String("....")) || text.contains(QLatin1Char('!')))
                    problems << where + QStringLiteral("\"......\" or \"!\"");
                for (const QString &stem : glossary.izeVerbs) {
                    if (text.contains(QRegularExpression(QStringLiteral("\\b%1is(e|ed|es|ing|ation)\\b").arg(stem),
                            QRegularExpression::CaseInsensitiveOption)))
                        problems << where + QStringLiteral("British spelling of %1ize").arg(stem);
                }
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void englishCountsOneAndMany_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one match") << "MonitorDialog"
                                   << "%1 处匹配" << 1 << "1 match";
        QTest::newRow("two matches") << "MonitorDialog"
                                     << "%1 处匹配" << 2 << "2 matches";
        QTest::newRow("one line held") << "MonitorDialog"
                                       << "继续显示（%1 行）" << 1 << "Resume (1 Line)";
        QTest::newRow("one item to write") << "VexaCli"
                                           << "将写入%1项,%2项相同" << 1 << "Will write 1 item, %2 unchanged";
        QTest::newRow("no item to write") << "VexaCli"
                                          << "将写入%1项,%2项相同" << 0 << "Will write 0 items, %2 unchanged";
        QTest::newRow("one history line") << "HistoryData"
                                          << "查询结束，共收到 %1 行" << 1 << "Query finished: 1 line received";
    }
    void englishCountsOneAndMany()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(int, count);
        QFETCH(QString, shown);
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(VEXA_QM_DIR "/en_US.qm")));
        QCoreApplication::installTranslator(&english);
        const QString text
            = QCoreApplication::translate(qPrintable(context), source.toUtf8().constData(), nullptr, count);
        QCoreApplication::removeTranslator(&english);
        QCOMPARE(text.arg(count), shown);
    }

    // The Simplified Chinese window shows its few Latin source texts (the
    // parity names, file filters, the two group titles) from zh_CH.ts: each
    // such source has an entry there, and no entry there is left over.
    void simplifiedChineseCoversTheLatinSources()
    {
        QSet<QPair<QString, QString>> sources;
        QStringList missing;
        static const QRegularExpression kLatinWord(QStringLiteral("[A-Za-z]{3,}"));
        // The language's own name and a title the dialog always replaces.
        const QStringList kept { QStringLiteral("English"), QStringLiteral("Dialog") };
        QSet<QPair<QString, QString>> simplified;
        for (const Entry &entry : readTs(QStringLiteral("zh_CH")))
            simplified.insert({ entry.context, entry.source });
        for (const Entry &entry : readTs(QStringLiteral("en_US"))) {
            sources.insert({ entry.context, entry.source });
            if (entry.source.contains(kLatinWord) && !kept.contains(entry.source)
                && !entry.source.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]{2}")))
                && !simplified.contains({ entry.context, entry.source }))
                missing << entry.context + QLatin1Char(' ') + entry.source;
        }
        for (const auto &entry : qAsConst(simplified)) {
            if (!sources.contains(entry))
                missing << entry.first + QLatin1Char(' ') + entry.second + QStringLiteral(" (no such source)");
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
        QVERIFY(simplified.contains({ QStringLiteral("SetupDialog"), QStringLiteral("Serial通讯") }));
    }

    void windowsFitTheirTexts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("zh_CH") << "zh_CH";
        QTest::newRow("en_US") << "en_US";
        QTest::newRow("zh_TW") << "zh_TW";
    }
    void windowsFitTheirTexts()
    {
        QFETCH(QString, language);
        TempWorkDir dir;
        QVERIFY(dir.copyTranslations());
        appSettings()->setValue(QStringLiteral("language/language"), language);
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(cutOffTexts(window), QStringList());
        keep(window, QStringLiteral("main_") + language);

        const QList<std::pair<QString, std::function<QDialog *()>>> dialogs {
            { "setup",
                [&] {
                    return new SetupDialog(&window);
                } },
            { "search",
                [&] {
                    return new SearchDeviceDialog(&window);
                } },
            { "update",
                [&] {
                    return new UpdateDialog(&window);
                } },
            { "monitor",
                [&] {
                    return new MonitorDialog(&window);
                } },
            { "history",
                [&] {
                    return new HistoryData(&window);
                } },
            { "about",
                [&] {
                    return new NeutralAboutDialog(&window);
                } },
            { "aboutbranded",
                [&] {
                    return new AboutDialog(&window);
                } },
            { "modify",
                [&] {
                    return new ModifyDialog(QStringLiteral("波特率(9600/19200)"), QStringLiteral("9600"), &window);
                } },
            { "review",
                [&] {
                    ReviewRow baud;
                    baud.request = { 5, QStringLiteral("波特率(9600/19200)"), QStringLiteral("19200") };
                    baud.row = 6;
                    baud.meterValue = QStringLiteral("9600");
                    baud.state = ReviewRow::State::Changed;
                    baud.checked = true;
                    ReviewRow gateway;
                    gateway.request = { 11, QStringLiteral("网关"), QStringLiteral("192.168.1.1") };
                    gateway.row = 12;
                    return new WriteReviewDialog({ baud, gateway }, &window);
                } },
            { "compare",
                [&] {
                    const ItemComparison comparison(
                        { { 1, { QStringLiteral("设备型号"), QStringLiteral("VX-200") } },
                            { 5, { QStringLiteral("波特率(9600/19200)"), QStringLiteral("9600") } },
                            { 9, { QStringLiteral("IP地址"), QStringLiteral("192.168.1.120") } },
                            { 11, { QStringLiteral("网关"), QStringLiteral("192.168.1.1") } },
                            { 27, { QStringLiteral("恢复出厂设置") } } },
                        { { 1, { QStringLiteral("设备型号"), QStringLiteral("VX-200") } },
                            { 5, { QStringLiteral("波特率(9600/19200)"), QStringLiteral("19200") } },
                            { 11, { QStringLiteral("网关"), QStringLiteral("192.168.1.1") } },
                            { 27, { QStringLiteral("恢复出厂设置") } },
                            { 40, { QStringLiteral("报警延时"), QStringLiteral("5") } } });
                    return new CompareDialog(comparison, QStringLiteral("udp 192.168.1.120:8234 @1"), &window);
                } },
            { "meters",
                [&] {
                    return new MetersPanel(&window);
                } },
            { "metereditor",
                [&] {
                    static const MeterList kNoMeters;
                    return new MeterEditor(kNoMeters, &window);
                } },
        };
        for (const auto &made : dialogs) {
            std::unique_ptr<QDialog> dialog(made.second());
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
            QVERIFY2(cutOffTexts(*dialog).isEmpty(),
                qPrintable(made.first + QStringLiteral(": ") + cutOffTexts(*dialog).join(QStringLiteral(", "))));
            keep(*dialog, made.first + QLatin1Char('_') + language);
        }
    }
};

QTEST_MAIN(TstTranslations)
#include "tst_translations.moc"

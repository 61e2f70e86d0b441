#pragma once

#include <QString>
#include <QStringList>

class QLocale;
class QTranslator;

// Folders searched for a language's .qm after the working directory: the
// installed translations folder of the installation the program belongs to
// (its bin/, or libexec/vexa-assistant/ for the helpers), then the program's
// own folder (a build tree).
QStringList translationFallbackDirs(const QString &executableDir);

// Loads the translation for a language code: from the working directory
// first, as the settings' own files always have, then from the fallbacks.
// A code without a file of its own shows Simplified Chinese, and takes
// zh_CH.qm for the few source texts that are not Chinese; en_US and zh_TW
// never do.
bool loadTranslation(QTranslator &translator, const QString &code, const QStringList &fallbackDirs);

// The same from the running program's folder; vexa-assistant, vexa-cli and
// vexa-history-render all look here.
bool loadProgramTranslation(QTranslator &translator, const QString &code);

// The locale of a language code (month names, calendars): English (US),
// Traditional Chinese (Taiwan), otherwise Simplified Chinese.
QLocale languageLocale(const QString &code);

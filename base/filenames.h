#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Suggested names for the files the program writes, and the folder last used
// for each kind of file (config.ini, group "folders").

// "<model>_<yyyyMMdd-hhmmss>.csv"; characters no file system takes become "_".
QString itemsFileName(const QString &model, const QDateTime &when);
// "history_<yyyyMMdd>_<yyyyMMdd>.<suffix>".
QString historyFileName(const QDate &from, const QDate &to, const QString &suffix);
// The path with ".<suffix>" appended when its name has no suffix at all.
QString withSuffix(const QString &path, const QString &suffix);

// The program's own files in its working folder (config.ini, journal.csv,
// SkipItems, the translations *.qm), any case: no output may take their name.
bool isProgramFileName(const QString &fileName);

// Kinds of files with a folder of their own.
extern const char *const kItemFiles;
extern const char *const kHistoryFiles;
extern const char *const kMonitorCommandFiles;

// Empty when nothing was chosen yet, or the folder is gone.
QString lastFolder(const char *kind);
// Keeps the folder of a chosen file for the next choice of the same kind.
void rememberFolder(const char *kind, const QString &filePath);

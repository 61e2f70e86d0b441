#pragma once

#include <QStringList>

// The whole command line run: arguments in, exit status out (see CliExit).
// Output goes to stdout, errors and progress to stderr.
int runCli(const QStringList &arguments);

// Loads the translation for LANG / LC_ALL / LC_MESSAGES: English unless the
// language is Chinese (zh_TW and zh_HK: Traditional). Returns the code used.
QString installCliTranslation();

// The code installCliTranslation chose ("zh_CH" for the source texts).
QString installedCliLanguage();

#pragma once

#include <QString>
#include <QStringList>

class QTranslator;

// Folders searched for a language's .qm after the working directory: the
// installed translations folder, then the folder of the executable (a build
// tree).
QStringList translationFallbackDirs(const QString &executableDir);

// Loads the translation for a language code: from the working directory
// first, as the settings' own files always have, then from the fallbacks.
bool loadTranslation(QTranslator &translator, const QString &code, const QStringList &fallbackDirs);

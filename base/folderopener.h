#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// Opens a folder in the desktop's file manager. When none answers, a box
// shows the path (selectable) so the user can go there by hand.
void openFolder(const QString &folder, QWidget *parent);

// Tests answer the next openings with these results instead of asking the
// desktop (false: no file manager answered); the folders asked for since are kept.
void setNextFolderOpenings(const QList<bool> &results);
QStringList openedFolders();

#pragma once

#include <QString>

class MainWindow;
class QTreeWidgetItem;

// Edits a row as the user does: a double-click on it, then the edit dialog,
// where the value is typed or chosen and Commit pressed. A value the dialog
// does not offer presses Cancel instead, so nothing is written.
void editItemRow(MainWindow &window, QTreeWidgetItem *row, const QString &value);

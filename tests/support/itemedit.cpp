#include "tests/support/itemedit.h"

#include "app/mainwindow.h"
#include "items/modifydialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

void editItemRow(MainWindow &window, QTreeWidgetItem *row, const QString &value)
{
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&timer, value] {
        auto *dialog = qobject_cast<ModifyDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer.stop();
        const char *button = "commit";
        if (auto *choices = dialog->findChild<QComboBox *>()) {
            if (choices->findText(value) < 0)
                button = "cancel";
            choices->setCurrentText(value);
        } else {
            dialog->findChild<QLineEdit *>()->setText(value);
        }
        dialog->findChild<QPushButton *>(QLatin1String(button))->click();
    });
    timer.start();
    window.slotItemDoubleClicked(row, 1);
}

#pragma once

#include <QObject>
#include <QString>

// Where a file written on the user's behalf went. Windows and dialogs
// announce it here; the main window shows it with a way to its folder, so no
// dialog needs to know the window.
class SavedFileNotice : public QObject
{
    Q_OBJECT

public:
    static SavedFileNotice &instance();
    // lead: what was done ("导出配置成功"), shown before the place; may be empty.
    static void announce(const QString &path, const QString &lead = QString());

signals:
    void saved(const QString &path, const QString &lead);

private:
    SavedFileNotice() = default;
};

#include "history/dayedit.h"

#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

const QString kSeparator = QStringLiteral("-");

class SeparatorAfterPart : public QObject
{
public:
    explicit SeparatorAfterPart(QDateEdit *edit)
        : QObject(edit)
        , m_line(edit->findChild<QLineEdit *>())
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !m_line || static_cast<QKeyEvent *>(event)->text() != kSeparator)
            return QObject::eventFilter(watched, event);
        // A full year or month moves on by itself: its separator is behind
        // the cursor already.
        const int at = m_line->hasSelectedText() ? m_line->selectionStart() : m_line->cursorPosition();
        return at > 0 && m_line->text().mid(at - 1, 1) == kSeparator;
    }

private:
    QLineEdit *m_line;
};

} // namespace

void setUpDayEdit(QDateEdit *edit)
{
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    edit->installEventFilter(new SeparatorAfterPart(edit));
}

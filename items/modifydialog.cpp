#include "items/modifydialog.h"

#include "ui_modifydialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>

ModifyDialog::ModifyDialog(const QString &name, const QString &value, QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::ModifyDialog>())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/image/configure.png")));
    setFixedSize(size());
    connect(ui->commit, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Typing goes into the value at once; Enter commits from there.
    ui->commit->setDefault(true);
    setItem(name, value);
}

ModifyDialog::~ModifyDialog() = default;

bool ModifyDialog::parseOptionList(const QString &name, QString *label, QStringList *choices)
{
    static const QRegularExpression kOptionList(QStringLiteral("(^.+)\\((([^/]+/)+[^/]+)\\)$"));
    const QRegularExpressionMatch match = kOptionList.match(name);
    if (!match.hasMatch())
        return false;
    *label = match.captured(1);
    *choices = match.captured(2).split(QLatin1Char('/'), Qt::KeepEmptyParts);
    return true;
}

QString ModifyDialog::chooseOption(const QStringList &choices, const QString &value)
{
    QString selection;
    for (const QString &choice : choices) {
        if (value == selection)
            continue;
        if (value.contains(choice, Qt::CaseSensitive))
            selection = choice;
    }
    return selection;
}

void ModifyDialog::setItem(const QString &name, const QString &value)
{
    QString label;
    QStringList choices;
    if (!parseOptionList(name, &label, &choices)) {
        setWindowTitle(name);
        m_lineEdit = new QLineEdit(this);
        styleEditor(m_lineEdit);
        m_lineEdit->setText(value);
        m_lineEdit->selectAll();
        setFocusProxy(m_lineEdit);
        m_lineEdit->setFocus();
        return;
    }
    setWindowTitle(label);
    m_comboBox = new QComboBox(this);
    styleEditor(m_comboBox);
    m_comboBox->addItems(choices);
    const QString selection = chooseOption(choices, value);
    if (!selection.isEmpty())
        m_comboBox->setCurrentText(selection);
    setFocusProxy(m_comboBox);
    m_comboBox->setFocus();
}

QString ModifyDialog::value() const
{
    return m_lineEdit ? m_lineEdit->text() : m_comboBox->currentText();
}

void ModifyDialog::styleEditor(QWidget *editor)
{
    QFont editorFont = editor->font();
    editorFont.setPointSize(14);
    editor->setFont(editorFont);
    editor->setGeometry(10, 20, 211, 31);
}

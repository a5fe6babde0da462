#include "widgets/messagebox.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QShowEvent>

namespace
{
TMessageBox::TAnswerFunction &Answer_Function()
{
    static TMessageBox::TAnswerFunction function;
    return function;
}
} // namespace

TMessageBox::TMessageBox(const QWidget *parent) : QMessageBox(const_cast<QWidget *>(parent))
{
    setTextFormat(Qt::RichText);
    setStyleSheet(QStringLiteral("dialogbuttonbox-buttons-have-icons: 0;\nbutton-layout: 1;"));
}

TMessageBox::~TMessageBox() = default;

int TMessageBox::exec()
{
    if (Answer_Function())
        return Answer_Function()(this);
    return QDialog::exec();
}

int TMessageBox::Warn(const QString &text, const QString &informative_text, const QString &detailed_text,
                      QMessageBox::StandardButtons buttons, QMessageBox::StandardButton default_button)
{
    setText(text);
    setInformativeText(informative_text);
    setDetailedText(detailed_text);
    setStandardButtons(buttons);
    setDefaultButton(default_button);
    setIcon(QMessageBox::Warning);
    return exec();
}

void TMessageBox::setText(const QString &text)
{
    // Replaced by concatenation rather than arg(), so that a "%1" in the text stays as written.
    QMessageBox::setText(QStringLiteral("<span style=\"font-size:10pt; font-weight:600; color:#000000;\" >") +
                         text + QStringLiteral("</span>"));
}

void TMessageBox::setInformativeText(const QString &text)
{
    QMessageBox::setInformativeText(
        QStringLiteral("<span style=\"font-size:10pt; font-weight:400; color:#000000;\" >") + text +
        QStringLiteral("</span>"));
}

void TMessageBox::Send_Key(int key)
{
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}

void TMessageBox::Set_Answer_Function(TAnswerFunction function)
{
    Answer_Function() = std::move(function);
}

void TMessageBox::resizeEvent(QResizeEvent *event)
{
    QMessageBox::resizeEvent(event);
    setFixedWidth(d_fixed_width);
}

void TMessageBox::showEvent(QShowEvent *event)
{
    QMessageBox::showEvent(event);
    setFixedWidth(d_fixed_width);
}

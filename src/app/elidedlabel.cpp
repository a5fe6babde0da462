#include "app/elidedlabel.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace
{
// About a verdict line with its figures.
const int PREFERRED_CHARACTERS = 80;
} // namespace

TElidedLabel::TElidedLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

QSize TElidedLabel::minimumSizeHint() const
{
    // Room for the ellipsis only: the status bar, not the text, decides the width.
    return QSize(fontMetrics().horizontalAdvance(QStringLiteral("...")), QLabel::minimumSizeHint().height());
}

QSize TElidedLabel::sizeHint() const
{
    const QSize full = QLabel::sizeHint();
    return QSize(qMin(full.width(), PREFERRED_CHARACTERS * fontMetrics().averageCharWidth()), full.height());
}

QString TElidedLabel::Shown_Text() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

bool TElidedLabel::event(QEvent *event)
{
    // The tool tip is taken from the text when asked for, so it can never fall behind a setText().
    if (event->type() == QEvent::ToolTip)
    {
        if (text().isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text(), this);
        return true;
    }
    return QLabel::event(event);
}

void TElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), alignment() | Qt::TextSingleLine, palette(), isEnabled(),
                          Shown_Text(), foregroundRole());
}

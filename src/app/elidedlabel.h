#pragma once

#include <QLabel>

class QEvent;
class QPaintEvent;

// A one-line label for the status bar: a text wider than the space it gets is elided on the right and
// never widens the window; the full text is its tool tip.
class TElidedLabel : public QLabel
{
    Q_OBJECT

  public:
    explicit TElidedLabel(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;
    // The text's width up to a cap, so that one long text does not take a neighbour's room.
    QSize sizeHint() const override;
    // The text as it is drawn at the present width.
    QString Shown_Text() const;

  protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

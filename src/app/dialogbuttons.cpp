#include "app/dialogbuttons.h"

#include "base/assertion.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>

namespace
{
// The box orders its buttons by the style's layout; this layout puts the rejecting button first.
class TRejectFirstStyle : public QProxyStyle
{
  public:
    explicit TRejectFirstStyle(QStyle *base) : QProxyStyle(base) {}

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *data) const override
    {
        if (hint == SH_DialogButtonLayout)
            return QDialogButtonBox::GnomeLayout;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

QStyle *Reject_First_Style()
{
    // One for the program, over a style of the application's kind; it lives as long as the application.
    static QPointer<QStyle> style;
    if (!style)
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 1, 0)
        const QString name = QApplication::style()->name();
#else
        const QString name = QApplication::style()->objectName();
#endif
        QStyle *base = QStyleFactory::create(name);
        style = new TRejectFirstStyle(base ? base : QStyleFactory::create(QStringLiteral("fusion")));
        style->setParent(qApp);
    }
    return style;
}
} // namespace

QDialogButtonBox *Create_Button_Box(QWidget *parent, const QString &reject_text, const QString &accept_text,
                                    QPushButton **reject_button, QPushButton **accept_button)
{
    QUILLON_ASSERT(reject_button && accept_button);
    QDialogButtonBox *box = new QDialogButtonBox(parent);
    box->setStyle(Reject_First_Style());
    *reject_button = box->addButton(reject_text, QDialogButtonBox::RejectRole);
    *accept_button = box->addButton(accept_text, QDialogButtonBox::AcceptRole);
    return box;
}

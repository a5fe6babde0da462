#pragma once

#include <QString>

class QDialogButtonBox;
class QPushButton;
class QWidget;

// A button box holding a rejecting and an accepting button, in that order on every desktop: our dialogs
// name their buttons in this order. The roles still tell Qt which button Escape and Return stand for.
QDialogButtonBox *Create_Button_Box(QWidget *parent, const QString &reject_text, const QString &accept_text,
                                    QPushButton **reject_button, QPushButton **accept_button);

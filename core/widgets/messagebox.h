#pragma once

#include <QMessageBox>

#include <functional>

class QResizeEvent;
class QShowEvent;

// The program's message box: fixed width, main and informative texts in fixed rich-text styles.
class TMessageBox : public QMessageBox
{
    Q_OBJECT

  public:
    explicit TMessageBox(const QWidget *parent = nullptr);
    ~TMessageBox() override;

    int exec() override;
    virtual void setText(const QString &text);
    virtual void setInformativeText(const QString &text);

    // Sets every text, the buttons and the warning icon, so that nothing of an earlier question shows,
    // and runs the box; returns the button pressed.
    int Warn(const QString &text, const QString &informative_text, const QString &detailed_text = QString(),
             QMessageBox::StandardButtons buttons = QMessageBox::Ok,
             QMessageBox::StandardButton default_button = QMessageBox::Ok);

    // Posts a key press and release; the event loop delivers them later.
    void Send_Key(int key);

    // When set, exec() asks this function for the answer instead of running the box modally, so that
    // code which asks questions can run without a user. Pass an empty function to restore.
    using TAnswerFunction = std::function<int(TMessageBox *box)>;
    static void Set_Answer_Function(TAnswerFunction function);

  protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    int d_fixed_width = 500;
};

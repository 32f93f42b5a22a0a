#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

namespace dialogs {

// The splash window the question editor and the consultation program start with. It
// shows its picture for three seconds, then hides and brings up the main window, which
// makeMain creates only at that moment. The program shows the splash right after making
// it. The splash keeps the main window and deletes it with itself, unless it is gone
// already.
class Intro : public QWidget {
    Q_OBJECT
public:
    using MainFactory = std::function<QWidget*()>;

    explicit Intro(MainFactory makeMain, QWidget* parent = nullptr);
    ~Intro() override;

    // The main window once the timer brought it up, nullptr until then.
    QWidget* MainForm() const { return m_Main; }

private slots:
    void Timer1_Timer();

private:
    void Form_Load();

    MainFactory m_MakeMain;
    QPointer<QWidget> m_Main;
    QLabel* m_Picture1;
    QTimer* m_Timer1;
};

} // namespace dialogs

#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>

class QLabel;
class QPushButton;
class frmMain;
struct MainControls;

// What makes the main window a desktop window: the keys desktop users expect (Ctrl+N, Ctrl+S,
// Ctrl+P, F5, Escape, Enter on a listed document), the status bar (who, where, which database,
// when the listing was read), a minimum size, columns that use the width, the size, place and
// listing columns remembered per employee, and the blink of the acknowledgement notice paused
// while nobody can see it.
class MainWindowChrome final : public QObject
{
    Q_OBJECT

public:
    explicit MainWindowChrome(frmMain &form);

    // Keeps the window's size and place and the listing's sort and column widths for the
    // logged-in employee, and puts them back.
    void saveWindowState();
    void restoreWindowState();

    // The time shown as the moment of the last refresh; tests set a fixed one.
    static void setClock(std::function<QDateTime()> clock);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addShortcuts();
    void buildStatusBar();
    void showDatabaseAndEmployee();
    void showLocation();
    void listingRefreshed();
    void fitColumns();
    void fitPlacedFrames();
    void pauseOrResumeBlink();
    // Presses a command as its access key would: only a shown, enabled button, and only when
    // the control being left lets the focus go.
    void press(QPushButton *button);

    frmMain &m_form;
    MainControls &m_c;
    QLabel *m_employee = nullptr;
    QLabel *m_location = nullptr;
    QLabel *m_database = nullptr;
    QLabel *m_refreshed = nullptr;
    bool m_restored = false;
};

#include "request/MainWindowChrome.h"

#include "objects/clsEmployee.h"
#include "platform/ui/FlexGrid.h"
#include "platform/user/CurrentUser.h"
#include "request/Guarded.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "session/Settings.h"
#include "ui_frmMain.h"

#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QWindowStateChangeEvent>
#include <algorithm>

namespace {

std::function<QDateTime()> &refreshClock()
{
    static std::function<QDateTime()> now = [] {
        return QDateTime::currentDateTime();
    };
    return now;
}

const QString kGeometry = QStringLiteral("Geometry");
const QString kListingSortCol = QStringLiteral("ListingSortColumn");
const QString kListingSortOrder = QStringLiteral("ListingSortOrder");
const QString kListingWidths = QStringLiteral("ListingColumnWidths");
const QString kLinesWidths = QStringLiteral("LinesColumnWidths");

QVariantList toVariantList(const QList<int> &values)
{
    QVariantList list;
    for (int value : values)
        list << value;
    return list;
}

QList<int> toIntList(const QVariant &value)
{
    QList<int> list;
    for (const QVariant &item : value.toList())
        list << item.toInt();
    return list;
}

} // namespace

void MainWindowChrome::setClock(std::function<QDateTime()> now)
{
    refreshClock() = now ? std::move(now) : [] {
        return QDateTime::currentDateTime();
    };
}

MainWindowChrome::MainWindowChrome(frmMain &form)
    : QObject(&form)
    , m_form(form)
    , m_c(form.controls())
{
    setObjectName(QStringLiteral("MainWindowChrome"));
    Ui::frmMain &ui = *m_c.ui;
    addShortcuts();
    buildStatusBar();
    fitColumns();

    ui.grdListing->setSortable(true);
    connect(ui.grdListing, &ui::FlexGrid::bound, this, &MainWindowChrome::listingRefreshed);
    // Enter on a listed document opens it, as a double click does.
    connect(ui.grdListing, &ui::FlexGrid::keyPressed, this,
            [this](int key, Qt::KeyboardModifiers, bool *handled) {
                if (key != Qt::Key_Return && key != Qt::Key_Enter)
                    return;
                *handled = true;
                guarded([this] { m_form.grdListing_DblClick(); });
            });

    // The window never gets so small that its controls overlap or cut their captions.
    fitPlacedFrames();
    m_form.setMinimumSize(m_form.minimumSizeHint());
    m_form.installEventFilter(this);
    restoreWindowState();
}

void MainWindowChrome::fitPlacedFrames()
{
    // The header and entry frames place their controls by position: their layouts must not
    // make them narrower than the controls the site shows (the entry frame shows all of its
    // controls at one site or another, the lot number only on a new document).
    Ui::frmMain &ui = *m_c.ui;
    const auto fit = [](QWidget *frame, bool everyControl) {
        int right = 0;
        for (QWidget *child : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!everyControl && child->isHidden())
                continue;
            right = std::max(right, child->geometry().right());
        }
        frame->setMinimumWidth(std::max(frame->minimumWidth(), right + 8));
    };
    fit(ui.Frame6, false);
    fit(ui.frameEntry, true);
    fit(ui.frameDetails, true);
}

void MainWindowChrome::addShortcuts()
{
    Ui::frmMain &ui = *m_c.ui;
    const auto key = [this](const QKeySequence &sequence, std::function<void()> action) {
        auto *shortcut = new QShortcut(sequence, &m_form);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, std::move(action));
    };
    key(QKeySequence::New, [this, &ui] { press(ui.cmdNew); });
    key(QKeySequence::Save, [this, &ui] {
        // The verifier's own save where that is the command on show.
        if (ui.cmdSave->isVisible())
            press(ui.cmdSave);
        else
            press(ui.cmdVerified);
    });
    key(QKeySequence::Print, [this, &ui] { press(ui.cmdView); });
    key(QKeySequence(Qt::Key_F5), [this] { guarded([this] { m_form.LoadListing(); }); });
    key(QKeySequence(Qt::Key_Escape), [this, &ui] {
        if (ui.SSTab1->currentIndex() == 1)
            press(ui.cmdCancel);
    });
}

void MainWindowChrome::press(QPushButton *button)
{
    if (!button || !button->isVisible() || !button->isEnabled())
        return;
    if (button->focusPolicy() & Qt::TabFocus) {
        // Taking the focus runs the check of the control being left; a refusal keeps it there.
        button->setFocus(Qt::ShortcutFocusReason);
        if (!button->hasFocus())
            return;
    }
    button->click();
}

void MainWindowChrome::buildStatusBar()
{
    QStatusBar *bar = m_form.statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setSizeGripEnabled(true);
    const auto field = [bar](const char *name, int stretch) {
        auto *label = new QLabel(bar);
        label->setObjectName(QLatin1String(name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        bar->addWidget(label, stretch);
        return label;
    };
    m_employee = field("lblStatusEmployee", 2);
    m_location = field("lblStatusLocation", 2);
    m_database = field("lblStatusDatabase", 3);
    m_refreshed = new QLabel(bar);
    m_refreshed->setObjectName(QStringLiteral("lblStatusRefreshed"));
    bar->addPermanentWidget(m_refreshed);

    showDatabaseAndEmployee();
    showLocation();
    connect(m_c.ui->cboTargetLocation, &QComboBox::currentTextChanged, this,
            &MainWindowChrome::showLocation);
    // The listing was read once while the form loaded, before the bar existed.
    listingRefreshed();
}

void MainWindowChrome::showDatabaseAndEmployee()
{
    QString server;
    if (Session.CurrentUser)
        server = QDir::toNativeSeparators(Session.CurrentUser->ServerName());
    m_database->setText(QStringLiteral("Database: ") + server);
    m_database->setToolTip(server);

    const QString code = Session.CurrentUser ? Employeecode() : QString();
    QString name;
    if (!code.isEmpty()) {
        guarded([&] {
            clsEmployee employee;
            if (employee.Search(code))
                name = employee.CompleteName.trimmed();
        });
    }
    m_employee->setText(QStringLiteral("Employee: ") + code
                        + (name.isEmpty() ? QString() : QStringLiteral(" (") + name + ')'));
}

void MainWindowChrome::showLocation()
{
    m_location->setText(QStringLiteral("Location: ")
                        + m_c.ui->cboTargetLocation->currentText().trimmed());
}

void MainWindowChrome::listingRefreshed()
{
    if (m_refreshed)
        m_refreshed->setText(QStringLiteral("List refreshed ")
                             + refreshClock()().toString(QStringLiteral("hh:mm:ss")));
}

void MainWindowChrome::fitColumns()
{
    // The extra width of a wide screen goes to the names, where long texts are.
    m_c.ui->grdListing->setStretchCol(3);
    m_c.ui->grdDetails->setStretchCol(DetailsCol::Description);
}

void MainWindowChrome::saveWindowState()
{
    const QString code = Session.CurrentUser ? Employeecode() : QString();
    const Ui::frmMain &ui = *m_c.ui;
    saveWindowSetting(code, kGeometry, m_form.saveGeometry());
    saveWindowSetting(code, kListingSortCol, ui.grdListing->SortCol());
    saveWindowSetting(code, kListingSortOrder, static_cast<int>(ui.grdListing->SortOrder()));
    saveWindowSetting(code, kListingWidths, toVariantList(ui.grdListing->userColWidths()));
    saveWindowSetting(code, kLinesWidths, toVariantList(ui.grdDetails->userColWidths()));
}

void MainWindowChrome::restoreWindowState()
{
    const QString code = Session.CurrentUser ? Employeecode() : QString();
    Ui::frmMain &ui = *m_c.ui;
    const QByteArray geometry = readWindowSetting(code, kGeometry).toByteArray();
    if (!geometry.isEmpty())
        m_form.restoreGeometry(geometry);
    ui.grdListing->setUserColWidths(toIntList(readWindowSetting(code, kListingWidths)));
    ui.grdDetails->setUserColWidths(toIntList(readWindowSetting(code, kLinesWidths)));
    const QVariant sortCol = readWindowSetting(code, kListingSortCol);
    if (sortCol.isValid() && sortCol.toInt() >= 0)
        ui.grdListing->sortBy(sortCol.toInt(),
                              readWindowSetting(code, kListingSortOrder).toInt()
                                      == Qt::DescendingOrder
                                  ? Qt::DescendingOrder
                                  : Qt::AscendingOrder);
    m_restored = true;
}

bool MainWindowChrome::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_form) {
        switch (event->type()) {
        case QEvent::Close:
            saveWindowState();
            break;
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            // Deferred: the window's state is settled once the event is through.
            QTimer::singleShot(0, this, &MainWindowChrome::pauseOrResumeBlink);
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void MainWindowChrome::pauseOrResumeBlink()
{
    QTimer &blink = *m_c.tmrBlinkAcknowledge;
    const bool seen = m_form.isVisible() && !m_form.isMinimized();
    const bool notice = m_c.ui->cmdAcknowledge->isVisibleTo(&m_form);
    if (seen && notice) {
        if (!blink.isActive())
            blink.start();
    } else {
        blink.stop();
    }
}

#pragma once

#include "platform/db/EmbeddedConnection.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Shell.h"
#include "platform/user/CurrentUser.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <memory>

namespace testing_support {

// The demo hospital with DEMO logged in (locations 18, 19, 23 and 30; may verify). Each test
// sets the site and the switches it needs and then opens the main form.
class MainFormTest : public LoggedInDatabaseTest
{
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        logIn(QStringLiteral("DEMO"));
        Session.Shell = &shell;
        LoadHospitalInfo();
    }

    void TearDown() override
    {
        form.reset();
        LoggedInDatabaseTest::TearDown();
    }

    void setSite(const QString &code)
    {
        sql(QStringLiteral("UPDATE INVENTORY..tbHospitalInfo SET ClientName = %1")
                .arg(db::quote(code)));
        LoadHospitalInfo();
    }

    void setSwitch(const QString &key, bool on)
    {
        sql(QStringLiteral("UPDATE INVENTORY..tbinvSwitch SET KeyValue = %1 WHERE idkey = %2")
                .arg(on ? 1 : 0)
                .arg(db::quote(key)));
    }

    frmMain &open()
    {
        form = std::make_unique<frmMain>();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    template<class T>
    T *child(const char *name) const
    {
        T *found = form->findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Shown on its tab (whichever tab is selected) or on the form.
    bool shown(const char *name) const
    {
        const QWidget *w = child<QWidget>(name);
        if (!w)
            return false;
        const QWidget *page = w;
        while (page->parentWidget() && !page->parentWidget()->inherits("QStackedWidget"))
            page = page->parentWidget();
        return page->parentWidget() ? w == page || w->isVisibleTo(page)
                                    : w->isVisibleTo(form.get());
    }

    ui::FlexGrid &listing() const { return *child<ui::FlexGrid>("grdListing"); }
    ui::FlexGrid &lines() const { return *child<ui::FlexGrid>("grdDetails"); }

    // The document numbers of the listing, top to bottom (none when the grid is disabled).
    QStringList listedNumbers() const
    {
        QStringList numbers;
        const ui::FlexGrid &grid = listing();
        if (!grid.isEnabled())
            return numbers;
        for (int row = 1; row < grid.Rows(); ++row)
            numbers << grid.TextMatrix(row, 1);
        return numbers;
    }

    // Makes the listing row of a document current.
    void selectListed(const QString &number)
    {
        ui::FlexGrid &grid = listing();
        for (int row = 1; row < grid.Rows(); ++row) {
            if (grid.TextMatrix(row, 1) == number) {
                grid.setRow(row);
                return;
            }
        }
        ADD_FAILURE() << "not listed: " << number.toStdString();
    }

    QStringList sentLike(const QString &fragment) const
    {
        QStringList found;
        for (const QString &s : statements)
            if (s.contains(fragment, Qt::CaseInsensitive))
                found << s;
        return found;
    }

    ui::Shell shell;
    std::unique_ptr<frmMain> form;
};

} // namespace testing_support

// Every form of the program, walked control by control: no two of its captions share an access
// key, so that Alt+letter always reaches the one command the user sees it on.
#include "request/MainFormTest.h"

#include "acknowledge/frmAcknowledgement.h"
#include "pickers/frmAPPItems.h"
#include "pickers/frmConsolidationType.h"
#include "pickers/frmDateRange.h"
#include "pickers/frmDispenser.h"
#include "pickers/frmItemLookup.h"
#include "pickers/frmKitEntry.h"
#include "pickers/frmPreviousTransactions.h"
#include "pickers/frmRequestType.h"
#include "platform/user/frmLogin.h"
#include "session/frmDefaultLocation.h"
#include "session/frmDeletePassword.h"
#include "session/frmPassword.h"
#include "session/frmReportViewer.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <functional>

using testing_support::MainFormTest;

namespace {

// The access key of a caption ("E&xit" -> X), or nothing.
QString accessKey(const QString &caption)
{
    const QKeySequence key = QKeySequence::mnemonic(caption);
    return key.isEmpty() ? QString() : key.toString();
}

// Every caption of the form that carries an access key, by the key, with where it stands.
QMap<QString, QStringList> accessKeys(QWidget &form)
{
    QMap<QString, QStringList> keys;
    const auto add = [&keys](const QString &caption, const QString &where) {
        const QString key = accessKey(caption);
        if (!key.isEmpty())
            keys[key] << where + QStringLiteral(" \"") + caption + QLatin1Char('"');
    };
    for (QWidget *w : form.findChildren<QWidget *>()) {
        if (w->isWindow())
            continue; // another form
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            add(button->text(), w->objectName());
        else if (auto *group = qobject_cast<QGroupBox *>(w))
            add(group->title(), w->objectName());
        else if (auto *label = qobject_cast<QLabel *>(w); label && label->buddy())
            add(label->text(), w->objectName());
        else if (auto *tabs = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(tabs->tabText(i), w->objectName());
        else if (auto *bar = qobject_cast<QMenuBar *>(w))
            for (QAction *menu : bar->actions())
                add(menu->text(), QStringLiteral("menu"));
    }
    return keys;
}

struct FormCase
{
    const char *name;
    const char *site; // the main form's captions differ by site
    std::function<std::unique_ptr<QWidget>()> make;
};

std::ostream &operator<<(std::ostream &out, const FormCase &c)
{
    return out << c.name;
}

class MnemonicsTest : public MainFormTest, public ::testing::WithParamInterface<FormCase>
{
};

TEST_P(MnemonicsTest, EveryAccessKeyOfTheFormIsItsOwn)
{
    const FormCase &c = GetParam();
    if (*c.site)
        setSite(QString::fromLatin1(c.site));
    std::unique_ptr<QWidget> made = c.make ? c.make() : nullptr;
    QWidget &w = made ? *made : open();
    const QMap<QString, QStringList> keys = accessKeys(w);
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        EXPECT_EQ(it.value().size(), 1) << it.key().toStdString() << ": "
                                        << it.value().join(QStringLiteral(", ")).toStdString();
    EXPECT_FALSE(keys.isEmpty() && !made) << "the main form has access keys";
}

template<class Form>
std::unique_ptr<QWidget> make()
{
    return std::make_unique<Form>();
}

const FormCase kForms[] = {
    {"MainForm", "", nullptr},
    {"MainFormAtZRWB", "ZRWB", nullptr},
    {"MainFormAtDVN", "DVN", nullptr},
    {"MainFormAtQ4VH", "Q4VH", nullptr},
    {"Acknowledgement", "", make<frmAcknowledgement>},
    {"APPItems", "", make<frmAPPItems>},
    {"ConsolidationType", "", make<frmConsolidationType>},
    {"DateRange", "", make<frmDateRange>},
    {"Dispenser", "", make<frmDispenser>},
    {"ItemLookup", "", make<frmItemLookup>},
    {"KitEntry", "", make<frmKitEntry>},
    {"PreviousTransactions", "", make<frmPreviousTransactions>},
    {"RequestType", "", make<frmRequestType>},
    {"DefaultLocation", "", make<frmDefaultLocation>},
    {"DeletePassword", "", make<frmDeletePassword>},
    {"Password", "", make<frmPassword>},
    {"ReportViewer", "", make<frmReportViewer>},
    {"LogIn", "",
     [] {
         static user::CurrentUser loggedOut;
         return std::make_unique<user::frmLogin>(loggedOut);
     }},
};

INSTANTIATE_TEST_SUITE_P(Forms, MnemonicsTest, ::testing::ValuesIn(kForms));

} // namespace

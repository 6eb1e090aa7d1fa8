#include "pickers/frmItemLookup.h"

#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/KeyboardRule.h"
#include "platform/ui/Prompt.h"
#include "session/Inventory.h"
#include "session/Session.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

namespace {

constexpr int kGridWidthPixels = 820;
constexpr int kGridHeightPixels = 320;
constexpr int kColumnTwips[] = {1000, 3000, 2000, 3000, 1000, 2000};

// Search text is entered in upper case, as item names are kept.
class UpperCaseValidator final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

QString searchCondition(const QString &typed)
{
    const QString text = typed.trimmed();
    // A number is an item code and matches only that code, never a name.
    if (format::isNumeric(text))
        return QStringLiteral(" A.ItemID = '") + db::quoteInner(text) + QStringLiteral("' ");
    return QStringLiteral(" A.ItemName Like '") + db::quoteInner(text.toUpper())
        + (text.isEmpty() ? QString() : QStringLiteral("%")) + QStringLiteral("%'");
}

} // namespace

frmItemLookup::frmItemLookup(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmItemLookup"));
    setWindowTitle(QStringLiteral("Product Search"));

    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setValidator(new UpperCaseValidator(txtSearch));
    ui::selectAllOnFocus(txtSearch);
    txtLocation = new QLineEdit(this);
    txtLocation->setObjectName(QStringLiteral("txtLocation"));
    txtLocation->setReadOnly(true);
    txtLocation->setFocusPolicy(Qt::NoFocus);
    cmdSearch = new QPushButton(QStringLiteral("Search"), this);
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
    cmdSearch->setAutoDefault(false);
    picSearch = new QToolButton(this);
    picSearch->setObjectName(QStringLiteral("picSearch"));
    picSearch->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    picSearch->setFocusPolicy(Qt::NoFocus);
    grdLookup = new ui::FlexGrid(this);
    grdLookup->setObjectName(QStringLiteral("grdLookup"));
    grdLookup->setMinimumSize(kGridWidthPixels, kGridHeightPixels);
    cmdOptions[1] = new QPushButton(QStringLiteral("&Select"), this);
    cmdOptions[1]->setObjectName(QStringLiteral("cmdOptions_1"));
    cmdOptions[0] = new QPushButton(QStringLiteral("&Close"), this);
    cmdOptions[0]->setObjectName(QStringLiteral("cmdOptions_0"));
    for (QPushButton *button : cmdOptions)
        button->setAutoDefault(false);

    auto *search = new QGridLayout;
    auto *searchLabel = new QLabel(QStringLiteral("Search"), this);
    searchLabel->setBuddy(txtSearch);
    search->addWidget(searchLabel, 0, 0);
    search->addWidget(txtSearch, 0, 1);
    search->addWidget(picSearch, 0, 2);
    search->addWidget(cmdSearch, 0, 3);
    search->addWidget(new QLabel(QStringLiteral("Location"), this), 1, 0);
    search->addWidget(txtLocation, 1, 1, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOptions[1]);
    buttons->addWidget(cmdOptions[0]);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(grdLookup, 1);
    layout->addLayout(buttons);

    setTabOrder(txtSearch, cmdSearch);
    setTabOrder(cmdSearch, grdLookup);
    setTabOrder(grdLookup, cmdOptions[1]);
    setTabOrder(cmdOptions[1], cmdOptions[0]);

    connect(txtSearch, &QLineEdit::textChanged, this, [this] {
        if (!m_loading)
            Search();
    });
    connect(cmdSearch, &QPushButton::clicked, this, &frmItemLookup::cmdSearch_Click);
    connect(picSearch, &QToolButton::clicked, this, [this] { Search(); });
    connect(cmdOptions[1], &QPushButton::clicked, this, [this] { cmdOptions_Click(1); });
    connect(cmdOptions[0], &QPushButton::clicked, this, [this] { cmdOptions_Click(0); });
    connect(grdLookup, &ui::FlexGrid::dblClick, this, [this] { cmdOptions_Click(1); });
    connect(grdLookup, &ui::FlexGrid::keyPressed, this,
            [this](int key, Qt::KeyboardModifiers, bool *handled) {
                if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                    cmdOptions_Click(1);
                    *handled = true;
                }
            });
    txtSearch->installEventFilter(this);
    grdLookup->installEventFilter(this);
}

void frmItemLookup::load()
{
    Session.LookupResult = QString();
    SingleMatch = false;
    txtLocation->setText(LocationName);
    m_loading = true;
    txtSearch->setText(SearchString);
    m_loading = false;
    // The first search runs for the caller, which reports a database failure itself.
    if (!runSearch(SearchString))
        showNoRows();
}

bool frmItemLookup::Search()
{
    try {
        if (runSearch(txtSearch->text()))
            return true;
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok, ui::Icon::Critical);
    }
    showNoRows();
    return false;
}

bool frmItemLookup::runSearch(const QString &text)
{
    const db::Recordset rs = sqlconnection().query(searchStatement(text));
    if (rs.eof())
        return false;
    if (rs.recordCount() == 1) {
        SingleMatch = true;
        SearchString = rs.text(QStringLiteral("Code"));
    }
    grdLookup->setEnabled(true);
    cmdOptions[1]->setEnabled(true);
    grdLookup->setRedraw(false);
    grdLookup->bind(rs);
    for (int col = 0; col < 6; ++col)
        grdLookup->setColWidth(col, kColumnTwips[col]);
    grdLookup->setRedraw(true);
    return true;
}

void frmItemLookup::showNoRows()
{
    grdLookup->setEnabled(false);
    cmdOptions[1]->setEnabled(false);
    grdLookup->unbind();
}

QString frmItemLookup::searchStatement(const QString &text) const
{
    QString sql;
    if (LocationCode.isEmpty()) {
        sql = QStringLiteral("Select A.ItemID as Code, A.ItemName As [Product Name], ")
            + QStringLiteral("A.ItemDesc As Description, B.SupplierName As Supplier, A.MarkupIn As "
                             "[In-Patient Markup], A.MarkupOut As [Out-Patient Markup],")
            + QStringLiteral("Case when A.ItemStatus = 1 then 'Inactive' Else 'Active' End  As "
                             "Status, A.Packing, A.ListCost,  ")
            + QStringLiteral("C.ItemClassificationName ")
            + QStringLiteral("From INVENTORY..tbInvMaster A ")
            + QStringLiteral(
                  "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID ")
            + QStringLiteral("Left Outer Join INVENTORY..tbInvClassification C ON "
                             "A.ItemClassificationID = C.ItemClassificationID ")
            + QStringLiteral(" Where ( A.ItemStatus = 0 or A.ItemStatus is Null ) and "
                             "IsNull(C.IsFixedAsset,0) <> 1 and ");
    } else {
        // What the supplying location stocks and the requesting one carries as an active item,
        // with the requesting location's stock on hand.
        const QString supplying = db::quoteInner(SupplyingLocationID);
        const QString requesting = db::quoteInner(RequestingLocationID);
        sql = QStringLiteral("Select A.ItemID as Code, A.ItemName As [Product Name], ")
            + QStringLiteral("A.ItemDesc As Description, B.SupplierName As Supplier,e.OnHand, "
                             "D.Markup_In As [In-Patient Markup], D.Markup_Out As [Out-Patient "
                             "Markup],")
            + QStringLiteral("Case when D.ItemStatus = 1 then 'Inactive' Else 'Active' end  As "
                             "Status, A.Packing, A.ListCost,  ")
            + QStringLiteral("C.ItemClassificationName ")
            + QStringLiteral("From INVENTORY..tbInvMaster A ")
            + QStringLiteral("Left Outer Join INVENTORY..tbInvent D ON A.ItemID = D.ItemID ")
            + QStringLiteral(
                  "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID ")
            + QStringLiteral("Left Outer join INVENTORY..tbInvClassification C ON "
                             "A.ItemClassificationID = C.ItemClassificationID ")
            + QStringLiteral("outer apply(select isnull(onhand,0) as onhand from "
                             "inventory..tbinvent where locationid = '")
            + requesting + QStringLiteral("' and itemid = a.itemid) as E ")
            + QStringLiteral("Where D.LocationID = '") + supplying
            + QStringLiteral("' and D.ItemID in (Select itemID from INVENTORY..tbinvent where "
                             "locationid = '")
            + requesting + QStringLiteral("' and itemStatus = 0) and ")
            + QStringLiteral(" ( D.ItemStatus = 0 or D.ItemStatus is Null ) and ( A.ItemStatus = "
                             "0 or A.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 and ");
    }
    return sql + searchCondition(text) + QStringLiteral(" Order by A.ItemName, A.ItemDesc");
}

void frmItemLookup::cmdSearch_Click()
{
    if (Search())
        grdLookup->setFocus();
    else
        txtSearch->setFocus();
}

void frmItemLookup::cmdOptions_Click(int index)
{
    if (index == 1) {
        if (!cmdOptions[1]->isEnabled())
            return;
        Session.LookupResult = grdLookup->TextMatrix(grdLookup->Row(), 0);
        accept();
        return;
    }
    reject();
}

void frmItemLookup::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    txtSearch->setFocus();
}

bool frmItemLookup::eventFilter(QObject *watched, QEvent *event)
{
    // Enter searches from the search box and selects from the grid.
    QPushButton *defaultButton = watched == txtSearch ? cmdSearch : cmdOptions[1];
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == txtSearch || watched == grdLookup)
            defaultButton->setDefault(true);
        break;
    case QEvent::FocusOut:
        if (watched == txtSearch || watched == grdLookup)
            defaultButton->setDefault(false);
        break;
    case QEvent::KeyPress:
        if (watched == txtSearch && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down
            && grdLookup->isEnabled()) {
            grdLookup->setFocus();
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

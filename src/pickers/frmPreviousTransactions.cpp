#include "pickers/frmPreviousTransactions.h"

#include "pickers/TickList.h"
#include "platform/db/Connection.h"
#include "platform/ui/FlexGrid.h"
#include "request/Guarded.h"
#include "session/Inventory.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {

const QString kListLayout = QStringLiteral(
    "   |<MRIS #                |<Transaction Date    |<Source Location                       "
    "      |<Target Location                             ");
const QString kDetailsLayout = QStringLiteral(
    "    |<Code         |<Product Name                                                      "
    "                        |<UOM           |<Supplier                                     "
    "                  |<Classification                                      |<Listcost "
    "|<Req Quantity  |<On Hand   |< Retail |<Category                                 ");

// Columns of grdMRIS: the document number and the flag naming its line table.
constexpr int kDocumentCol = 1;
constexpr int kStatCol = 5;

// Columns of grdDetails.
namespace Col {
enum : int {
    Tick = 0,
    Code = 1,
    ProductName = 2,
    UOM = 3,
    Supplier = 4,
    Classification = 5,
    Listcost = 6,
    Quantity = 7,
    OnHand = 8,
    Retail = 9,
    Category = 10
};
}

// One half of the list: the documents of one line table, flagged with the table.
QString documentsOf(const QString &table, const QString &stat, const QString &supplying,
                    const QString &requesting, const QString &search)
{
    return QStringLiteral("select a.Documentnumber,max(a.transdate) as Transdate, ")
        + QStringLiteral(" max(source.location) as SourceLocation, ")
        + QStringLiteral(" Max(target.location) as TargetLocation ") + QStringLiteral(" ,Stat = '")
        + stat + QStringLiteral("' ") + QStringLiteral(" from inventory..") + table
        + QStringLiteral(" a ")
        + QStringLiteral(" left join inventory..tbinvlocation as source on a.locationid = "
                         "source.locationid  ")
        + QStringLiteral(" left join inventory..tbinvlocation as target on a.targetlocationid = "
                         "target.locationid ")
        + QStringLiteral(" where a.locationid = '") + db::quoteInner(supplying)
        + QStringLiteral("' and ") + QStringLiteral(" a.targetlocationid = '")
        + db::quoteInner(requesting) + QStringLiteral("' ")
        + QStringLiteral(" and a.Documentnumber like '%") + db::quoteInner(search)
        + QStringLiteral("%' ") + QStringLiteral(" group by a.documentnumber ");
}

} // namespace

frmPreviousTransactions::frmPreviousTransactions(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreviousTransactions"));
    setWindowTitle(QStringLiteral("Previous Transactions"));

    auto *searchLabel = new QLabel(QStringLiteral("MRIS #:"), this);
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    searchLabel->setBuddy(txtSearch);
    grdMRIS = new ui::FlexGrid(this);
    grdMRIS->setObjectName(QStringLiteral("grdMRIS"));
    grdMRIS->setFixedRows(1);
    grdMRIS->setFixedCols(1);
    chkAll = new QCheckBox(QStringLiteral("Check All"), this);
    chkAll->setObjectName(QStringLiteral("chkAll"));
    grdDetails = new ui::FlexGrid(this);
    grdDetails->setObjectName(QStringLiteral("grdDetails"));
    grdDetails->setFixedRows(1);
    grdDetails->setFixedCols(1);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton *button : {cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto *search = new QHBoxLayout;
    search->addWidget(searchLabel);
    search->addWidget(txtSearch, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    // "Cancel" ends 1000 twips in from the right edge.
    buttons->addSpacing(ui::twipsToPixels(1000));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(grdMRIS, 2);
    layout->addWidget(chkAll);
    layout->addWidget(grdDetails, 3);
    layout->addLayout(buttons);
    resize(ui::twipsToPixels(15000), ui::twipsToPixels(9000));

    applyListLayout();
    applyDetailsLayout();

    connect(txtSearch, &QLineEdit::textChanged, this,
            [this] { guarded([this] { LoadPreviousList(); }); });
    connect(grdMRIS, &ui::FlexGrid::enterCell, this, [this] {
        if (!m_loadingList)
            guarded([this] { LoadPreviousDetails(); });
    });
    connect(grdDetails, &ui::FlexGrid::dblClick, this, [this] { grdDetails_DblClick(); });
    connect(chkAll, &QCheckBox::clicked, this,
            [this](bool checked) { ticklist::setAll(*grdDetails, checked); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmPreviousTransactions::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        guarded([this] { Form_Load(); });
    QDialog::showEvent(event);
}

void frmPreviousTransactions::Form_Load()
{
    m_loaded = true;
    ClearChosen();
    LoadPreviousList();
}

void frmPreviousTransactions::ClearChosen()
{
    ChosenItems.clear();
}

void frmPreviousTransactions::LoadPreviousList()
{
    QString search = txtSearch->text().trimmed();
    search.remove(QLatin1Char('\''));
    const db::Recordset rs = sqlconnection().query(
        documentsOf(QStringLiteral("tbinvwithdrawrequest"), QStringLiteral("0"),
                    SupplyingLocationID, RequestingLocationID, search)
        + QStringLiteral(" UNION ALL ")
        + documentsOf(QStringLiteral("tbinvwithdrawrequestConsolidation"), QStringLiteral("1"),
                      SupplyingLocationID, RequestingLocationID, search)
        + QStringLiteral(" order by transdate desc"));

    if (rs.recordCount() == 0) {
        grdMRIS->unbind();
        grdMRIS->setRows(2);
        applyListLayout();
        // The items shown belonged to a document no longer listed.
        clearDetails();
        return;
    }
    {
        const QScopedValueRollback<bool> quiet(m_loadingList, true);
        grdMRIS->bind(rs);
        applyListLayout();
        grdMRIS->setRow(1);
    }
    LoadPreviousDetails();
}

void frmPreviousTransactions::LoadPreviousDetails()
{
    chkAll->setChecked(false);
    const int row = grdMRIS->Row();
    const QString document = grdMRIS->TextMatrix(row, kDocumentCol);
    if (document.isEmpty()) {
        clearDetails();
        return;
    }
    const QString table = grdMRIS->TextMatrix(row, kStatCol) == QLatin1String("0")
        ? QStringLiteral("tbinvwithdrawrequest")
        : QStringLiteral("tbinvwithdrawrequestConsolidation");
    const db::Recordset rs = sqlconnection().query(
        QStringLiteral("Select A.ItemID as Code, isnull(A.ItemName,'') +  isnull(A.ItemDesc,'')  "
                       "As [Product Name], ")
        + QStringLiteral("F.UnitofMeasure, ") + QStringLiteral("B.SupplierName As Supplier,")
        + QStringLiteral("C.ItemClassificationName,A.ListCost, ") + QStringLiteral(" G.Quantity, ")
        + QStringLiteral(" d.onhand, ")
        + QStringLiteral(
            "case when isnull(a.forRetail,'1') = 0 then 'N' else 'Y' end  as forRetail ")
        + QStringLiteral(", E.Category  ") + QStringLiteral("From inventory..") + table
        + QStringLiteral(" G ")
        + QStringLiteral("inner join INVENTORY..tbInvMaster A on G.itemid = A.itemid ")
        + QStringLiteral("Left Outer Join INVENTORY..tbInvent D ON A.ItemID = D.ItemID and "
                         "g.locationid = d.locationid ")
        + QStringLiteral("Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = "
                         "B.SupplierID ")
        + QStringLiteral("Left Outer join INVENTORY..tbInvClassification C ON "
                         "A.ItemClassificationID = C.ItemClassificationID ")
        + QStringLiteral("left join inventory..tbinvUnitofMeasure F on a.unitofmeasureid = "
                         "f.unitofmeasureid ")
        + QStringLiteral("left join inventory..tbinvCategory E on a.ItemCategory = E.CategoryID ")
        + QStringLiteral("Where isnull(d.itemstatus,0) = 0 and  isnull(a.itemstatus,0) = 0  and "
                         "IsNull(C.IsFixedAsset,0) <> 1 and ")
        + QStringLiteral("   G.documentnumber = '") + db::quoteInner(document)
        + QStringLiteral("' "));

    if (rs.recordCount() == 0) {
        clearDetails();
        return;
    }
    grdDetails->bind(rs);
    applyDetailsLayout();
    ticklist::markUnticked(*grdDetails);
}

void frmPreviousTransactions::clearDetails()
{
    grdDetails->unbind();
    grdDetails->setRows(2);
    applyDetailsLayout();
}

void frmPreviousTransactions::applyListLayout()
{
    grdMRIS->setFormatString(kListLayout);
    // The flag naming the line table is read back, never shown.
    if (grdMRIS->Cols() <= kStatCol)
        grdMRIS->setCols(kStatCol + 1);
    grdMRIS->setColWidth(kStatCol, 0);
}

void frmPreviousTransactions::applyDetailsLayout()
{
    grdDetails->setFormatString(kDetailsLayout);
}

void frmPreviousTransactions::grdDetails_DblClick()
{
    const int row = grdDetails->Row();
    if (row >= 1)
        ticklist::toggle(*grdDetails, row);
}

void frmPreviousTransactions::cmdOK_Click()
{
    ChosenItems
        = ticklist::tickedItems(*grdDetails,
                                {Col::Code, Col::ProductName, Col::Supplier, Col::Classification,
                                 Col::Listcost, Col::OnHand, Col::Retail, Col::UOM, Col::Quantity});
    accept();
}

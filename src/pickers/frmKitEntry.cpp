#include "pickers/frmKitEntry.h"

#include "pickers/ListPicker.h"

#include "platform/db/Connection.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Prompt.h"
#include "session/Inventory.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kGridColumns = 7;
constexpr int kGridWidthPixels = 760;
constexpr int kGridHeightPixels = 300;
const QString kFormatString
    = QStringLiteral("<Code |>Product Name |>Qty. |<UnitCost |<Packing |For Retail ");

} // namespace

frmKitEntry::frmKitEntry(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmKitEntry"));
    setWindowTitle(QStringLiteral("View Kit of Items"));

    auto *title = new QLabel(QStringLiteral("View Kit of Items"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    title->setFont(bold);

    chkAddAllItems = new QCheckBox(QStringLiteral("Add All Items"), this);
    chkAddAllItems->setObjectName(QStringLiteral("chkAddAllItems"));
    flexMSHDetails = new ui::FlexGrid(this);
    flexMSHDetails->setObjectName(QStringLiteral("flexMSHDetails"));
    flexMSHDetails->setFixedSize(kGridWidthPixels, kGridHeightPixels);
    cmdSelect = new QPushButton(QStringLiteral("&Select"), this);
    cmdSelect->setObjectName(QStringLiteral("cmdSelect"));
    cmdSelect->setAutoDefault(false);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(chkAddAllItems);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSelect);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(flexMSHDetails);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(chkAddAllItems, &QCheckBox::toggled, this,
            [this](bool checked) { AllItems = checked; });
    connect(cmdSelect, &QPushButton::clicked, this, &frmKitEntry::cmdSelect_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(flexMSHDetails, &ui::FlexGrid::dblClick, this, &frmKitEntry::cmdSelect_Click);
    // Up twice on the first row leaves the grid for the control before it.
    pickers::installListPickerKeys({flexMSHDetails, cmdSelect, [this] { cmdSelect_Click(); },
                                    [this] { reject(); }, chkAddAllItems, false});

    applyLayout();
}

void frmKitEntry::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        Form_Load();
    QDialog::showEvent(event);
}

void frmKitEntry::Form_Load()
{
    m_loaded = true;
    {
        const QSignalBlocker block(chkAddAllItems);
        chkAddAllItems->setChecked(AllItems);
    }
    flexMSHDetails->setRedraw(false);
    m_components.close();
    try {
        m_components = sqlconnection().query(QStringLiteral("Inventory..sp_Inv_KitofItems ")
                                             + db::quote(ItemID));
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok);
        m_components = db::Recordset();
    }
    flexMSHDetails->unbind();
    if (m_components.recordCount() == 0) {
        flexMSHDetails->setRows(1);
        applyLayout();
        flexMSHDetails->setEnabled(false);
    } else {
        flexMSHDetails->setEnabled(true);
        flexMSHDetails->bind(m_components);
        // Binding names the columns after the fields; the kit's own headers go over them.
        applyLayout();
        flexMSHDetails->setRow(1);
        flexMSHDetails->setCol(0);
    }
    flexMSHDetails->setRedraw(true);
}

void frmKitEntry::applyLayout()
{
    if (flexMSHDetails->Cols() < kGridColumns)
        flexMSHDetails->setCols(kGridColumns);
    flexMSHDetails->setFixedRows(1);
    flexMSHDetails->setFixedCols(0);
    flexMSHDetails->setFormatString(kFormatString);
    const int seventh = ui::pixelsToTwips(kGridWidthPixels) / 7;
    flexMSHDetails->setColWidth(1, flexMSHDetails->ColWidth(1) * 4);
    for (const int col : {0, 2, 3, 4})
        flexMSHDetails->setColWidth(col, seventh);
    flexMSHDetails->setColWidth(5, 1000);
    flexMSHDetails->setColWidth(6, 1000);
}

void frmKitEntry::cmdSelect_Click()
{
    // A kit without components has nothing to pick: the kit's own code stays.
    if (flexMSHDetails->isEnabled() && m_components.recordCount() > 0) {
        ItemID = flexMSHDetails->TextMatrix(flexMSHDetails->Row(), 0);
        Quantity = flexMSHDetails->TextMatrix(flexMSHDetails->Row(), 2);
    }
    accept();
}

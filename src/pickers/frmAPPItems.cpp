#include "pickers/frmAPPItems.h"

#include "pickers/ListPicker.h"

#include "pickers/TickList.h"
#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/KeyboardRule.h"
#include "request/Guarded.h"
#include "session/Inventory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace {

const QString kDataLayout = QStringLiteral(
    "    |<Code         |<Product Name                                            "
    "                                  |<UOM            |<Supplier                      "
    "                                 |<Classification                                      "
    "|<Listcost |<Qty    |<On Hand   |< Retail  ");
const QString kEmptyLayout = QStringLiteral(
    "    |<Code         |<Product Name                                            "
    "                                  |<UOM      |<Supplier                            "
    "                           |<Classification                                      "
    "|<Listcost |<On Hand   |< Retail  ");

// Columns of the data layout.
namespace Col {
enum : int {
    Tick = 0,
    Code = 1,
    ProductName = 2,
    UOM = 3,
    Supplier = 4,
    Classification = 5,
    Listcost = 6,
    Qty = 7,
    OnHand = 8,
    Retail = 9
};
}

// A category entry holds its identifier in its last hundred characters.
constexpr int kCategoryIdWidth = 100;

const QColor kMatchColor(255, 192, 192);

} // namespace

frmAPPItems::frmAPPItems(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAPPItems"));
    setWindowTitle(QStringLiteral("Annual Plan Items"));

    auto *listType = new QGroupBox(QStringLiteral("List Type:"), this);
    listType->setObjectName(QStringLiteral("fraListType"));
    optList[0] = new QRadioButton(QStringLiteral("Inventory List"), listType);
    optList[0]->setObjectName(QStringLiteral("optList_0"));
    optList[1] = new QRadioButton(QStringLiteral("Consolidation List"), listType);
    optList[1]->setObjectName(QStringLiteral("optList_1"));
    optList[0]->setChecked(true);
    auto *listTypeLayout = new QHBoxLayout(listType);
    listTypeLayout->addWidget(optList[0]);
    listTypeLayout->addWidget(optList[1]);

    cboCategory = new QComboBox(this);
    cboCategory->setObjectName(QStringLiteral("cboCategory"));
    cboCategory->setMinimumContentsLength(30);
    cboCategory->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    chkAllCategory = new QCheckBox(QStringLiteral("All Categories"), this);
    chkAllCategory->setObjectName(QStringLiteral("chkAllCategory"));
    // The whole plan is listed until the user narrows it to a category.
    chkAllCategory->setChecked(true);
    cboCategory->setEnabled(false);
    chkAll = new QCheckBox(QStringLiteral("Select All"), this);
    chkAll->setObjectName(QStringLiteral("chkAll"));
    chkAll->hide();

    auto *searchFrame = new QGroupBox(QStringLiteral("&Search"), this);
    searchFrame->setObjectName(QStringLiteral("fraSearch"));
    txtSearch = new QLineEdit(searchFrame);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    auto *searchLayout = new QHBoxLayout(searchFrame);
    searchLayout->addWidget(txtSearch);

    m_listFrame = new QGroupBox(QStringLiteral("&List"), this);
    m_listFrame->setObjectName(QStringLiteral("fraList"));
    flexMSHList = new ui::FlexGrid(m_listFrame);
    flexMSHList->setObjectName(QStringLiteral("flexMSHList"));
    flexMSHList->setFixedRows(1);
    flexMSHList->setFixedCols(1);
    auto *listLayout = new QVBoxLayout(m_listFrame);
    listLayout->addWidget(flexMSHList);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("&Close"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter belongs to the search box and the grid, never to a default button.
    for (QPushButton *button : {cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto *top = new QHBoxLayout;
    top->addWidget(listType);
    top->addWidget(cboCategory, 1);
    top->addWidget(chkAllCategory);
    top->addWidget(chkAll);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(searchFrame);
    layout->addWidget(m_listFrame, 1);
    layout->addLayout(buttons);
    resize(ui::twipsToPixels(15000), ui::twipsToPixels(8000));

    applyEmptyLayout();

    for (QRadioButton *option : optList)
        connect(option, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked && m_loaded)
                guarded([this] { LoadList(); });
        });
    connect(chkAllCategory, &QCheckBox::toggled, this,
            [this](bool checked) { cboCategory->setEnabled(!checked); });
    connect(chkAll, &QCheckBox::clicked, this,
            [this](bool checked) { ticklist::setAll(*flexMSHList, checked); });
    connect(txtSearch, &QLineEdit::textChanged, this, [this] { txtSearch_Change(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(flexMSHList, &ui::FlexGrid::cellClicked, this,
            [this] { ticklist::toggle(*flexMSHList, flexMSHList->Row()); });
    pickers::installListPickerKeys(
        {flexMSHList, cmdOK, [this] { cmdOK_Click(); }, [this] { reject(); }, txtSearch, true});

    ui::selectAllOnFocus(txtSearch);
    txtSearch->installEventFilter(this);
    cboCategory->installEventFilter(this);
    flexMSHList->viewport()->installEventFilter(this);
}

void frmAPPItems::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        guarded([this] { Form_Load(); });
    QDialog::showEvent(event);
}

void frmAPPItems::Form_Load()
{
    m_loaded = true;
    ChosenItems.clear();
    chkAll->setVisible(ShowSelectAll);
    LoadCategories();
    LoadList();
}

void frmAPPItems::LoadCategories()
{
    cboCategory->clear();
    cboCategory->addItem(QStringLiteral("None"));
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("Select  Category + space(100) + CategoryID [Category] FROM "
                       "inventory..tbInvCategory Where Active = 1  and "
                       "rtrim(isnull(categoryid,'')) <> '' Order by CategoryID"));
    for (; !rs.eof(); rs.moveNext())
        cboCategory->addItem(rs.text("Category"));
    cboCategory->setCurrentIndex(0);
}

QString frmAPPItems::SelectedCategory() const
{
    if (chkAllCategory->isChecked())
        return QStringLiteral("%");
    return cboCategory->currentText().right(kCategoryIdWidth).trimmed();
}

void frmAPPItems::LoadList()
{
    flexMSHList->setRedraw(false);
    const auto redraw = qScopeGuard([this] { flexMSHList->setRedraw(true); });
    m_markedRow = 0;

    const QString listType
        = optList[1]->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
    const db::Recordset rs = sqlconnection().query(
        QStringLiteral("inventory..sp_InvReq_LoadRequestList '")
        + db::quoteInner(SupplyingLocationID) + QStringLiteral("', '")
        + db::quoteInner(RequestingLocationID) + QStringLiteral("', ") + QStringLiteral(" '%', '")
        + db::quoteInner(SelectedCategory()) + QStringLiteral("', ") + QStringLiteral(" '")
        + listType + QStringLiteral("' "));

    if (rs.recordCount() == 0) {
        applyEmptyLayout();
        flexMSHList->setEnabled(false);
        cmdOK->setEnabled(false);
        return;
    }
    flexMSHList->setEnabled(true);
    cmdOK->setEnabled(true);
    flexMSHList->bind(rs);
    applyDataLayout();
    ticklist::markUnticked(*flexMSHList);
    pickers::highlightCurrentCell(*flexMSHList);
}

void frmAPPItems::applyEmptyLayout()
{
    flexMSHList->Clear();
    flexMSHList->setRows(2);
    flexMSHList->setCols(9);
    flexMSHList->setFixedRows(1);
    flexMSHList->setFixedCols(1);
    flexMSHList->setFormatString(kEmptyLayout);
}

void frmAPPItems::applyDataLayout()
{
    flexMSHList->setFixedRows(1);
    flexMSHList->setFixedCols(1);
    flexMSHList->setFormatString(kDataLayout);
}

void frmAPPItems::txtSearch_Change()
{
    ui::FlexGrid &grid = *flexMSHList;
    const QString text = txtSearch->text().trimmed();
    const bool numeric = format::isNumeric(text);
    // A text occurs in a cell only when the cell holds something.
    const auto occursIn = [&text](const QString &cell) {
        return !cell.isEmpty() && cell.contains(text, Qt::CaseInsensitive);
    };
    for (int row = 1; row < grid.Rows(); ++row) {
        const QString code = grid.TextMatrix(row, Col::Code);
        const bool match = numeric
            ? code == text
            : occursIn(code) || occursIn(grid.TextMatrix(row, Col::ProductName));
        if (!match)
            continue;
        if (m_markedRow > 0 && m_markedRow < grid.Rows()) {
            const QColor window = grid.palette().color(QPalette::Base);
            for (int col = grid.FixedCols(); col < grid.Cols(); ++col)
                grid.setCellBackColor(m_markedRow, col, window);
        }
        grid.setTopRow(row);
        grid.setRow(row);
        for (int col = 1; col < grid.Cols(); ++col)
            grid.setCellBackColor(row, col, kMatchColor);
        m_markedRow = row;
        return;
    }
}

void frmAPPItems::cmdOK_Click()
{
    ChosenItems
        = ticklist::tickedItems(*flexMSHList,
                                {Col::Code, Col::ProductName, Col::Supplier, Col::Classification,
                                 Col::Listcost, Col::OnHand, Col::Retail, Col::UOM, Col::Qty});
    accept();
}

bool frmAPPItems::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cboCategory && event->type() == QEvent::FocusOut) {
        // Opening the combo's own list does not leave the combo.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason && m_loaded)
            guarded([this] { LoadList(); });
        return false;
    }
    if (watched == txtSearch && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down) {
            if (flexMSHList->isEnabled())
                flexMSHList->setFocus();
            return true;
        }
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && text != text.toUpper()) {
            txtSearch->insert(text.toUpper());
            return true;
        }
        return false;
    }
    if (watched == flexMSHList->viewport() && event->type() == QEvent::MouseButtonPress) {
        // The tick column is a fixed column, which the grid keeps from becoming current: a
        // click on it ticks its row here.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint at = mouse->position().toPoint();
        if (mouse->button() == Qt::LeftButton && flexMSHList->columnAt(at.x()) == Col::Tick
            && flexMSHList->rowAt(at.y()) >= 0) {
            const int row
                = flexMSHList->TopRow() + flexMSHList->rowAt(at.y()) - flexMSHList->rowAt(0);
            flexMSHList->setRow(row);
            ticklist::toggle(*flexMSHList, row);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

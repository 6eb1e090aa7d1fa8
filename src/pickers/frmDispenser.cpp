#include "pickers/frmDispenser.h"

#include "pickers/ListPicker.h"

#include "platform/db/Connection.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/KeyboardRule.h"
#include "platform/ui/Prompt.h"
#include "session/Inventory.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace {

constexpr int kGridWidthPixels = 520;
constexpr int kGridHeightPixels = 300;

// Search text is entered in upper case, as the names are kept.
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

} // namespace

frmDispenser::frmDispenser(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDispenser"));
    setWindowTitle(QStringLiteral("List of Users"));

    auto *searchFrame = new QGroupBox(QStringLiteral("&Search"), this);
    txtSearch = new QLineEdit(searchFrame);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setValidator(new UpperCaseValidator(txtSearch));
    ui::selectAllOnFocus(txtSearch);
    (new QVBoxLayout(searchFrame))->addWidget(txtSearch);

    auto *listFrame = new QGroupBox(QStringLiteral("&List"), this);
    flexMSHList = new ui::FlexGrid(listFrame);
    flexMSHList->setObjectName(QStringLiteral("flexMSHList"));
    flexMSHList->setFixedSize(kGridWidthPixels, kGridHeightPixels);
    (new QVBoxLayout(listFrame))->addWidget(flexMSHList);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    cmdCancel = new QPushButton(QStringLiteral("&Close"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(searchFrame);
    layout->addWidget(listFrame);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(txtSearch, &QLineEdit::textChanged, this, [this] {
        if (m_loaded)
            FillList();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmDispenser::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDispenser::cmdCancel_Click);
    connect(flexMSHList, &ui::FlexGrid::dblClick, this, [this] {
        if (cmdOK->isEnabled())
            cmdOK_Click();
    });
    pickers::installListPickerKeys({flexMSHList, cmdOK, [this] { cmdOK_Click(); },
                                    [this] { cmdCancel_Click(); }, txtSearch, true});
    txtSearch->installEventFilter(this);
}

void frmDispenser::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        Form_Load();
    QDialog::showEvent(event);
}

void frmDispenser::Form_Load()
{
    {
        const QSignalBlocker block(txtSearch);
        if (!SearchString.isEmpty())
            txtSearch->setText(SearchString.toUpper());
    }
    m_loaded = true;
    FillList();
}

void frmDispenser::FillList()
{
    flexMSHList->setRedraw(false);
    m_list.close();
    try {
        m_list = sqlconnection().query(QStringLiteral("inventory..sp_Inv_ListEmployees '")
                                       + db::quoteInner(txtSearch->text()) + QLatin1Char('\''));
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok, ui::Icon::Critical);
        m_list = db::Recordset();
    }
    flexMSHList->unbind();
    flexMSHList->Clear();
    flexMSHList->setRows(2);
    flexMSHList->setCols(2);
    flexMSHList->setFixedRows(1);
    flexMSHList->setFixedCols(0);
    flexMSHList->setFormatString(QStringLiteral("<Code |<Name"));
    const int codeWidth = ui::pixelsToTwips(flexMSHList->width()) / 5;
    flexMSHList->setColWidth(0, codeWidth);
    flexMSHList->setColWidth(1, codeWidth * 4);
    if (m_list.recordCount() == 0) {
        flexMSHList->setEnabled(false);
        cmdOK->setEnabled(false);
    } else {
        flexMSHList->setEnabled(true);
        cmdOK->setEnabled(true);
        flexMSHList->bind(m_list);
        flexMSHList->setFormatString(QStringLiteral("<Code |<Name"));
        pickers::highlightCurrentCell(*flexMSHList);
    }
    flexMSHList->setRedraw(true);
}

void frmDispenser::cmdOK_Click()
{
    m_code = flexMSHList->TextMatrix(flexMSHList->Row(), 0);
    accept();
}

void frmDispenser::cmdCancel_Click()
{
    m_code.clear();
    reject();
}

void frmDispenser::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmDispenser::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (cmdOK->isEnabled())
        cmdOK_Click();
    QDialog::mouseDoubleClickEvent(event);
}

bool frmDispenser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtSearch && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down && flexMSHList->isEnabled()) {
        flexMSHList->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

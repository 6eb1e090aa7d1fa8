#include "request/Officers.h"

#include "objects/clsEmployee.h"
#include "pickers/frmDispenser.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "request/FormHelpers.h"
#include "request/frmMain.h"
#include "ui_frmMain.h"

#include "platform/ui/KeyboardRule.h"
#include "request/Guarded.h"

#include <QKeyEvent>
#include <functional>

namespace {

// Enter runs the box's look-up; a typed quote is dropped and letters go in upper case, as
// everywhere on the form.
class IdBoxKeys final : public QObject
{
public:
    IdBoxKeys(QLineEdit *box, std::function<bool(int)> keyPress)
        : QObject(box)
        , m_box(box)
        , m_keyPress(std::move(keyPress))
    {
        ui::setKeyboardRuleExempt(box);
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_box || event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            guarded([this] { m_keyPress(13); });
            return true;
        }
        const QString text = key->text();
        if (text == QLatin1String("'"))
            return true;
        if (!text.isEmpty() && text != text.toUpper() && text.at(0).isPrint()) {
            m_box->insert(text.toUpper());
            return true;
        }
        return false;
    }

private:
    QLineEdit *m_box;
    std::function<bool(int)> m_keyPress;
};

} // namespace

Officers::Officers(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
{ }

Officers::~Officers() = default;

void Officers::installKeyHandlers()
{
    new IdBoxKeys(m_c.ui->txtOfficer, [this](int key) { return txtOfficer_KeyPress(key); });
    new IdBoxKeys(m_c.ui->txtReqID, [this](int key) { return txtReqID_KeyPress(key); });
}

void Officers::cmdOfficer_Click()
{
    LookUp(m_officer, *m_c.ui->txtOfficer, *m_c.ui->lblOfficer);
}

void Officers::cmdReq_Click()
{
    LookUp(m_requester, *m_c.ui->txtReqID, *m_c.ui->lblReqName);
}

bool Officers::txtOfficer_KeyPress(int keyAscii)
{
    if (keyAscii != 13)
        return false;
    cmdOfficer_Click();
    return true;
}

bool Officers::txtReqID_KeyPress(int keyAscii)
{
    if (keyAscii != 13)
        return false;
    cmdReq_Click();
    return true;
}

void Officers::LookUp(std::unique_ptr<clsEmployee> &employee, QLineEdit &idBox, QLabel &nameLabel)
{
    if (!employee)
        employee = std::make_unique<clsEmployee>();
    if (employee->Search(trimBlanks(idBox.text()))) {
        idBox.setText(employee->EmployeeID);
        nameLabel.setText(employee->CompleteName);
        return;
    }

    // No single match: the user picks from the list, starting from the text as typed.
    QString code;
    {
        frmDispenser list(&m_form);
        list.SearchString = idBox.text();
        ui::showModal(list);
        code = list.Code();
    }
    if (code.isEmpty()) {
        idBox.clear();
        nameLabel.clear();
        return;
    }
    if (employee->Search(code)) {
        idBox.setText(employee->EmployeeID);
        nameLabel.setText(employee->CompleteName);
        m_c.ui->txtRemarks->setFocus();
        return;
    }
    ui::msgBox(QStringLiteral("Employee not found!"), ui::Buttons::Ok, ui::Icon::Information,
               QStringLiteral("MESSAGE"));
}

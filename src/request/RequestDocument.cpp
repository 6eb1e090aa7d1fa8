#include "request/RequestDocument.h"

#include <algorithm>
#include <tuple>

RequestDocument::RequestDocument(QObject *parent)
    : QObject(parent)
{ }

void RequestDocument::startNew(bool isRequest, bool isConsolidation)
{
    Loaded fresh;
    fresh.number = QStringLiteral("NEW");
    fresh.isRequest = isRequest;
    load(std::move(fresh));
    m_isConsolidation = isConsolidation;
    m_roNumber = QStringLiteral("NEW");
}

void RequestDocument::load(Loaded loaded)
{
    m_number = loaded.number;
    m_roNumber = QStringLiteral("NEW");
    m_isRequest = loaded.isRequest;
    m_isConsolidation = loaded.stored.table.compare(
                            QLatin1String("tbInvWithdrawRequestConsolidation"), Qt::CaseInsensitive)
        == 0;
    m_transDate = loaded.transDate;
    m_supplying = loaded.supplying;
    m_requesting = loaded.requesting;
    m_remarks = loaded.remarks;
    m_department = loaded.department;
    m_section = loaded.section;
    m_officer = {loaded.officerId, loaded.officerName};
    m_requester = {loaded.requesterId, loaded.requesterName};
    m_lines = std::move(loaded.lines);
    m_requestOrders = std::move(loaded.requestOrders);
    m_stored = std::move(loaded.stored);
    m_changed = false;
    emit reset();
    emit totalChanged();
}

void RequestDocument::setNumber(const QString &number)
{
    m_number = number;
}

RequestDocument::Kind RequestDocument::kind() const
{
    if (m_isConsolidation)
        return m_isRequest ? Kind::Consolidation : Kind::ConsolidationReturn;
    return m_isRequest ? Kind::Request : Kind::Return;
}

QString RequestDocument::lineTable() const
{
    return m_isConsolidation ? QStringLiteral("tbInvWithdrawRequestConsolidation")
                             : QStringLiteral("tbInvWithdrawRequest");
}

void RequestDocument::setSupplying(const DocumentLocation &location)
{
    if (location == m_supplying)
        return;
    m_supplying = location;
    touch();
    emit headerChanged();
}

void RequestDocument::setRequesting(const DocumentLocation &location)
{
    if (location == m_requesting)
        return;
    m_requesting = location;
    touch();
    emit headerChanged();
}

QString RequestDocument::locationId() const
{
    return m_isRequest ? m_supplying.id : m_requesting.id;
}

QString RequestDocument::targetLocationId() const
{
    return m_isRequest ? m_requesting.id : m_supplying.id;
}

void RequestDocument::setRemarks(const QString &remarks)
{
    if (remarks == m_remarks)
        return;
    m_remarks = remarks;
    touch();
    emit headerChanged();
}

void RequestDocument::setDepartment(const DocumentLocation &department)
{
    if (department == m_department)
        return;
    m_department = department;
    touch();
    emit headerChanged();
}

void RequestDocument::setSection(const DocumentLocation &section)
{
    if (section == m_section)
        return;
    m_section = section;
    touch();
    emit headerChanged();
}

void RequestDocument::setOfficer(const QString &id, const QString &name)
{
    if (id != m_officer.id)
        touch();
    m_officer = {id, name};
    emit headerChanged();
}

void RequestDocument::setRequester(const QString &id, const QString &name)
{
    if (id != m_requester.id)
        touch();
    m_requester = {id, name};
    emit headerChanged();
}

int RequestDocument::setLine(int index, const RequestLine &line)
{
    touch();
    if (index < 0 || index >= lineCount()) {
        m_lines.push_back(line);
        const int added = lineCount() - 1;
        emit lineAdded(added);
        emit totalChanged();
        return added;
    }
    m_lines[static_cast<size_t>(index)] = line;
    emit lineChanged(index);
    emit totalChanged();
    return index;
}

void RequestDocument::removeLine(int index)
{
    if (index < 0 || index >= lineCount())
        return;
    m_lines.erase(m_lines.begin() + index);
    touch();
    emit lineRemoved(index);
    emit totalChanged();
}

void RequestDocument::setQuantity(int index, double quantity)
{
    if (index < 0 || index >= lineCount())
        return;
    m_lines[static_cast<size_t>(index)].quantity = quantity;
    touch();
    emit lineChanged(index);
    emit totalChanged();
}

int RequestDocument::findItem(const QString &itemId) const
{
    for (int i = 0; i < lineCount(); ++i) {
        if (m_lines[static_cast<size_t>(i)].itemId == itemId)
            return i;
    }
    return -1;
}

format::Currency RequestDocument::total() const
{
    format::Currency sum;
    for (const RequestLine &line : m_lines)
        sum += line.totalCost();
    return sum;
}

void RequestDocument::setRequestOrders(std::vector<RequestOrderLine> lines)
{
    if (lines == m_requestOrders)
        return;
    m_requestOrders = std::move(lines);
    touch();
}

bool RequestDocument::isEditable() const
{
    const QString status = m_stored.status.trimmed().toUpper();
    return status.isEmpty() && m_stored.verifiedBy.trimmed().isEmpty();
}

QString RequestDocument::readOnlyReason(const QString &verifierName) const
{
    const QString status = m_stored.status.trimmed().toUpper();
    if (status == QLatin1String("P"))
        return QStringLiteral("Being processed by the supplying location: read only");
    if (status == QLatin1String("A"))
        return QStringLiteral("Approved by the supplying location: read only");
    if (status == QLatin1String("C"))
        return QStringLiteral("Cancelled: read only");
    if (status == QLatin1String("D"))
        return QStringLiteral("Deleted: read only");
    if (!status.isEmpty())
        return QStringLiteral("Status %1: read only").arg(status);
    if (!m_stored.verifiedBy.trimmed().isEmpty()) {
        const QString who = verifierName.isEmpty() ? m_stored.verifiedBy : verifierName;
        QString text = QStringLiteral("Verified by ") + who;
        if (m_stored.verifiedDate.isValid())
            text += QStringLiteral(" on ")
                + m_stored.verifiedDate.toString(QStringLiteral("MM/dd/yyyy hh:mm AP"));
        return text + QStringLiteral(": read only");
    }
    return QString();
}

bool RequestDocument::hasUnsavedChanges() const
{
    if (isNew())
        return !m_lines.empty() || !m_remarks.trimmed().isEmpty() || !m_requestOrders.empty();
    return m_changed;
}

void RequestDocument::markSaved(const StoredState &stored)
{
    m_stored = stored;
    m_changed = false;
}

bool RequestDocument::sameStoredDocument(const StoredState &opened, const StoredState &now)
{
    // Lines compare as a set: the order rows come back in is not part of the document.
    const auto byContent = [](const StoredLine &x, const StoredLine &y) {
        return std::tie(x.itemId, x.quantity, x.unitCost, x.retail, x.ads, x.lotNumber)
            < std::tie(y.itemId, y.quantity, y.unitCost, y.retail, y.ads, y.lotNumber);
    };
    auto a = opened.lines;
    auto b = now.lines;
    std::sort(a.begin(), a.end(), byContent);
    std::sort(b.begin(), b.end(), byContent);
    return opened.table.compare(now.table, Qt::CaseInsensitive) == 0 && opened.number == now.number
        && opened.status.trimmed() == now.status.trimmed()
        && opened.verifiedBy.trimmed() == now.verifiedBy.trimmed() && a == b;
}
